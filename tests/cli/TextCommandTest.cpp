// tlxexport text and tlxexport template show: outputs and the log (wrong
// usage and unusable templates: UsageTest).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/Cli.h"

#include "universal/UETemplateFile.h"
#include "universal/UETestUtil.h"

namespace {

namespace fs = std::filesystem;
using namespace uetest;

class TextCommand : public ::testing::Test {
protected:
    void SetUp() override {
        survey_ = Put("in.tlx", Section("POINTS", PointLine(1, "T1", "6000000.5", "400000.25", "101.5") +
                                                      PointLine(2, tvk::Cp1251("Т2"), "6000010", "400020", "")) +
                                    Section("GDS_COORDS", GeoLine(1, "55.4530123", "37.3700000")));
    }
    CliRun Tlx(const std::string& args) { return RunCli(args, dir_.Path()); }
    std::string Put(const std::string& name, const std::string& bytes) { return WriteFile(dir_.Path() / name, bytes); }
    std::string Slurp(const std::string& name) { return ReadFile(dir_.Path() / name); }

    TempDir dir_;
    std::string survey_;
};

}  // namespace

TEST_F(TextCommand, BuiltInTemplateWhenNoneIsGiven) {
    CliRun r = Tlx("text in.tlx out.txt");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp("out.txt"), "T1, 6000000.5000000000, 400000.2500000000, 101.5000000000\r\n" + tvk::Cp1251("Т2") +
                                    ", 6000010.0000000000, 400020.0000000000, 0.0000000000\r\n");
}

TEST_F(TextCommand, TemplateFileLaysOutTheLines) {
    tvk::CUETemplate t;
    t.Fields = {tvk::CUEField(tvk::CUEField::kName, "", 4), tvk::CUEField(tvk::CUEField::kLatitude, "", 11, 3),
                tvk::CUEField(tvk::CUEField::kText, "|"), tvk::CUEField(tvk::CUEField::kHeight, "", 6, 1)};
    t.DosCodePage = true;
    Put("geo.ue", tvk::StoreTemplate(t));
    CliRun r = Tlx("text in.tlx out.txt --template geo.ue --log text.log");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp("out.txt"),
              "T1   55.4530123| 101.5\r\n\x92"
              "2  |   0.0\r\n");
    std::string log = Slurp("text.log");
    EXPECT_NE(log.find("BEGIN OF EXPORTING"), std::string::npos);
    EXPECT_NE(log.find("Total errors: 0"), std::string::npos);

    r = Tlx("template show geo.ue");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("   2  Latitude      3                         11      Right"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("MS-DOS code page (866)   yes"), std::string::npos);
    EXPECT_NE(r.out.find("Angle format             ddd.mmssxxxxxxx"), std::string::npos);
}
