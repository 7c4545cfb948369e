// The export driver: the log frame, failures logged and cleaned up once, changes reported or
// refused, and output files put in place only when the run succeeds.
#include <gtest/gtest.h>

#include <regex>
#include <stdexcept>
#include <thread>

#include "export/OverwriteDecision.h"

#include "export/ExportTestUtil.h"

using namespace tvk;
using namespace tvk::test;

namespace {

using Texts = std::vector<std::string>;

// A writer whose progress end is recorded among its hook calls.
void Prepare(CTestWriter& w) {
    w.Init();
    w.OnProgressEnd = [&w] { w.calls.push_back("OnProgressEnd"); };
    w.calls.clear();
    w.freeCount = 0;
}

class WriterDriverTest : public ::testing::Test {
protected:
    void SetUp() override { Prepare(writer); }
    // The last `n` hook calls.
    Texts LastCalls(size_t n) const {
        const Texts& c = writer.calls;
        return Texts(c.end() - static_cast<long>(std::min(n, c.size())), c.end());
    }
    CTestWriter writer;
};

TEST_F(WriterDriverTest, ASuccessfulExportWritesTheLogFrameAndCompletesItsFilesBeforeTheTotals) {
    writer.OverwriteMode = 2;
    writer.ErrorCount = 7;
    int modeSeen = -1;
    writer.body = [&](CTestWriter& w) { modeSeen = w.OverwriteMode; };
    writer.Export("/out", "/logs/x.log");

    EXPECT_EQ(modeSeen, 0);
    ASSERT_EQ(writer.texts.size(), 6u);
    EXPECT_EQ(writer.texts[0], "\n\nBEGIN OF EXPORTING\n\n");
    EXPECT_TRUE(std::regex_match(writer.texts[1], std::regex("TIME: .+\n"))) << writer.texts[1];
    EXPECT_TRUE(std::regex_match(writer.texts[2], std::regex("DATE: .+\n\n"))) << writer.texts[2];
    EXPECT_EQ(writer.texts[3], "Total errors: 0\n");
    EXPECT_TRUE(std::regex_match(writer.texts[4], std::regex("\nTime elapsed: +[0-9]+\\.[0-9]{3} seconds\n")))
        << writer.texts[4];
    EXPECT_EQ(writer.texts[5], "\nEND OF EXPORTING\n\n");
    EXPECT_EQ(writer.calls,
              (Texts{"OpenLog /logs/x.log", "WriteToLog", "WriteToLog", "WriteToLog", "Export", "FreeExportData",
                     "WriteToLog", "WriteToLog", "WriteToLog", "CloseLog", "OnProgressEnd"}));
    EXPECT_EQ(writer.freeCount, 1);  // the files are complete before they are put in place
    EXPECT_FALSE(writer.IsNeedToClear());
}

TEST_F(WriterDriverTest, MoreThanAHundredErrorsAreAnnouncedBeforeTheTotal) {
    writer.body = [](CTestWriter& w) { w.ErrorCount = 150; };
    writer.Export("/out", nullptr);
    ASSERT_EQ(writer.texts.size(), 7u);
    EXPECT_EQ(writer.texts[3], "Too much errors. Not all error messages was printed\n");
    EXPECT_EQ(writer.texts[4], "Total errors: 150\n");
}

TEST_F(WriterDriverTest, TheOutputFolderEndsWithExactlyOneSeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {"/out", "/out/"},       {"/out/", "/out/"}, {"C:\\out", "C:\\out/"}, {"C:\\out\\", "C:\\out\\"},
        {"rel/dir", "rel/dir/"}, {"", "./"},         {nullptr, "./"}};
    for (const auto& [dir, folder] : cases) {
        writer.Export(dir, nullptr);
        EXPECT_EQ(writer.OutputFolder, folder) << (dir ? dir : "(null)");
    }
}

bool UnchangedFileException(const CFileException& e) {
    return e.m_cause == CFileException::diskFull && e.m_lOsError == 28 && e.m_strFileName == "/out/a.mif";
}

template <class E>
bool Any(const E&) {
    return true;
}

// Whether the export passes on an E (that `Unchanged` accepts).
template <class E, bool (*Unchanged)(const E&) = Any<E>>
bool Throws(CTestWriter& w) {
    try {
        w.Export("/out", nullptr);
    } catch (E& e) {
        return Unchanged(e);
    } catch (...) {
    }
    return false;
}

