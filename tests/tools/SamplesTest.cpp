// The sample surveys: kept in code page 1251 with CR LF exactly as converted
// from their UTF-8 sources, the building site reads cleanly and the damaged
// export produces the reports its comments announce.
#include <set>

#include "ToolsTestUtil.h"
#include "platform/CodePage.h"

namespace {

using namespace tlxtest;

const std::string kSamples = std::string(TLX_SOURCE_DIR) + "/samples/";

TEST(Samples, MatchTheirUtf8SourcesByteForByte) {
    std::string out;
    EXPECT_EQ(RunCommand(
                  "/usr/bin/python3 " + Quote(std::string(TLX_SOURCE_DIR) + "/tools/samples/make-samples") + " --check",
                  &out),
              0)
        << out;
}

#ifdef TLX_HAVE_READER

TEST(Samples, BuildingSiteReadsCleanly) {
    LoggingReader r;
    r.Init();
    r.Read((kSamples + "building-site.tlx").c_str(), nullptr);
    EXPECT_EQ(r.ErrorCount, 0) << r.log;
    EXPECT_EQ(r.Layers.size(), 8u);
    EXPECT_EQ(r.FeatureCodes.size(), 13u);
    ASSERT_EQ(r.Features.size(), 25u);
    std::set<int> kinds;
    for (const auto& f : r.Features) kinds.insert(f->Kind);
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
    // feature 1002 is the dwelling; its storey count was corrected by a later line
    int dwelling = -1;
    ASSERT_TRUE(r.FeatureMap.Lookup(1002, dwelling));
    ASSERT_GE(r.FeatureValues[dwelling].size(), 2u);
    EXPECT_STREQ(r.FeatureValues[dwelling][0].c_str(), tvk::Cp1251("кирпич").c_str());
    EXPECT_STREQ(r.FeatureValues[dwelling][1].c_str(), "9");
}

TEST(Samples, DamagedSurveyReportsEveryMistake) {
    LoggingReader r;
    r.Init();
    r.Read((kSamples + "damaged-survey.tlx").c_str(), nullptr);
    // reading (up to E0002), then validation
    const std::vector<std::string> expected = {
        "E0004", "E0005", "E0005", "E0000", "E0005", "E0006", "E0006", "E0003", "E0003", "E0014", "E0003", "E0003",
        "E0003", "E0003", "E0003", "E0003", "E0003", "E0003", "E0003", "E0003", "E0005", "E0005", "E0005", "E0002",
        "E0012", "E0012", "E0009", "E0013", "E0009", "E0009", "E0012", "E0008", "E0007", "E0011"};
    EXPECT_EQ(r.Codes(), expected) << r.log;
    EXPECT_EQ(r.ErrorCount, 34);
    EXPECT_NE(r.UndefLayer, tvk::kNone);
}

#endif  // TLX_HAVE_READER

}  // namespace
