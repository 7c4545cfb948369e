// What the command line makes of reading reports: each on standard error as
// FILE:LINE: E0003 ..., a file without sections fails `check`, and no
// infinity or NaN of the input reaches any output format.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>
#include <string>

#include "platform/CodePage.h"
#include "support/Cli.h"
#include "support/Files.h"
#include "support/TlxText.h"

namespace {

using namespace tvk::test;

class ReadingReportsTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        return WriteFile(dir_.Path() / name, bytes);
    }
    TempDir dir_;
};

TEST_F(ReadingReportsTest, ReportsOnStandardErrorNameFileAndLineTheLogFileKeepsItsTexts) {
    // "Дом" in code page 1251 reaches standard error in UTF-8.
    std::string bad = Write("bad.tlx", tvk::Cp1251("Дом") + "\nstray\n" +
                                           Section("POINTS", PointLine(1, "A", "1", "2") + "      -1\n") +
                                           Section("LAYERS", LayerLine(1, 7, "L")) + "BEGIN FEATURES\n");
    CliRun r = RunCli("check bad.tlx", dir_.Path());
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err,
              "bad.tlx:1: E0004 Unexpected body of section [Дом]\n"
              "bad.tlx:2: E0004 Unexpected body of section [stray]\n"
              "bad.tlx:5: E0005 Invalid index [      -1]\n"
              "bad.tlx:10: E0002 Unexpected end of file\n"
              "bad.tlx:8: E0009 Invalid layer index [Layer index: 1 Parent layer index: 7]\n"
              "Total errors: 5\n");
    r = RunCli("check bad.tlx --log run.log", dir_.Path());
    EXPECT_EQ(r.status, 3);
    std::string log = ReadFile(dir_.Path() / "run.log");
    EXPECT_NE(log.find("\nE0004 Unexpected body of section [stray]\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("bad.tlx:"), std::string::npos) << log;
}

// Which files have no section: ReportLinesTest; here the warning's way out.
TEST_F(ReadingReportsTest, AFileWithoutAnySectionFailsTheCheckAndStillExports) {
    Write("empty.tlx", "* only\n* comments\n");
    CliRun r = RunCli("check empty.tlx", dir_.Path());
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "empty.tlx: Warning: the file has no section of survey data: empty.tlx\nTotal errors: 0\n");
    r = RunCli("dxf empty.tlx empty.dxf", dir_.Path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(std::filesystem::exists(dir_.Path() / "empty.dxf"));
}

// True when the bytes hold "inf", "nan" or "infinity" as a word, or the
// Windows runtime's "1.#INF" forms.
bool HasNonFiniteText(const std::string& bytes) {
    std::string lower = bytes;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto letter = [&](size_t i) { return i < lower.size() && std::isalpha(static_cast<unsigned char>(lower[i])); };
    for (const char* word : {"inf", "nan"}) {
        for (size_t at = lower.find(word); at != std::string::npos; at = lower.find(word, at + 1)) {
            bool before = at > 0 && letter(at - 1);
            size_t end = at + 3;
            if (lower.compare(at, 8, "infinity") == 0) end = at + 8;
            if (!before && !letter(end)) return true;
        }
    }
    return lower.find("#inf") != std::string::npos || lower.find("#ind") != std::string::npos;
}

// The values of a DXF's number groups; its texts (attribute values among
// them) are the user's words and stay as they were given.
std::string DxfNumberValues(const std::string& bytes) {
    std::istringstream in(bytes);
    std::string code, value, numbers;
    while (std::getline(in, code) && std::getline(in, value)) {
        const int group = std::atoi(code.c_str());
        const bool text = group < 10 || (group >= 100 && group < 110) || (group >= 300 && group < 370) ||
                          (group >= 390 && group < 400) || (group >= 410 && group < 420) || group == 999 ||
                          (group >= 1000 && group < 1010);
        if (!text) numbers += value + "\n";
    }
    return numbers;
}

TEST_F(ReadingReportsTest, NoInfinityOrNanOfTheInputReachesAnyOutput) {
    std::string points;
    int n = 1;
    for (const char* bad : {"1e309", "inf", "-inf", "nan"}) {
        points += PointLine(n, "X", bad, "20", "1") + PointLine(n + 1, "Y", "10", bad, "1") +
                  PointLine(n + 2, "H", "10", "20", bad, 1);
        n += 3;
    }
    points += PointLine(50, "G1", "10", "20", "5") + PointLine(51, "G2", "12", "21", "5", 50) +
              PointLine(52, "G3", "14", "25", "5", 50) + PointLine(53, "G4", "15", "26", "5", 50);
    std::string features = FeatureLine(100, "LINE", 10, {50, 51}) + FeatureLine(101, "CIRC0", 10, {50, "inf"}) +
                           FeatureLine(102, "CIRC0", 10, {50, "1e309"}) + FeatureLine(103, "LINE", 10, {1, 2}) +
                           FeatureLine(104, "POINT", 10, {3}) + FeatureLine(105, "CIRC1", 10, {50, 52}) +
                           FeatureLine(106, "ARC", 10, {50, 51, 52});
    std::string input = Write(
        "survey.tlx",
        Section("POINTS", points) + Section("GDS_COORDS", GeoLine(50, "55.1", "37.1") + GeoLine(53, "nan", "37.1")) +
            Section("LAYERS", LayerLine(1, 0, "Roads")) + Section("FEATURE_CODES", CodeLine(10, 1, "RD")) +
            Section("FEATURE_PROPERTIES",
                    PropertyLine(10, 1, "Width", "Decimal(8,2)") + PropertyLine(10, 2, "Depth", "Float")) +
            Section("FEATURES", features) +
            // values are texts, but number columns would carry them as infinities and NaNs
            Section("FEATURE_DATA", DataLine(100, 1, "6.5") + DataLine(100, 2, "inf") + DataLine(103, 1, "1e309") +
                                        DataLine(103, 2, "-nan")));
    std::filesystem::create_directories(dir_.Path() / "mif");
    std::filesystem::create_directories(dir_.Path() / "shp");
    for (const std::string& command : {std::string("dxf survey.tlx out.dxf"), std::string("mif survey.tlx mif"),
                                       std::string("shp survey.tlx shp"), std::string("text survey.tlx out.txt")}) {
        CliRun r = RunCli(command, dir_.Path());
        EXPECT_EQ(r.status, 0) << command << "\n" << r.err;
        EXPECT_NE(r.err.find("survey.tlx:2: E0012 Invalid point [Point index: 1]"), std::string::npos) << r.err;
    }
    size_t outputs = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir_.Path())) {
        if (!e.is_regular_file() || e.path().filename() == "survey.tlx") continue;
        ++outputs;
        const std::string bytes = ReadFile(e.path());
        EXPECT_FALSE(HasNonFiniteText(e.path().extension() == ".dxf" ? DxfNumberValues(bytes) : bytes)) << e.path();
    }
    EXPECT_GE(outputs, 8u);
    // Every double of every shape, as a third-party reader sees them.
    std::string script =
        "import glob, math, shapefile, sys\n"
        "bad = []\n"
        "for path in glob.glob(sys.argv[1] + '/*.[sS][hH][pP]'):\n"
        "    r = shapefile.Reader(path, encoding='cp1251')\n"
        "    values = list(r.bbox) + list(getattr(r, 'zbox', []) or [])\n"
        "    for s in r.shapes():\n"
        "        values += [c for p in s.points for c in p] + list(getattr(s, 'z', []) or [])\n"
        "        values += list(getattr(s, 'bbox', []) or [])\n"
        "    bad += [path for v in values if not math.isfinite(v)]\n"
        "print(len(glob.glob(sys.argv[1] + '/*.[sS][hH][pP]')), sorted(set(bad)))\n";
    Write("check.py", script);
    CliRun py = RunShell("/usr/bin/python3 check.py shp", dir_.Path());
    EXPECT_EQ(py.status, 0) << py.err;
    EXPECT_TRUE(py.out.ends_with(" []\n")) << py.out;
    EXPECT_FALSE(py.out.starts_with("0 ")) << py.out;
}