TEST_F(WriterDriverTest, EachFailureIsLoggedCleanedUpOnceAndPassedOn) {
    struct Case {
        const char* message;
        std::function<void()> raise;
        std::function<bool(CTestWriter&)> caught;
    };
    const Case cases[] = {
        {"\nCFileException during exporting", [] { throw CFileException(CFileException::diskFull, 28, "/out/a.mif"); },
         Throws<CFileException, UnchangedFileException>},
        {"\nCMemoryException during exporting", [] { throw std::bad_alloc(); }, Throws<std::bad_alloc>},
        {"\nUser break during exporting", [] { throw CUserBreakSignal(); }, Throws<CUserBreakSignal>},
        {"\nUser try to close window during exporting", [] { throw CThreadStopSignal(); }, Throws<CThreadStopSignal>},
        {"\nUnknown exception during exporting", [] { throw std::runtime_error("odd"); }, Throws<std::runtime_error>},
        {"\nUnknown exception during exporting", [] { throw 42; }, Throws<int>},
    };
    for (const Case& c : cases) {
        CTestWriter w;
        Prepare(w);
        w.body = [&c](CTestWriter&) { c.raise(); };
        EXPECT_TRUE(c.caught(w)) << c.message;
        ASSERT_GE(w.texts.size(), 5u) << c.message;
        EXPECT_EQ(w.texts[w.texts.size() - 2], c.message);
        EXPECT_EQ(w.texts.back(), "\nForce current operation to abort...\n");
        EXPECT_EQ(w.texts.size(), 5u) << "no closing lines after a failure";
        Texts tail(w.calls.end() - 6, w.calls.end());
        EXPECT_EQ(tail, (Texts{"Export", "WriteToLog", "WriteToLog", "OnProgressEnd", "CloseLog", "FreeExportData"}))
            << c.message;
        EXPECT_EQ(w.freeCount, 1) << c.message;
        // Every failure discards the files of the run.
        EXPECT_TRUE(w.IsNeedToClear()) << c.message;
    }
}

// The summary comes before the totals; a strict export refuses any change
// before its files are completed, which discards them.
TEST_F(WriterDriverTest, TheChangesEndTheLogAndAStrictExportRefusesThem) {
    auto change = [](CTestWriter& w) {
        w.NoteChange(ChangeKind::ControlCharacter, kNone, kPlacePointNames, 2);
        w.NoteChange(ChangeKind::ShapeRepeated, kNone, kPlaceLayer);
        w.NoteChange(ChangeKind::ControlCharacter, kNone, kPlacePointNames, 3);
    };
    const std::string summary =
        "\nChanges to fit the format:\nPoint names: control characters replaced: 5\n"
        "Layer \"\": shapes with a point repeated to be valid: 1\n";
    writer.body = change;
    writer.Export("/out", nullptr);
    ASSERT_EQ(writer.texts.size(), 7u);
    EXPECT_EQ(writer.texts[3], summary);
    EXPECT_EQ(writer.texts[4], "Total errors: 0\n");
    EXPECT_EQ(writer.GetChanges().Lines(1),
              (Texts{"control characters replaced: 5", "shapes with a point repeated: 1"}));  // one per kind

    writer.body = nullptr;  // each export reports its own changes only
    writer.texts.clear();
    writer.SetStrict(true);
    writer.Export("/out", nullptr);
    EXPECT_TRUE(writer.GetChanges().Empty());
    EXPECT_EQ(writer.texts.size(), 6u);

    writer.body = change;
    writer.texts.clear();
    writer.freeCount = 0;
    EXPECT_THROW(writer.Export("/out", nullptr), CChangesRefusedSignal);
    EXPECT_EQ(writer.texts, (Texts{writer.texts[0], writer.texts[1], writer.texts[2], summary,
                                   "\nThe export would change the data and was refused (strict export)",
                                   "\nForce current operation to abort...\n"}));
    EXPECT_EQ(writer.freeCount, 1);
    EXPECT_TRUE(writer.IsNeedToClear());
}

TEST_F(WriterDriverTest, AFailingLogDoesNotStopTheCleanUp) {
    writer.body = [](CTestWriter& w) {
        w.failLogWrites = true;
        throw CUserBreakSignal();
    };
    EXPECT_THROW(writer.Export("/out", nullptr), CUserBreakSignal);
    EXPECT_EQ(LastCalls(4), (Texts{"WriteToLog", "OnProgressEnd", "CloseLog", "FreeExportData"}));
    EXPECT_EQ(writer.freeCount, 1);
    EXPECT_TRUE(writer.IsNeedToClear());
}

TEST_F(WriterDriverTest, AnExportAfterABreakDoesNotDeleteItsOwnFiles) {
    writer.body = [](CTestWriter&) { throw CUserBreakSignal(); };
    EXPECT_THROW(writer.Export("/out", nullptr), CUserBreakSignal);
    ASSERT_TRUE(writer.IsNeedToClear());
    bool clearSeen = true;
    writer.body = [&](CTestWriter& w) { clearSeen = w.IsNeedToClear(); };
    writer.Export("/out", nullptr);
    EXPECT_FALSE(clearSeen);
}

