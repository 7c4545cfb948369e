// Every writer, exporting over the files of an earlier run, is interrupted at
// several points: a stop at 10, 50 and 99 % of the work, a stop once the
// files are complete, a stop after the first file is in place, a full disk, a
// write error on one file and an unknown failure. Afterwards every earlier
// file has its bytes, nothing else is there, and the log says what happened.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

#include "dxf/DXFWriter.h"
#include "export/OverwriteDecision.h"
#include "mif/MIFWriter.h"
#include "platform/Exceptions.h"
#include "platform/FileSystem.h"
#include "platform/OutputTransaction.h"
#include "shp/SHPWriter.h"
#include "support/TlxText.h"
#include "universal/UEWriter.h"

using namespace tvk;
using namespace tvk::test;

namespace {

// Points on no straight line, three layers, features of every kind.
std::string Survey() {
    std::string points, features, values;
    for (int i = 1; i <= 120; ++i)
        points += PointLine(i, "P" + std::to_string(i), std::to_string(1000 + (i * 37) % 101) + ".5",
                            std::to_string(2000 + (i * i) % 89) + ".25", "100.5");
    for (int f = 0; f < 100; ++f) {
        const int number = 1000 + f, p = 1 + f % 110;
        switch (f % 6) {
        case 0: features += FeatureLine(number, "POINT", 30, {p}); break;
        case 1: features += FeatureLine(number, "LINE", 10, {p, p + 1}); break;
        case 2:
            features += FeatureLine(number, "POLYGON", 20, {4}) + VertexLine(p) + VertexLine(p + 1) +
                        VertexLine(p + 2) + VertexLine(p);
            break;
        case 3: features += FeatureLine(number, "ARC", 10, {p, p + 1, p + 2}); break;
        case 4: features += FeatureLine(number, "CIRCLE", 20, {p, p + 1, p + 2}); break;
        default:
            features +=
                FeatureLine(number, "POLYLINE", 10, {3}) + VertexLine(p) + VertexLine(p + 4) + VertexLine(p + 8);
        }
        values += DataLine(number, 1, "v" + std::to_string(f));
    }
    return Section("POINTS", points) +
           Section("LAYERS", LayerLine(1, 0, "Roads") + LayerLine(2, 0, "Buildings") + LayerLine(3, 0, "Trees")) +
           Section("FEATURE_CODES",
                   CodeLine(10, 1, "RD", "Road") + CodeLine(20, 2, "BLD", "Building") + CodeLine(30, 3, "TR", "Tree")) +
           Section("FEATURE_PROPERTIES", PropertyLine(10, 1, "Name", "Char(20)") +
                                             PropertyLine(20, 1, "Name", "Char(20)") +
                                             PropertyLine(30, 1, "Name", "Char(20)")) +
           Section("FEATURES", features) + Section("FEATURE_DATA", values);
}

// Memory files whose outputs are watched: every temporary's closing and
// every rename can be seen, and writes to the n-th temporary can fail.
class WatchedFiles : public CMemoryFileSystem {
public:
    std::unique_ptr<IFileStream> Open(const std::string& path, Mode mode) override {
        std::unique_ptr<IFileStream> stream = CMemoryFileSystem::Open(path, mode);
        if (mode != Mode::CreateNew) return stream;
        return std::make_unique<Watched>(std::move(stream), *this, ++created == failingFile);
    }
    // The commit's steps: renames, and exchanges with the files replaced.
    void Rename(const std::string& from, const std::string& to) override {
        if (onCommitStep) onCommitStep();
        CMemoryFileSystem::Rename(from, to);
    }
    bool Exchange(const std::string& a, const std::string& b) override {
        if (onCommitStep) onCommitStep();
        return CMemoryFileSystem::Exchange(a, b);
    }
    int created = 0, closed = 0, failingFile = 0;
    std::function<void()> onClose, onCommitStep;

private:
    class Watched : public IFileStream {
    public:
        Watched(std::unique_ptr<IFileStream> inner, WatchedFiles& fs, bool fails)
            : inner_(std::move(inner)), fs_(fs), fails_(fails) {}
        size_t Read(void* buffer, size_t size) override { return inner_->Read(buffer, size); }
        void Write(const void* data, size_t size) override {
            if (fails_) throw CFileException(CFileException::hardIO, EIO, "the failing file");
            inner_->Write(data, size);
        }
        void Seek(int64_t position) override { inner_->Seek(position); }
        int64_t Length() override { return inner_->Length(); }
        void Close() override {
            ++fs_.closed;
            if (fs_.onClose) fs_.onClose();
            inner_->Close();
        }

