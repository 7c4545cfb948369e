// The output files of an export: nothing changes before the commit, the
// commit puts everything in place or nothing, and the folder lock, the
// leftovers of killed runs and the refused targets. Against memory and disk.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/Exceptions.h"
#include "platform/OutputTransaction.h"
#include "support/Files.h"

using namespace tvk;
using namespace tvk::test;

namespace {

// A memory file system that can refuse to exchange files and interferes
// with the commit's steps (exchanges and renames; only renames can fail).
class HookedFiles : public CMemoryFileSystem {
public:
    bool Exchange(const std::string& a, const std::string& b) override {
        if (!exchangeWorks) return false;
        if (onStep) onStep(++steps, false);
        return CMemoryFileSystem::Exchange(a, b);
    }
    void Rename(const std::string& from, const std::string& to) override {
        if (onStep) onStep(++steps, true);
        CMemoryFileSystem::Rename(from, to);
    }
    bool exchangeWorks = true;
    int steps = 0;
    std::function<void(int step, bool rename)> onStep;
};

std::string Write(COutputTransaction& t, const std::string& target, const std::string& bytes) {
    auto stream = t.Create(target);
    stream->Write(bytes.data(), bytes.size());
    stream->Close();
    return target;
}

std::vector<std::string> Temporaries(const std::map<std::string, std::string>& files) {
    std::vector<std::string> found;
    for (const auto& entry : files) {
        std::string name = std::filesystem::path(entry.first).filename().string();
        if (COutputTransaction::IsTemporaryName(name)) found.push_back(entry.first);
    }
    return found;
}

struct OutputTransactionTest : ::testing::Test {
    void SetUp() override {
        fs.Put("out/a.MIF", "old a");
        fs.Put("out/a.MID", "old a rows");
        fs.Put("out/keep.txt", "untouched");
    }
    // Writes a.MIF, a.MID (both replacing) and b.MIF (new).
    void WriteThree(COutputTransaction& t) {
        Write(t, "out/a.MIF", "new a");
        Write(t, "out/a.MID", "new a rows");
        Write(t, "out/b.MIF", "new b");
    }
    HookedFiles fs;
    bool stop = false;
    COutputTransaction::Hooks hooks{[this] { return stop; }, {}, {}};
};

TEST_F(OutputTransactionTest, NothingChangesBeforeTheCommitWhichPutsEverythingInPlace) {
    for (bool exchange : {true, false}) {
        SCOPED_TRACE(exchange ? "exchanging" : "moving the old files aside");
        SetUp();
        fs.Remove("out/b.MIF");
        fs.exchangeWorks = exchange;
        const auto before = fs.Files();
        COutputTransaction t(fs, hooks);
        WriteThree(t);
        auto during = fs.Files();
        EXPECT_EQ(Temporaries(during).size(), 3u);
        for (const auto& [path, bytes] : before) EXPECT_EQ(during.at(path), bytes) << path;
        EXPECT_EQ(during.count("out/b.MIF"), 0u);

        t.Commit();
        auto after = fs.Files();
        EXPECT_EQ(after.at("out/a.MIF"), "new a");
        EXPECT_EQ(after.at("out/a.MID"), "new a rows");
        EXPECT_EQ(after.at("out/b.MIF"), "new b");
        EXPECT_EQ(after.at("out/keep.txt"), "untouched");
        EXPECT_EQ(after.size(), 4u);  // no temporaries, no old files
    }
}

TEST_F(OutputTransactionTest, DiscardingOrDroppingLeavesEveryEarlierFileAsItWas) {
    const auto before = fs.Files();
    {
        COutputTransaction t(fs, hooks);
        WriteThree(t);
        t.Discard();
        EXPECT_EQ(fs.Files(), before);
        Write(t, "out/a.MIF", "again");
    }  // dropped without a commit
    EXPECT_EQ(fs.Files(), before);
}

TEST_F(OutputTransactionTest, AStopOrAFailureHalfWayThroughTheCommitPutsBackWhatWasReplaced) {
    const auto before = fs.Files();
    for (bool exchange : {true, false}) {
        // a.MIF and a.MID replace files (one exchange each, or two renames:
        // the old file is moved aside first); b.MIF is new (one rename).
        const int steps = exchange ? 3 : 5;
        for (int at = 1; at <= steps; ++at) {
            for (bool fail : {true, false}) {
                if (!fail && at == steps) continue;            // a stop after the last file comes too late
                if (fail && exchange && at < steps) continue;  // an exchange does not fail, it is not done
                fs.exchangeWorks = exchange;
                fs.steps = 0;
                stop = false;
                fs.onStep = [&](int n, bool) {
                    if (n != at) return;
                    if (fail) throw CFileException(CFileException::hardIO, EIO, "rename");
                    stop = true;  // seen before the next file is put in place
                };
                COutputTransaction t(fs, hooks);
                WriteThree(t);
                if (fail) {
                    try {
                        t.Commit();
                        ADD_FAILURE() << "no failure at rename " << at;
                    } catch (const CFileException& e) {
                        EXPECT_TRUE(e.m_strFileName == "out/a.MIF" || e.m_strFileName == "out/a.MID" ||
                                    e.m_strFileName == "out/b.MIF")
                            << e.m_strFileName;
                    }
                } else {
                    EXPECT_THROW(t.Commit(), CThreadStopSignal) << at;
                }
                EXPECT_EQ(fs.Files(), before)
                    << "step " << at << (fail ? " failed" : " stopped") << (exchange ? "" : " without exchanges");
            }
        }
    }
}

TEST_F(OutputTransactionTest, FailuresOfTheStreamNameTheOutputNotItsTemporary) {
    fs.SetDiskLimit(3);
    COutputTransaction t(fs, hooks);
    auto stream = t.Create("out/a.MIF");
    try {
        stream->Write("12345", 5);
        FAIL() << "the disk is full";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_strFileName, "out/a.MIF");
    }
}

