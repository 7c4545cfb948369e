// Every report names the file line it comes from; warnings for input that
// is read as it stands but needs the user's eye; the elapsed time.
#include <chrono>
#include <regex>
#include <thread>

#include "ReaderTestUtil.h"

namespace tvk::test {
namespace {

// The lines of a file as the reader sees them (CR LF is one line end).
std::vector<std::string> FileLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

class ReportLinesTest : public ReaderTest {};

// The damaged sample reports every mistake it holds. A parser's report quotes
// the line it names; a validation report's or a warning's first number is
// that of the item whose line it names.
TEST_F(ReportLinesTest, EveryReportOfTheDamagedSampleNamesItsLine) {
    std::string path = std::string(TLX_SOURCE_DIR) + "/samples/damaged-survey.tlx";
    std::string bytes = ReadFile(path);
    std::vector<std::string> lines = FileLines(bytes);
    files.fs.Put("/data/test.tlx", bytes);
    reader.Init();
    reader.Read("/data/test.tlx", nullptr);
    ASSERT_EQ(reader.located.size(), static_cast<size_t>(reader.ErrorCount + reader.WarningCount));
    EXPECT_EQ(reader.WarningCount, 1);  // its decimal comma
    // Reading (up to E0002), then validation: every mistake its comments announce.
    std::vector<std::string> codes;
    for (const auto& entry : reader.located)
        if (entry.second.starts_with("E")) codes.push_back(entry.second.substr(0, 5));
    EXPECT_EQ(codes,
              (std::vector<std::string>{"E0004", "E0005", "E0005", "E0000", "E0005", "E0006", "E0006", "E0003", "E0003",
                                        "E0014", "E0003", "E0003", "E0003", "E0003", "E0003", "E0003", "E0003", "E0003",
                                        "E0003", "E0003", "E0005", "E0005", "E0005", "E0002", "E0012", "E0012", "E0009",
                                        "E0013", "E0009", "E0009", "E0012", "E0008", "E0007", "E0011"}));
    EXPECT_EQ(reader.ErrorCount, 34);
    EXPECT_NE(reader.UndefLayer, kNone);
    const std::regex item(R"(\[[A-Za-z ]+: (-?\d+)(?: [A-Za-z ]+: (-?\d+))?)");
    for (const auto& [line, report] : reader.located) {
        SCOPED_TRACE(report);
        ASSERT_GE(line, 1);
        ASSERT_LE(static_cast<size_t>(line), lines.size());
        const std::string& text = lines[static_cast<size_t>(line - 1)];
        if (report.starts_with("E0002")) {
            EXPECT_EQ(static_cast<size_t>(line), lines.size());
            continue;
        }
        size_t open = report.find('[');
        ASSERT_NE(open, std::string::npos);
        std::string quoted = report.substr(open + 1, report.size() - open - 2);
        std::smatch m;
        if (quoted == text) continue;  // a parser's report
        ASSERT_TRUE(std::regex_search(report, m, item)) << "line " << line << ": " << text;
        EXPECT_TRUE(text.starts_with(Right(std::stoi(m[1].str())))) << "line " << line << ": " << text;
        if (report.find("Property index") != std::string::npos) {
            EXPECT_EQ(text.substr(9, 4), Right(std::stoi(m[2].str()), 4)) << text;
        }
    }
}

TEST_F(ReportLinesTest, AFileWithoutAnySectionGetsAWarningNamingIt) {
    const std::string kWarning = "Warning: the file has no section of survey data: /data/test.tlx";
    for (const std::string& content : {std::string(), std::string(5000, '\0'), std::string("  \n\t\n\n   "),
                                       std::string("* a comment\r\n  * another\r\n"), std::string(2000, ' ')}) {
        ReadText(content);
        EXPECT_EQ(reader.ErrorCount, 0);
        EXPECT_EQ(reader.WarningCount, 1);
        ASSERT_EQ(reader.located.size(), 1u);
        EXPECT_EQ(reader.located[0], (std::pair<LineNo, std::string>{0, kWarning}));
        EXPECT_NE(reader.Log().find("Begin of reading file: /data/test.tlx\n" + kWarning + "\nEnd of reading file"),
                  std::string::npos);
    }
    ReadText("stray line\n");
    EXPECT_EQ(reader.ErrorCount, 1);
    EXPECT_EQ(reader.WarningCount, 1);
    ReadText(Section("POINTS", ""));
    EXPECT_EQ(reader.WarningCount, 0);
}

TEST_F(ReportLinesTest, CirclesAndArcsWithoutACircleAreWarnedOfAndKept) {
    ReadText(Section("POINTS", PointLine(1, "A", "0", "0") + PointLine(2, "B", "10", "10") +
                                   PointLine(3, "C", "20", "20") + PointLine(4, "D", "10", "0")) +
             Section("LAYERS", LayerLine(1, 0, "L")) + Section("FEATURE_CODES", CodeLine(10, 1, "C")) +
             Section("FEATURES", FeatureLine(100, "ARC", 10, {1, 2, 3}) + FeatureLine(101, "ARC", 10, {1, 4, 3}) +
                                     FeatureLine(102, "CIRC3", 10, {1, 1, 2}) + FeatureLine(103, "CIRC1", 10, {2, 2}) +
                                     FeatureLine(104, "CIRC0", 10, {1, "0"}) + FeatureLine(105, "CIRC2", 10, {1, 3})));
    const std::string kText =
        "Warning: the points of the circle or arc lie on one line or coincide; it is written with radius 0 at its "
        "first point [Feature index: ";
    EXPECT_EQ(reader.ErrorCount, 0) << reader.Log();
    EXPECT_EQ(reader.WarningCount, 4);
    EXPECT_EQ(reader.located,
              (std::vector<std::pair<LineNo, std::string>>{
                  {14, kText + "100]"}, {16, kText + "102]"}, {17, kText + "103]"}, {18, kText + "104]"}}));
    for (int state : reader.FeatureStates) EXPECT_NE(state, kNone);
}

// The time of a read that waits (for a slow disk, say) is the time it took,
// not the processor time it used.
TEST_F(ReportLinesTest, TheElapsedTimeIsWallClockTime) {
    struct SlowReader : CRecordingReader {
        void WriteToLog(const char* text) override {
            if (std::string_view(text).starts_with("Begin of reading file"))
                std::this_thread::sleep_for(std::chrono::milliseconds(400));
            CRecordingReader::WriteToLog(text);
        }
    } slow;
    files.fs.Put("/data/test.tlx", Section("POINTS", PointLine(1, "A", "1", "2")));
    slow.Init();
    slow.Read("/data/test.tlx", nullptr);
    std::smatch m;
    std::string log = slow.Log();
    ASSERT_TRUE(std::regex_search(log, m, std::regex(R"(Time elapsed: +([0-9.]+) seconds)"))) << log;
    EXPECT_GE(std::stod(m[1].str()), 0.39);
}

}  // namespace
}  // namespace tvk::test
