// The template chosen when a universal export starts, and the validity of
// templates and the built-in one. The profile's template and the fall-back
// to default.ue are seen through the dialog (tests/dialogs/UEDlgTest).
#include <gtest/gtest.h>

#include "platform/StringTable.h"
#include "support/Files.h"
#include "universal/TemplateChoice.h"
#include "universal/UETemplateFile.h"

using namespace tvk;

namespace {
struct StartChoice : ::testing::Test {
    test::MemoryFiles files;
    CMemoryFileSystem& fs = files.fs;
    CMemoryTemplateProfile profile;
    std::vector<std::string> warnings;
    CUETemplate current;
    void SetUp() override {
        CStringTable::SetLanguage(CStringTable::Language::English);
        current.Zone = 9;  // a setting the built-in template does not touch
    }
    std::string Choose() {
        return ChooseStartTemplate(profile, current, [&](const std::string& w) { warnings.push_back(w); });
    }
    static CUETemplate OneField(int kind) {
        CUETemplate t;
        t.Fields = {CUEField(kind)};
        return t;
    }
};
}  // namespace

TEST(Template, BuiltInTemplateKeepsTheOtherSettingsAndIsValid) {
    // Its lines are checked byte for byte in UEWriterTest.
    CUETemplate t;
    t.AngleUnit = 2;
    t.SetInternal();
    EXPECT_EQ(t.Fields.size(), 7u);
    EXPECT_EQ(t.AngleUnit, 2);
    EXPECT_TRUE(t.IsValid());
    EXPECT_EQ(CUEField(CUEField::kNorth).Alignment, CUEField::kRight);
}

TEST_F(StartChoice, WithNoDefaultSetAndNoDefaultUeTheBuiltInTemplateComesQuietly) {
    EXPECT_EQ(Choose(), "INTERNAL TEMPLATE");
    EXPECT_EQ(profile.DefaultTemplate(), "");  // nothing was chosen, nothing is written
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(current.Fields.size(), 7u);
    EXPECT_EQ(current.Zone, 9);
    profile.SetDefaultTemplate("default.ue");  // as an earlier start wrote it
    EXPECT_EQ(Choose(), "INTERNAL TEMPLATE");
    EXPECT_TRUE(warnings.empty());
}

TEST_F(StartChoice, ARelativeDefaultIsLookedForInTheSettingsFolderFirst) {
    profile.SetSettingsFolder("/config");
    WriteTemplateFile("default.ue", OneField(CUEField::kHeight));
    EXPECT_EQ(Choose(), "default.ue");
    WriteTemplateFile("/config/default.ue", OneField(CUEField::kEast));
    EXPECT_EQ(Choose(), "/config/default.ue");
    EXPECT_EQ(current, OneField(CUEField::kEast));
    profile.SetDefaultTemplate("mine.ue");
    WriteTemplateFile("/config/mine.ue", OneField(CUEField::kName));
    EXPECT_EQ(Choose(), "/config/mine.ue");
    EXPECT_TRUE(warnings.empty());
}

TEST_F(StartChoice, ABrokenFileWarnsAndUsesTheBuiltInTemplate) {
    fs.Put("broken.ue", "not a template");
    profile.SetDefaultTemplate("broken.ue");
    EXPECT_EQ(Choose(), "INTERNAL TEMPLATE");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Can't open broken.ue\nIntern template will be used");
    EXPECT_EQ(profile.DefaultTemplate(), "broken.ue");
    EXPECT_EQ(current.Fields.size(), 7u);
}

TEST(TemplateFolder, IsThePartBeforeTheLastSeparator) {
    EXPECT_EQ(TemplateFolderOf("/home/u/t.ue"), "/home/u");
    EXPECT_EQ(TemplateFolderOf("C:\\t\\x.ue"), "C:\\t");
    EXPECT_EQ(TemplateFolderOf("/t.ue"), "");
    EXPECT_EQ(TemplateFolderOf("t.ue"), "");
}
