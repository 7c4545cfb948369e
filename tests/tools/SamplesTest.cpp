// The sample surveys: kept in code page 1251 with CR LF exactly as converted
// from their UTF-8 sources, and the building site reads cleanly with every
// kind of feature (the damaged survey's reports: reader/ReportLinesTest).
#include <set>

#include "ToolsTestUtil.h"

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
    // Every kind of feature, which the exports of the samples rely on.
    std::set<int> kinds;
    for (const auto& f : r.Features) kinds.insert(f->Kind);
    EXPECT_EQ(kinds, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
}

#endif  // TLX_HAVE_READER

}  // namespace