TEST_F(OutputTransactionTest, ATemporaryCanBeOpenedAgainToAppend) {
    COutputTransaction t(fs, hooks);
    Write(t, "out/a.MIF", "first ");
    auto again = t.Reopen("out/a.MIF");
    again->Seek(again->Length());
    again->Write("second", 6);
    again->Close();
    EXPECT_THROW(t.Reopen("out/never.MIF"), CFileException);
    t.Commit();
    EXPECT_EQ(*fs.Contents("out/a.MIF"), "first second");
}

TEST_F(OutputTransactionTest, ProtectedFilesAreNeverOutputsUnderAnyOfTheirNames) {
    fs.Put("data/in.tlx", "survey");
    COutputTransaction t(fs, hooks);
    t.Protect("data/in.tlx");
    for (const char* name : {"data/in.tlx", "data/./in.tlx", "out/../data/in.tlx"}) {
        try {
            t.Create(name);
            ADD_FAILURE() << name;
        } catch (const CSameFileException& e) {
            EXPECT_EQ(e.m_strFileName, name);
            EXPECT_EQ(e.m_strOtherFile, "data/in.tlx");
        }
    }
    EXPECT_EQ(*fs.Contents("data/in.tlx"), "survey");
}

TEST_F(OutputTransactionTest, TemporariesOfKilledRunsGoWhenTheFolderIsFirstLocked) {
    fs.Put("out/.a.MIF.tlxexport-Ab12Cd", "left by a killed run");
    fs.Put("out/.Дороги(Точки).SHP.tlxexport-zzzzzz", "and another");
    fs.Put("out/.hidden", "not ours");
    fs.Put("out/a.tlxexport-Ab12Cd", "not hidden: not ours");
    fs.Put("out/.a.MIF.tlxexport-Ab12C", "five characters: not ours");
    fs.Put("other/.a.MIF.tlxexport-Ab12Cd", "another folder");
    std::vector<std::string> removed;
    std::string removedFrom;
    hooks.staleRemoved = [&](const std::string& folder, const std::vector<std::string>& names) {
        removedFrom = folder;
        removed = names;
    };
    COutputTransaction t(fs, hooks);
    t.LockFolderOf("out/x.MIF");
    EXPECT_EQ(removedFrom, "out");
    EXPECT_EQ(removed.size(), 2u);
    EXPECT_EQ(fs.Contents("out/.a.MIF.tlxexport-Ab12Cd"), nullptr);
    EXPECT_EQ(fs.Contents("out/.Дороги(Точки).SHP.tlxexport-zzzzzz"), nullptr);
    for (const char* kept :
         {"out/.hidden", "out/a.tlxexport-Ab12Cd", "out/.a.MIF.tlxexport-Ab12C", "other/.a.MIF.tlxexport-Ab12Cd"})
        EXPECT_NE(fs.Contents(kept), nullptr) << kept;
    // Only once: the temporaries of this run are its own.
    removed.clear();
    Write(t, "out/c.MIF", "c");
    t.LockFolderOf("out/y.MIF");
    EXPECT_TRUE(removed.empty());
}

