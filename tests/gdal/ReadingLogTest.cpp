// The reading log through GDAL: reports as warnings (the first 100), STRICT,
// LOG, the counts in the metadata and failures that refuse to open.
#include <filesystem>

#include "GdalTestSupport.h"
#include "support/Cli.h"
#include "support/Files.h"

namespace tlxgdal::test {
namespace {

std::string Points(int badLines) {
    std::string body = PointLine(1, "A", "10.0", "20.0", "1.0");
    for (int i = 0; i < badLines; ++i) body += "  -" + std::to_string(i + 1) + " bad\n";
    return Section("POINTS", body);
}

}  // namespace

TEST_F(DriverTest, ReportsArriveAsWarningsNamingTheFileAndLineAndTheCleanFileIsSilent) {
    CollectedErrors errors;
    ASSERT_NE(OpenText(Points(0)), nullptr);
    EXPECT_TRUE(errors.warnings.empty());
    EXPECT_EQ(std::string(dataset->GetMetadataItem("ERRORS")), "0");

    ASSERT_NE(OpenText(Section("POINTS", PointLine(1, "A", "10.0", "20.0") + "  " + Cp1251("Ы1") + " bad\n") +
                           "BEGIN LAYERS\n",
                       "damaged.tlx"),
              nullptr);
    EXPECT_EQ(errors.warnings, (std::vector<std::string>{
                                   "/vsimem/tlx/damaged.tlx:3: E0005 Invalid index [  Ы1 bad]",
                                   "/vsimem/tlx/damaged.tlx:5: E0002 Unexpected end of file",
                                   "/vsimem/tlx/damaged.tlx: Total errors: 2",
                               }));
    EXPECT_TRUE(errors.failures.empty());
}

TEST_F(DriverTest, OnlyTheFirstHundredReportsAreGiven) {
    CollectedErrors errors;
    ASSERT_NE(OpenText(Points(150)), nullptr);
    ASSERT_EQ(errors.warnings.size(), 102u);
    EXPECT_EQ(errors.warnings[99], "/vsimem/tlx/survey.tlx:102: E0005 Invalid index [  -100 bad]");
    EXPECT_EQ(errors.warnings[100], "/vsimem/tlx/survey.tlx: Too much errors. Not all error messages was printed");
    EXPECT_EQ(errors.warnings[101], "/vsimem/tlx/survey.tlx: Total errors: 150");
    EXPECT_EQ(std::string(dataset->GetMetadataItem("ERRORS")), "150");
}

TEST_F(DriverTest, StrictRefusesAnyReadingErrorAndLogWritesTheWholeLog) {
    CollectedErrors errors;
    EXPECT_EQ(OpenText(Points(1), "bad.tlx", {"STRICT=YES"}), nullptr);
    ASSERT_EQ(errors.failures.size(), 1u);
    EXPECT_EQ(errors.failures[0], "/vsimem/tlx/bad.tlx: 1 reading errors, and STRICT=YES refuses a file with any");
    EXPECT_NE(OpenText(Points(0), "good.tlx", {"STRICT=YES"}), nullptr);

    std::string text = Section("POINTS", PointLine(1, "A", "10.0", "20.0") + Cp1251("  Ж bad\n"));
    ASSERT_NE(OpenText(text, "logged.tlx", {"LOG=/vsimem/tlx/reading.log"}), nullptr);
    std::string log = ReadMemoryFile("/vsimem/tlx/reading.log");
    for (const char* part : {"BEGIN OF TLX FILE READING", "Begin of reading file: /vsimem/tlx/logged.tlx\n",
                             "E0005 Invalid index [  Ж bad]\n", "Total errors: 1\n", "END OF TLX FILE READING"})
        EXPECT_NE(log.find(part), std::string::npos) << part << "\n" << log;
}

TEST_F(DriverTest, FailuresToReadOrToLogRefuseToOpenWithTheReason) {
    CollectedErrors errors;
    PutMemoryFile("/vsimem/tlx/s.tlx", Points(0));
    EXPECT_EQ(Open("/vsimem/tlx/s.tlx", {"LOG=/nonexistent-folder/reading.log"}), nullptr);
    ASSERT_EQ(errors.failures.size(), 1u);
    EXPECT_EQ(errors.failures[0], "/nonexistent-folder/reading.log: No such file or directory");
    EXPECT_EQ(Open("/vsimem/tlx/missing.tlx"), nullptr);
}

TEST_F(DriverTest, TheMetadataCarriesTheFiguresOfTheCheckCommand) {
    std::string sample = std::string(TLX_SOURCE_DIR) + "/samples/damaged-survey.tlx";
    CollectedErrors errors;
    dataset = Open(sample);
    ASSERT_NE(dataset, nullptr);
    CliRun check = RunCli("check '" + sample + "'", std::filesystem::temp_directory_path());
    EXPECT_EQ(check.status, 3);
    std::string figures = sample + ": " + dataset->GetMetadataItem("POINTS") + " points, " +
                          dataset->GetMetadataItem("LAYERS") + " layers, " + dataset->GetMetadataItem("FEATURE_CODES") +
                          " feature codes, " + dataset->GetMetadataItem("FEATURES") + " features, " +
                          dataset->GetMetadataItem("ERRORS") + " errors\n";
    EXPECT_EQ(check.out, figures);
    // Each report and warning of the reader is a GDAL warning, and so is the total.
    EXPECT_EQ(dataset->GetMetadataItem("WARNINGS"), std::string("1"));  // the sample's decimal comma
    EXPECT_EQ(errors.warnings.size(), static_cast<size_t>(std::stoi(dataset->GetMetadataItem("ERRORS"))) + 2);
}

}  // namespace tlxgdal::test
