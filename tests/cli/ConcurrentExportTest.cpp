// Two `tlxexport mif` runs of different surveys into one folder at the same
// time: one waits for the other (and says so), and afterwards every pair in
// the folder is entirely from one run.
#include <gtest/gtest.h>
#include <sys/file.h>

#include "cli/CliProcess.h"

namespace tvk::test {
namespace {

TEST(ConcurrentExports, TwoMifRunsIntoOneFolderLeaveOnlyWholePairs) {
    TempDir dir;
    const std::string a = GeneratedSurvey(20000, 5), b = GeneratedSurvey(20000, 6);
    ASSERT_FALSE(a.empty() || b.empty());
    for (const auto& [survey, folder] : {std::pair{a, "refA"}, std::pair{b, "refB"}}) {
        CliProcess reference({"mif", survey, folder}, dir.Path());
        ASSERT_EQ(reference.Wait(), 0) << reference.Err();
    }
    const auto refA = FolderFiles(dir.Path() / "refA"), refB = FolderFiles(dir.Path() / "refB");

    // Both start while a third export holds the folder, so they meet there.
    const auto out = dir.Path() / "out";
    std::filesystem::create_directories(out);
    int held = open(out.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // not shared with the runs
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    CliProcess runA({"mif", a, "out", "--overwrite", "all"}, dir.Path());
    CliProcess runB({"mif", b, "out", "--overwrite", "all"}, dir.Path());
    const std::string waiting =
        "tlxexport mif: waiting for another export into " + std::filesystem::canonical(out).string() + " to finish\n";
    EXPECT_TRUE(WaitFor([&] {
        return runA.Err().find(waiting) != std::string::npos && runB.Err().find(waiting) != std::string::npos;
    })) << runA.Err()
        << runB.Err();
    close(held);
    EXPECT_EQ(runA.Wait(), 0) << runA.Err();
    EXPECT_EQ(runB.Wait(), 0) << runB.Err();

    const auto files = FolderFiles(out);
    ASSERT_FALSE(files.empty());
    size_t pairs = 0;
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(name.ends_with(".MIF") || name.ends_with(".MID")) << name;  // no temporaries either
        if (!name.ends_with(".MIF")) continue;
        ++pairs;
        const std::string mid = name.substr(0, name.size() - 4) + ".MID";
        ASSERT_TRUE(files.count(mid)) << name;
        auto from = [&](const std::map<std::string, std::string>& ref) {
            return ref.count(name) && ref.at(name) == bytes && ref.count(mid) && ref.at(mid) == files.at(mid);
        };
        EXPECT_TRUE(from(refA) || from(refB)) << name << " is not whole from one run";
        EXPECT_NE(refA.at(name), refB.at(name)) << name << ": the two surveys must differ here";
    }
    EXPECT_EQ(pairs * 2, files.size());
}

}  // namespace
}  // namespace tvk::test