TEST_F(OutputTransactionTest, ASecondExportIntoTheFolderWaitsSaysSoAndCanBeStopped) {
    auto first = std::make_unique<COutputTransaction>(fs, hooks);
    Write(*first, "out/a.MIF", "first");

    std::atomic<int> waits{0};
    std::atomic<bool> secondStop{false};
    COutputTransaction::Hooks secondHooks{[&] { return secondStop.load(); },
                                          [&](const std::string& folder) {
                                              EXPECT_EQ(folder, "out");
                                              ++waits;
                                          },
                                          {}};
    std::atomic<bool> secondDone{false};
    std::thread second([&] {
        COutputTransaction t(fs, secondHooks);
        Write(t, "out/a.MIF", "second");
        t.Commit();
        secondDone = true;
    });
    while (waits == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(120));
    EXPECT_FALSE(secondDone);
    first->Commit();  // unlocks the folder
    second.join();
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(*fs.Contents("out/a.MIF"), "second");

    // A stop while waiting ends the wait.
    COutputTransaction holder(fs, hooks);
    holder.LockFolderOf("out/a.MIF");
    COutputTransaction waiter(fs, secondHooks);
    secondStop = true;
    EXPECT_THROW(waiter.LockFolderOf("out/b.MIF"), CThreadStopSignal);
}

// ---- on disk -------------------------------------------------------------

struct OutputTransactionOnDisk : ::testing::Test {
    std::string Path(const std::string& name) const { return temp / name; }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(temp.Path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir temp;
    IFileSystem& disk = FileSystem();
};

TEST_F(OutputTransactionOnDisk, ReplacesFilesWritesThroughLinksAndIntoDevicesWhereTheyAre) {
    WriteFile(Path("real.dxf"), "old");
    std::filesystem::create_symlink("real.dxf", Path("link.dxf"));
    WriteFile(Path("plain.txt"), "old plain");
    {
        COutputTransaction t(disk);
        Write(t, Path("link.dxf"), "through the link");
        Write(t, Path("plain.txt"), "new plain");
        Write(t, kNullDevice, "discarded");
        EXPECT_EQ(ReadFile(Path("real.dxf")), "old");
        t.Commit();
    }
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.dxf")));
    EXPECT_EQ(ReadFile(Path("real.dxf")), "through the link");
    EXPECT_EQ(ReadFile(Path("plain.txt")), "new plain");
    EXPECT_TRUE(std::filesystem::is_character_file(kNullDevice));
    EXPECT_EQ(Names(), (std::vector<std::string>{"link.dxf", "plain.txt", "real.dxf"}));
}

TEST_F(OutputTransactionOnDisk, ANewFileIsCreatedOnlyByTheCommitAndAFolderIsNoTarget) {
    COutputTransaction t(disk);
    Write(t, Path("new.txt"), "x");
    ASSERT_EQ(Names().size(), 1u);
    EXPECT_TRUE(COutputTransaction::IsTemporaryName(Names()[0])) << Names()[0];
    EXPECT_FALSE(std::filesystem::exists(Path("new.txt")));
    std::filesystem::create_directory(Path("folder"));
    EXPECT_THROW(t.Create(Path("folder")), CFileException);
    EXPECT_THROW(COutputTransaction::CheckTarget(disk, Path("folder")), CFileException);
    EXPECT_THROW(COutputTransaction::CheckTarget(disk, Path("missing/x.txt")), CFileException);
    EXPECT_THROW(t.Create(Path("missing/x.txt")), CFileException);
    t.Commit();
    EXPECT_EQ(ReadFile(Path("new.txt")), "x");
}

TEST_F(OutputTransactionOnDisk, TheInputIsRefusedThroughALinkAHardLinkOrARelativePath) {
    WriteFile(Path("in.tlx"), "survey");
    std::filesystem::create_symlink("in.tlx", Path("soft.dxf"));
    std::filesystem::create_hard_link(Path("in.tlx"), Path("hard.dxf"));
    const std::string relative = std::filesystem::relative(Path("in.tlx")).string();
    COutputTransaction t(disk);
    t.Protect(relative);
    for (const std::string& name : {Path("in.tlx"), Path("soft.dxf"), Path("hard.dxf"), relative})
        EXPECT_THROW(t.Create(name), CSameFileException) << name;
    EXPECT_EQ(ReadFile(Path("in.tlx")), "survey");
}

TEST_F(OutputTransactionOnDisk, TheFolderLockHoldsBetweenTwoOpeningsInOneProcess) {
    auto first = disk.TryLockFolder(temp.Path().string());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(disk.TryLockFolder(temp.Path().string()), nullptr);
    first.reset();
    EXPECT_NE(disk.TryLockFolder(temp.Path().string()), nullptr);
    EXPECT_THROW(disk.TryLockFolder(Path("missing")), CFileException);
}

}  // namespace