    private:
        std::unique_ptr<IFileStream> inner_;
        WatchedFiles& fs_;
        bool fails_;
    };
};

template <class Writer>
class Logged : public Writer {
public:
    void WriteToLog(const char* text) override { log += text; }
    std::string log;
};

// One format's writer, read from in.tlx and exporting into out/.
class Exporter {
public:
    virtual ~Exporter() = default;
    virtual CWriter& Writer() = 0;
    virtual const std::string& Log() = 0;
    virtual void Export() = 0;
};

template <class W>
class FormatExporter : public Exporter {
public:
    explicit FormatExporter(std::string target) : target_(std::move(target)) {
        writer_.Init();
        writer_.Read("in.tlx", nullptr);
    }
    CWriter& Writer() override { return writer_; }
    const std::string& Log() override { return writer_.log; }
    void Export() override {
        writer_.Export(target_.c_str(), "logs/export.log");
        writer_.FreeExportData();
    }

protected:
    std::string target_;
    Logged<W> writer_;
};

class TextExporter : public FormatExporter<CUEWriter> {
public:
    TextExporter() : FormatExporter<CUEWriter>("out/points.txt") {}
    void Export() override {
        sink_.Open(target_);
        writer_.SetTemplate(&template_);
        writer_.SetOutput(&sink_);
        try {
            FormatExporter<CUEWriter>::Export();
        } catch (...) {
            writer_.SetOutput(nullptr);
            throw;
        }
        writer_.SetOutput(nullptr);
    }

private:
    CUETemplate template_ = CUETemplate::Internal();
    CUEFileOutput sink_;
};

enum class Format { Dxf, Mif, Shp, Text };
const char* Name(Format f) { return std::array{"dxf", "mif", "shp", "text"}[static_cast<size_t>(f)]; }

std::unique_ptr<Exporter> MakeExporter(Format f) {
    switch (f) {
    case Format::Dxf: return std::make_unique<FormatExporter<CDXFWriter>>("out/survey.dxf");
    case Format::Mif: return std::make_unique<FormatExporter<CMIFWriter>>("out");
    case Format::Shp: return std::make_unique<FormatExporter<CSHPWriter>>("out");
    default: return std::make_unique<TextExporter>();
    }
}

struct Interruption {
    const char* name;
    const char* logged;  // the failure text in the export log
    bool singleFileToo;  // meaningful for the one-file writers
};

const Interruption kStopAt10{"stop at 10 %", "User try to close window during exporting", true};
const Interruption kStopAt50{"stop at 50 %", "User try to close window during exporting", true};
const Interruption kStopAt99{"stop at 99 %", "User try to close window during exporting", true};
const Interruption kStopAsFilesComplete{"stop once the files are complete", "User try to close window during exporting",
                                        true};
const Interruption kStopAfterFirstInPlace{"stop after the first file is in place",
                                          "User try to close window during exporting", false};
const Interruption kFullDisk{"full disk", "CFileException during exporting", true};
const Interruption kWriteError{"write error on the second file", "CFileException during exporting", false};
const Interruption kWriteErrorFirst{"write error on the first file", "CFileException during exporting", true};
const Interruption kUnknown{"unknown failure at 50 %", "Unknown exception during exporting", true};

class AllOrNothing : public ::testing::TestWithParam<Format> {
protected:
    void SetUp() override {
        SetFileSystem(&fs);
        SetOverwriteQuestion([](const ExistingFileStatus&, const std::string&) { return int(kAnswerYesToAll); });
        fs.Put("in.tlx", Survey());
        fs.Put("out/unrelated.txt", "not ours");
    }
    void TearDown() override {
        SetOverwriteQuestion(nullptr);
        SetFileSystem(nullptr);
    }
    std::map<std::string, std::string> Outputs() const {
        std::map<std::string, std::string> out;
        for (auto& [path, bytes] : fs.Files())
            if (path.starts_with("out/") && path != "out/unrelated.txt") out[path] = bytes;
        return out;
    }
    // An earlier export whose files are then made recognisable.
    void EarlierExport() {
        MakeExporter(GetParam())->Export();
        firstRun = Outputs();
        const bool sets = GetParam() == Format::Mif || GetParam() == Format::Shp;
        EXPECT_EQ(firstRun.size() > 1, sets) << firstRun.size();
        for (const auto& entry : firstRun) fs.Put(entry.first, "earlier " + entry.first);
        before = fs.Files();
    }
    // Calls `action` once the share `percent` of the export's work is done.
    void At(Exporter& e, int percent, std::function<void()> action) {
        auto range = std::make_shared<long long>(1);
        auto done = std::make_shared<long long>(0);
        e.Writer().OnProgressBegin = [range](int low, int high) { *range = std::max(1, high - low); };
        e.Writer().OnProgressStep = [=](int delta) {
            const bool before = *done * 100 < percent * *range;
            *done += delta;
            if (before && *done * 100 >= percent * *range) action();
        };
    }
    // Runs the interrupted export; checks that it failed as `expected` would
    // and left everything as it was.
    template <class Expected>
    void Interrupted(Exporter& e, const Interruption& what) {
        SCOPED_TRACE(std::string(Name(GetParam())) + ": " + what.name);
        EXPECT_THROW(e.Export(), Expected);
        EXPECT_EQ(fs.Files(), before);
        EXPECT_NE(e.Log().find(what.logged), std::string::npos) << e.Log();
        EXPECT_NE(e.Log().find("Force current operation to abort"), std::string::npos);
        fs.onClose = fs.onCommitStep = nullptr;
        fs.failingFile = 0;
        fs.SetDiskLimit(-1);
    }