// A MULTIPLE without parts is a feature that draws nothing: its values are
// written, in DXF on an insert at 0,0,0; a part without parts draws nothing.
TEST_F(ReadingReportsTest, MultiplesWithoutPartsExportToEveryFormat) {
    std::string input =
        Write("multiple.tlx",
              Section("POINTS", PointLine(1, "A", "10", "20", "1") + PointLine(2, "B", "12", "21", "1")) +
                  Section("LAYERS", LayerLine(1, 0, "Trees")) + Section("FEATURE_CODES", CodeLine(10, 1, "TR")) +
                  Section("FEATURE_PROPERTIES", PropertyLine(10, 1, "Kind", "Char(12)")) +
                  Section("FEATURES", FeatureLine(100, "MULTIPLE", 10, {0}) + FeatureLine(101, "MULTIPLE", 10, {2}) +
                                          FeatureLine(101, "MULTIPLE", 0, {3}) + FeatureLine(101, "LINE", 0, {1, 2})) +
                  Section("FEATURE_DATA", DataLine(100, 1, "nothing") + DataLine(101, 1, "oak")));
    std::filesystem::create_directories(dir_.Path() / "mif");
    std::filesystem::create_directories(dir_.Path() / "shp");
    for (const std::string& command : {std::string("dxf multiple.tlx out.dxf"), std::string("mif multiple.tlx mif"),
                                       std::string("shp multiple.tlx shp"), std::string("text multiple.tlx out.txt")}) {
        CliRun r = RunCli(command, dir_.Path());
        EXPECT_EQ(r.status, 0) << command << "\n" << r.err;
        EXPECT_TRUE(
            r.err.starts_with("multiple.tlx:15: E0003 Syntax error [     100 MULTIPLE               10        0]\n"
                              "multiple.tlx:17: E0003 Syntax error [     101 MULTIPLE                0        3]\n"
                              "Total errors: 2\n"))
            << r.err;
    }
    std::string dxf = ReadFile(dir_.Path() / "out.dxf");
    size_t value = dxf.find("\r\n  1\r\nnothing\r\n");
    ASSERT_NE(value, std::string::npos);
    size_t attrib = dxf.rfind("ATTRIB\r\n", value);
    ASSERT_NE(attrib, std::string::npos);
    EXPECT_NE(dxf.substr(attrib, value - attrib).find(" 10\r\n0.\r\n 20\r\n0.\r\n 30\r\n0.\r\n"), std::string::npos)
        << dxf.substr(attrib, value - attrib);
    EXPECT_NE(dxf.find("\r\noak\r\n"), std::string::npos);
}

}  // namespace
