// A survey whose one MULTIPLE nests its last part a million levels deep: every
// command reads it, validates it, frees it and exports it whole, and the
// nested parts come out in file order (read back by ezdxf, GDAL and pyshp).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/Cli.h"
#include "support/Files.h"
#include "support/TlxText.h"

namespace tvk::test {
namespace {

constexpr int kDepth = 1000000;
constexpr int kLineEvery = 1000;             // levels with a LINE part besides the next level
constexpr int kLines = kDepth / kLineEvery;  // LINE j runs from point j + 1 to point j + 2
constexpr int kPoints = kLines + 1;          // point n lies at east 100 + n, north 200 + n

// Level k is a MULTIPLE whose last part is level k + 1; every kLineEvery-th
// level also holds a LINE before it. The deepest level ends with a POINT.
void WriteDeepSurvey(const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    std::string points;
    for (int n = 1; n <= kPoints; ++n)
        points += PointLine(n, "P" + std::to_string(n), std::to_string(200 + n) + ".0", std::to_string(100 + n) + ".0",
                            "1.0");
    out << Section("POINTS", points) << Section("LAYERS", LayerLine(1, 0, "Deep"))
        << Section("FEATURE_CODES", CodeLine(1, 1, "DEEP", "Deep code")) << "BEGIN FEATURES\n";
    // A part's number and code columns serve nothing: the short line keeps the file at 37 MB.
    const std::string part = Row({{0, "0"}, {9, "MULTIPLE"}, {35, "1"}});
    const std::string partWithLine = Row({{0, "0"}, {9, "MULTIPLE"}, {35, "2"}});
    for (int k = 0; k < kDepth; ++k) {
        bool withLine = k % kLineEvery == 0;
        if (k == 0) out << FeatureLine(100, "MULTIPLE", 1, {withLine ? 2 : 1});
        else out << (withLine ? partWithLine : part);
        if (withLine) out << FeatureLine(0, "LINE", 1, {k / kLineEvery + 1, k / kLineEvery + 2});
    }
    out << FeatureLine(0, "POINT", 1, {1}) << "END FEATURES\n";
}

class DeepNesting : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir;
        WriteDeepSurvey(*folder_ / "deep.tlx");
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static const std::filesystem::path& Folder() { return folder_->Path(); }

    // Runs the command and expects a clean finish without reading errors.
    static void Run(const std::string& args) {
        CliRun run = RunCli(args, Folder());
        EXPECT_EQ(run.status, 0) << args << "\n" << run.err.substr(0, 2000);
        EXPECT_NE(run.err.find("Total errors: 0"), std::string::npos) << args << "\n" << run.err.substr(0, 2000);
    }

    // The read-back of the output: "ok" or what differs from the expected parts.
    static std::string ReadBack(const std::string& format, const std::string& output) {
        CliRun run = RunShell("/usr/bin/python3 '" + std::string(TLX_SOURCE_DIR) + "/tests/cli/deep_readback.py' " +
                                  format + " '" + output + "' " + std::to_string(kLines),
                              Folder());
        return run.out + run.err;
    }

    static TempDir* folder_;
};

TempDir* DeepNesting::folder_ = nullptr;

TEST_F(DeepNesting, CheckReadsValidatesAndFreesTheWholeNesting) {
    CliRun run = RunCli("check deep.tlx", Folder());
    EXPECT_EQ(run.status, 0) << run.err.substr(0, 2000);
    EXPECT_NE(run.out.find("1001 points, 1 layers, 1 feature codes, 1 features, 0 errors"), std::string::npos)
        << run.out;
}

TEST_F(DeepNesting, EveryFormatHoldsTheNestedPartsInFileOrder) {
    const struct {
        const char *command, *format, *output;
    } exports[] = {{"dxf deep.tlx deep.dxf", "dxf", "deep.dxf"},
                   {"mif deep.tlx mif --overwrite all", "mif", "mif/Deep.MIF"},
                   {"shp deep.tlx shp --overwrite all", "shp", "shp/Deep(Ломаные).SHP"}};
    for (const auto& e : exports) {
        Run(e.command);
        EXPECT_EQ(ReadBack(e.format, e.output), "ok\n") << e.command;
    }
}

TEST_F(DeepNesting, TextExportReadsTheNestingAndWritesEveryPoint) {
    Run("text deep.tlx deep.txt");
    std::string text = ReadFile(Folder() / "deep.txt");
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_EQ(lines, size_t(kPoints)) << text.substr(0, 500);
}

}  // namespace
}  // namespace tvk::test