// The driver and the files of a run, against memory.
class WriterFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        files.fs.Put("/data/in.tlx", Section("POINTS", PointLine(1, "A", "1", "2")));
        files.fs.Put("/out/a.MIF", "old a");
        writer.Init();
        writer.Read("/data/in.tlx", nullptr);
        SetOverwriteQuestion([](const ExistingFileStatus&, const std::string&) { return int(kAnswerNo); });
    }
    void TearDown() override { SetOverwriteQuestion(nullptr); }
    static void Put(CTestWriter& w, const std::string& path, const std::string& bytes) {
        CFile file;
        w.OpenOutputFile(file, path);
        file.Write(bytes);
        file.Close();
    }
    bool Logged(const std::string& text) const {
        for (const std::string& t : writer.texts)
            if (t.find(text) != std::string::npos) return true;
        return false;
    }
    MemoryFiles files;
    CTestWriter writer;
};

TEST_F(WriterFilesTest, KeptSetsAreReportedAndTheOthersPutInPlaceOnlyWhenTheRunSucceeds) {
    auto body = [](CTestWriter& w) {
        EXPECT_FALSE(w.DecideOutputSet({"/out/a.MIF", "/out/a.MID"}));
        ASSERT_TRUE(w.DecideOutputSet({"/out/b.MIF", "/out/b.MID"}));
        Put(w, "/out/b.MIF", "new b");
        Put(w, "/out/b.MID", "new b rows");
    };
    const auto before = files.fs.Files();
    writer.body = [&](CTestWriter& w) {
        body(w);
        throw CThreadStopSignal();
    };
    EXPECT_THROW(writer.Export("/out", nullptr), CThreadStopSignal);
    EXPECT_EQ(files.fs.Files(), before);

    CTestWriter again;
    again.Init();
    again.Read("/data/in.tlx", nullptr);
    again.body = body;
    again.Export("/out", nullptr);
    EXPECT_EQ(again.reports, std::vector<std::string>{"kept, exists: /out/a.MIF, a.MID\n"});
    EXPECT_EQ(*files.fs.Contents("/out/a.MIF"), "old a");
    EXPECT_EQ(files.fs.Contents("/out/a.MID"), nullptr);
    EXPECT_EQ(*files.fs.Contents("/out/b.MID"), "new b rows");
    EXPECT_EQ(files.fs.Files().size(), before.size() + 2);
}

TEST_F(WriterFilesTest, TheInputAndTheLogAreNeverOutputs) {
    files.fs.Put("/logs/run.log", "the log so far");
    const auto before = files.fs.Files();
    for (const char* path : {"/data/in.tlx", "/data/../data/in.tlx", "/logs/run.log"}) {
        writer.texts.clear();
        writer.body = [path](CTestWriter& w) { Put(w, path, "output"); };
        try {
            writer.Export("/out", "/logs/run.log");
            ADD_FAILURE() << path;
        } catch (const CSameFileException& e) {
            EXPECT_EQ(e.m_strFileName, path);
        }
        EXPECT_TRUE(Logged("CFileException during exporting")) << path;
        EXPECT_EQ(files.fs.Files(), before) << path;
    }
}

TEST_F(WriterFilesTest, LeftoversOfKilledRunsAreRemovedAndLoggedAndAHeldFolderIsWaitedFor) {
    files.fs.Put("/out/.a.MIF.tlxexport-x1Y2z3", "left by a killed run");
    auto held = files.fs.TryLockFolder("/out");  // another export
    writer.body = [](CTestWriter& w) { Put(w, "/out/a.MIF", "new a"); };
    std::thread run([&] { writer.Export("/out", nullptr); });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(*files.fs.Contents("/out/a.MIF"), "old a");
    EXPECT_NE(files.fs.Contents("/out/.a.MIF.tlxexport-x1Y2z3"), nullptr);  // not its folder yet
    held.reset();
    run.join();
    EXPECT_EQ(writer.reports, std::vector<std::string>{"waiting for another export into /out to finish\n"});
    EXPECT_TRUE(
        Logged("Removed 1 temporary file(s) of an export that did not finish from /out: .a.MIF.tlxexport-x1Y2z3"));
    EXPECT_EQ(files.fs.Contents("/out/.a.MIF.tlxexport-x1Y2z3"), nullptr);
    EXPECT_EQ(*files.fs.Contents("/out/a.MIF"), "new a");
}

TEST_F(WriterDriverTest, NumberedNamesFitTheirBuffer) {
    char name[256];
    EXPECT_STREQ(CTestWriter::GetName(name, sizeof name, "STYLE", 0), "STYLE0");
    EXPECT_STREQ(CTestWriter::GetName(name, sizeof name, "", -12), "-12");
    std::string longBase(300, 'x');
    EXPECT_EQ(std::string(CTestWriter::GetName(name, sizeof name, longBase.c_str(), 1234567890)),
              std::string(235, 'x') + "1234567890");
    char small[4];
    EXPECT_STREQ(CTestWriter::GetName(small, sizeof small, "STYLE", 7), "STY");
}

}  // namespace