    WatchedFiles fs;
    std::map<std::string, std::string> firstRun;
    std::map<std::string, std::string> before;
};

TEST_P(AllOrNothing, AStopAtAnyMomentOfAnExportOverAnEarlierOneChangesNothing) {
    EarlierExport();
    const bool oneFile = firstRun.size() == 1;
    for (const Interruption* stop : {&kStopAt10, &kStopAt50, &kStopAt99}) {
        auto e = MakeExporter(GetParam());
        const int percent = stop == &kStopAt10 ? 10 : stop == &kStopAt50 ? 50 : 99;
        At(*e, percent, [&w = e->Writer()] { w.TryToStop(); });
        Interrupted<CThreadStopSignal>(*e, *stop);
    }
    {
        auto e = MakeExporter(GetParam());
        fs.closed = fs.created = 0;
        // The last file to close is closed after all writing, just before the commit.
        fs.onClose = [&] {
            if (fs.closed == fs.created) e->Writer().TryToStop();
        };
        Interrupted<CThreadStopSignal>(*e, kStopAsFilesComplete);
    }
    if (!oneFile) {
        auto e = MakeExporter(GetParam());
        fs.onCommitStep = [&w = e->Writer()] { w.TryToStop(); };
        Interrupted<CThreadStopSignal>(*e, kStopAfterFirstInPlace);
    }
}

TEST_P(AllOrNothing, AFullDiskOrAWriteErrorChangesNothing) {
    EarlierExport();
    const bool oneFile = firstRun.size() == 1;
    {
        auto e = MakeExporter(GetParam());
        int64_t bytes = 0;
        for (const auto& entry : firstRun) bytes += static_cast<int64_t>(entry.second.size());
        fs.SetDiskLimit(fs.Written() + bytes / 2);
        Interrupted<CFileException>(*e, kFullDisk);
    }
    for (const Interruption* error : {&kWriteErrorFirst, &kWriteError}) {
        if (oneFile && !error->singleFileToo) continue;
        auto e = MakeExporter(GetParam());
        fs.created = 0;
        fs.failingFile = error == &kWriteError ? 2 : 1;
        try {
            e->Export();
            ADD_FAILURE() << error->name << ": no failure";
        } catch (const CFileException& failure) {
            // The failure names the output, never its temporary.
            EXPECT_TRUE(firstRun.count(failure.m_strFileName)) << failure.m_strFileName;
        }
        fs.failingFile = 0;
        EXPECT_EQ(fs.Files(), before) << error->name;
    }
}

TEST_P(AllOrNothing, AnUnknownFailureChangesNothingAndTheSameWriterExportsAgain) {
    EarlierExport();
    auto e = MakeExporter(GetParam());
    At(*e, 50, [] { throw 42; });
    Interrupted<int>(*e, kUnknown);

    // Uninterrupted, the same export replaces every earlier file, also with
    // the writer that failed (a dialog stays open and may export again).
    e->Writer().OnProgressBegin = nullptr;
    e->Writer().OnProgressStep = nullptr;
    e->Export();
    EXPECT_EQ(Outputs(), firstRun);
    EXPECT_EQ(*fs.Contents("out/unrelated.txt"), "not ours");
    EXPECT_NE(e->Log().find("END OF EXPORTING"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, AllOrNothing,
                         ::testing::Values(Format::Dxf, Format::Mif, Format::Shp, Format::Text),
                         [](const auto& info) { return std::string(Name(info.param)); });

// The writers of sets ask; the one-file writers write the file they were given.
class AllOrNothingAfterAnswers : public AllOrNothing {};

TEST_P(AllOrNothingAfterAnswers, YesThenCancelKeepsTheSetJustAnsweredYes) {
    EarlierExport();
    int asked = 0;
    SetOverwriteQuestion(
        [&](const ExistingFileStatus&, const std::string&) { return int(++asked == 1 ? kAnswerYes : kAnswerCancel); });
    auto e = MakeExporter(GetParam());
    EXPECT_THROW(e->Export(), CUserBreakSignal);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(fs.Files(), before);
    EXPECT_NE(e->Log().find("User break during exporting"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(SetWriters, AllOrNothingAfterAnswers, ::testing::Values(Format::Mif, Format::Shp),
                         [](const auto& info) { return std::string(Name(info.param)); });

}  // namespace
