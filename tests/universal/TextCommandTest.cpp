// tlxexport text and tlxexport template show: outputs, exit statuses and
// that nothing partial is left behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "universal/UETemplateFile.h"
#include "universal/UETestUtil.h"

namespace {

namespace fs = std::filesystem;
using namespace uetest;

struct Result {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class TextCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("tlx-text-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        survey_ = Put("in.tlx", Section("POINTS", Point(1, "T1", "6000000.5", "400000.25", "101.5") +
                                                    Point(2, "Т2", "6000010", "400020", "")) +
                                    Section("GDS_COORDS", Geo(1, "55.4530123", "37.3700000")));
    }
    void TearDown() override { fs::remove_all(dir_); }

    Result Tlx(const std::string& args) {
        fs::path out = dir_ / "stdout", err = dir_ / "stderr";
        std::string command = "cd '" + dir_.string() + "' && TLXEXPORT_LANG=en '" + std::string(TLX_CLI) + "' " + args +
                              " >'" + out.string() + "' 2>'" + err.string() + "' </dev/null";
        Result r;
        int raw = std::system(command.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = Slurp(out);
        r.err = Slurp(err);
        return r;
    }
    std::string Put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return (dir_ / name).string();
    }

    fs::path dir_;
    std::string survey_;
};

}  // namespace

TEST_F(TextCommand, BuiltInTemplateWhenNoneIsGiven) {
    Result r = Tlx("text in.tlx out.txt");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(dir_ / "out.txt"), "T1, 6000000.5000000000, 400000.2500000000, 101.5000000000\r\n" +
                                           tvk::Cp1251("Т2") + ", 6000010.0000000000, 400020.0000000000, 0.0000000000\r\n");
}

TEST_F(TextCommand, TemplateFileLaysOutTheLines) {
    tvk::CUETemplate t;
    t.Fields = {tvk::CUEField(tvk::CUEField::kName, "", 4), tvk::CUEField(tvk::CUEField::kLatitude, "", 11, 3),
                tvk::CUEField(tvk::CUEField::kText, "|"), tvk::CUEField(tvk::CUEField::kHeight, "", 6, 1)};
    t.DosCodePage = true;
    Put("geo.ue", tvk::StoreTemplate(t));
    Result r = Tlx("text in.tlx out.txt --template geo.ue --log text.log");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Slurp(dir_ / "out.txt"), "T1   55.4530123| 101.5\r\n\x92" "2  |   0.0\r\n");
    std::string log = Slurp(dir_ / "text.log");
    EXPECT_NE(log.find("BEGIN OF EXPORTING"), std::string::npos);
    EXPECT_NE(log.find("Total errors: 0"), std::string::npos);

    r = Tlx("template show geo.ue");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("   2  Latitude      3                         11      Right"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("MS-DOS code page (866)   yes"), std::string::npos);
    EXPECT_NE(r.out.find("Angle format             ddd.mmssxxxxxxx"), std::string::npos);
}

TEST_F(TextCommand, BadInputsFailWithoutLeavingAFile) {
    Result r = Tlx("text missing.tlx out.txt");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("missing.tlx"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir_ / "out.txt"));

    tvk::CUETemplate bad = tvk::CUETemplate::Internal();
    bad.Fields[0].Precision = 25;
    Put("bad.ue", tvk::StoreTemplate(bad));
    r = Tlx("text in.tlx out.txt --template bad.ue");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("bad.ue is not a valid export template"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir_ / "out.txt"));

    r = Tlx("text in.tlx out.txt --template none.ue");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("none.ue"), std::string::npos);

    r = Tlx("text in.tlx no-such-folder/out.txt");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no-such-folder/out.txt"), std::string::npos) << r.err;

    Put("short.ue", tvk::StoreTemplate(bad).substr(0, 30));
    r = Tlx("template show short.ue");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("ends too early"), std::string::npos);
    EXPECT_EQ(Tlx("template show").status, 2);
    EXPECT_EQ(Tlx("text in.tlx").status, 2);
    EXPECT_EQ(Tlx("text --help").status, 0);
}
