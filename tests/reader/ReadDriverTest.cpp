// Read(): progress, the log file path, and the failure and stop paths.
#include "ReaderTestUtil.h"

#include <new>

#include "platform/Exceptions.h"

namespace tvk::test {
namespace {

const std::string kFile = Section("POINTS", PointLine(1, "A", "1", "2") + PointLine(2, "B", "3", "4")) +
                          Section("LAYERS", Row({Num(0, 1), Num(9, 0), {18, "L"}})) +
                          Section("FEATURE_CODES", Row({Num(0, 10), Num(9, 1)})) +
                          Section("FEATURES", Row({Num(0, 5), {9, "LINE"}, Num(26, 10), Num(35, 1), Num(44, 2)}));

class ReadDriverTest : public ReaderTest {
protected:
    void ExpectEmptyModel() {
        EXPECT_TRUE(reader.Points.empty());
        EXPECT_TRUE(reader.Features.empty());
        EXPECT_TRUE(reader.PointMap.IsEmpty());
        EXPECT_FALSE(reader.OnProgressEnd);
    }
    // The last two log texts must be the abort texts starting with `first`.
    void ExpectAbortTexts(const std::string& first) {
        ASSERT_GE(reader.texts.size(), 2u);
        EXPECT_EQ(reader.texts[reader.texts.size() - 2], first);
        EXPECT_EQ(reader.texts.back(), "\nForce current operation to abort...\n");
        EXPECT_EQ(reader.calls.back(), "CloseLog");
    }
};

TEST_F(ReadDriverTest, ProgressCoversTheFileAndEnds) {
    int64_t high = -1, sum = 0;
    int begins = 0, ends = 0;
    files.fs.Put("/data/test.tlx", kFile + "\n\n   \n");
    reader.Init();
    reader.OnProgressBegin = [&](int low, int h) {
        EXPECT_EQ(low, 0);
        high = h;
        ++begins;
    };
    reader.OnProgressStep = [&](int delta) { sum += delta; };
    reader.OnProgressEnd = [&] { ++ends; };
    reader.Read("/data/test.tlx", nullptr);
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(high, static_cast<int64_t>(kFile.size() + 6));
    EXPECT_EQ(sum, high);  // blank lines at the end are counted too
    EXPECT_EQ(reader.LastFilePos, high);
}

TEST_F(ReadDriverTest, LogFilePathFollowsTheLogArgument) {
    reader.Init();
    reader.FilePath = "/surveys/site/a.tlx";
    EXPECT_EQ(reader.GetLogFilePath(nullptr), "/surveys/site/export.log");
    EXPECT_EQ(reader.GetLogFilePath("run.txt"), "/surveys/site/run.txt");
    EXPECT_EQ(reader.GetLogFilePath("/logs/"), "/logs/export.log");
    EXPECT_EQ(reader.GetLogFilePath("/logs/x.log"), "/logs/x.log");
    EXPECT_EQ(reader.GetLogFilePath("c:\\logs\\"), "c:\\logs\\export.log");
    reader.FilePath = "c:\\data\\b.tlx";
    EXPECT_EQ(reader.GetLogFilePath(nullptr), "c:\\data\\export.log");
    EXPECT_EQ(reader.GetLogFilePath("   "), "c:\\data\\export.log");
    reader.FilePath = "b.tlx";
    EXPECT_EQ(reader.GetLogFilePath(nullptr), "export.log");
}

TEST_F(ReadDriverTest, MissingFileThrowsBeforeAnyText) {
    reader.Init();
    try {
        reader.Read("/data/missing.tlx", nullptr);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, "/data/missing.tlx");
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    }
    EXPECT_EQ(reader.calls, (std::vector<std::string>{"ClearLog", "OpenLog (null)"}));
}

TEST_F(ReadDriverTest, StopDuringReadingEmptiesTheModelAndRethrows) {
    files.fs.Put("/data/test.tlx", kFile);
    reader.Init();
    int lines = 0;
    reader.OnProgressStep = [&](int) {
        if (++lines == 3) reader.TryToStop();
    };
    EXPECT_THROW(reader.Read("/data/test.tlx", nullptr), CThreadStopSignal);
    EXPECT_TRUE(reader.IsMustDie());
    ExpectAbortTexts("\nUser try to close window during reading");
    ExpectEmptyModel();
    EXPECT_EQ(lines, 3);  // nothing after the stop was read
}

class StopInValidation : public CRecordingReader {
public:
    void ConvertIndex_Layers() override {
        TryToStop();
        CRecordingReader::ConvertIndex_Layers();
    }
};

TEST_F(ReadDriverTest, StopDuringValidation) {
    files.fs.Put("/data/test.tlx", kFile);
    StopInValidation stopping;
    stopping.Init();
    EXPECT_THROW(stopping.Read("/data/test.tlx", "x.log"), CThreadStopSignal);
    EXPECT_TRUE(stopping.IsMustDie());
    EXPECT_TRUE(stopping.Points.empty());
    ASSERT_GE(stopping.texts.size(), 2u);
    EXPECT_EQ(stopping.texts[stopping.texts.size() - 2], "\nUser try to close window during reading");
    EXPECT_NE(stopping.Log().find("\nBegin of data validation\n"), std::string::npos);
    EXPECT_EQ(stopping.Log().find("End of data validation"), std::string::npos);
}

class FailingReader : public CRecordingReader {
public:
    enum class Fail { ReadError, Memory, UserBreak };
    explicit FailingReader(Fail fail) : fail_(fail) {}
    void Parse_Layers(CStr line) override {
        if (fail_ == Fail::ReadError) throw CFileException(CFileException::hardIO, 5, FilePath);
        if (fail_ == Fail::Memory) throw std::bad_alloc();
        if (fail_ == Fail::UserBreak) throw CUserBreakSignal();
        CRecordingReader::Parse_Layers(line);
    }
    // A log that fails while the abort texts are written.
    void WriteToLog(const char* text) override {
        CRecordingReader::WriteToLog(text);
        if (std::string(text).find("Force") != std::string::npos)
            throw CFileException(CFileException::diskFull, 28, "log");
    }

private:
    Fail fail_;
};

TEST_F(ReadDriverTest, FailuresWriteTheirAbortTextsAndRethrowOthersPassUntouched) {
    files.fs.Put("/data/test.tlx", kFile);
    struct Case {
        FailingReader::Fail fail;
        const char* text;  // nullptr: no abort texts, the model kept
    } cases[] = {{FailingReader::Fail::ReadError, "\nCFileException during reading"},
                 {FailingReader::Fail::Memory, "\nCMemoryException during reading"},
                 {FailingReader::Fail::UserBreak, nullptr}};
    for (const Case& c : cases) {
        FailingReader r(c.fail);
        r.Init();
        try {
            r.Read("/data/test.tlx", nullptr);
            ADD_FAILURE() << "no exception";
        } catch (const CFileException&) {
            EXPECT_EQ(c.fail, FailingReader::Fail::ReadError);
        } catch (const std::bad_alloc&) {
            EXPECT_EQ(c.fail, FailingReader::Fail::Memory);
        } catch (const CUserBreakSignal&) {
            EXPECT_EQ(c.fail, FailingReader::Fail::UserBreak);
        }
        EXPECT_FALSE(r.IsMustDie());
        if (!c.text) {
            EXPECT_EQ(r.Log().find("Force current operation"), std::string::npos);
            EXPECT_EQ(r.Points.size(), 2u);
            continue;
        }
        ASSERT_GE(r.texts.size(), 2u);
        EXPECT_EQ(r.texts[r.texts.size() - 2], c.text);  // written although the log fails
        EXPECT_EQ(r.calls.back(), "CloseLog");
        EXPECT_TRUE(r.Points.empty());
    }
}

}  // namespace
}  // namespace tvk::test
