// Text and binary files: line reading like fgets with CR LF, positions in bytes, writes in place,
// full disks and missing files named, and per-thread file systems.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "platform/Exceptions.h"
#include "platform/File.h"
#include "support/Files.h"

using namespace tvk;

namespace {
std::vector<std::string> ReadAll(const std::string& path, size_t size) {
    CStdioFile f(path, CFile::modeRead);
    std::vector<std::string> lines;
    std::vector<char> buf(size);
    while (f.ReadString(buf.data(), size)) lines.emplace_back(buf.data());
    return lines;
}

struct MemoryFiles : ::testing::Test {
    test::MemoryFiles files;
    CMemoryFileSystem& fs = files.fs;
};
}  // namespace

TEST_F(MemoryFiles, LongLinesArriveInChunksAndPositionsCountBytes) {
    fs.Put("in.txt", std::string(2500, 'a') + "\r\nb");
    CStdioFile f("in.txt", CFile::modeRead);
    char buf[1024];
    ASSERT_TRUE(f.ReadString(buf, sizeof buf));
    EXPECT_EQ(std::strlen(buf), 1023u);
    EXPECT_EQ(f.GetPosition(), 1023);
    ASSERT_TRUE(f.ReadString(buf, sizeof buf));
    ASSERT_TRUE(f.ReadString(buf, sizeof buf));
    EXPECT_EQ(std::string(buf), std::string(454, 'a') + "\n");
    EXPECT_EQ(f.GetPosition(), 2502);
    ASSERT_TRUE(f.ReadString(buf, sizeof buf));
    EXPECT_STREQ(buf, "b");
    EXPECT_FALSE(f.ReadString(buf, sizeof buf));
}

TEST_F(MemoryFiles, ReadingAgreesWithTranslatingFirstThenSplittingLikeFgets) {
    // Any mix of CR, LF, CR LF and Ctrl-Z, read with small and large buffers.
    std::mt19937 rng(3);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\r', '\n', 0x1A};
    for (int round = 0; round < 300; ++round) {
        std::string file;
        for (int i = int(rng() % 60); i > 0; --i) file += alphabet[rng() % (round % 2 ? 6 : 7)];
        std::string text;  // what text mode gives: CR LF -> LF, nothing after Ctrl-Z
        for (size_t i = 0; i < file.size() && file[i] != 0x1A; ++i) {
            if (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') continue;
            text += file[i];
        }
        fs.Put("in.txt", file);
        const size_t size = 2 + rng() % 12;
        std::vector<std::string> expected;
        for (size_t at = 0; at < text.size();) {
            size_t n = std::min(size - 1, text.size() - at);
            const size_t nl = text.find('\n', at);
            if (nl != std::string::npos && nl < at + n) n = nl - at + 1;
            expected.push_back(text.substr(at, n));
            at += n;
        }
        ASSERT_EQ(ReadAll("in.txt", size), expected) << "round " << round;
    }
}

TEST_F(MemoryFiles, CrLfSplitAcrossTheInternalBuffer) {
    std::string big((1 << 18) - 1, 'x');  // CR lands on the buffer's last byte
    fs.Put("in.txt", big + "\r\nend\n");
    auto lines = ReadAll("in.txt", 1 << 20);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], big + "\n");
    EXPECT_EQ(lines[1], "end\n");
}

TEST_F(MemoryFiles, TextWritingUsesCrLfAndSeeksWriteInPlace) {
    {
        CStdioFile f("out.txt", CFile::modeCreate | CFile::modeWrite);
        f.WriteString("a\nb\n\nc");
        f.Close();
    }
    EXPECT_EQ(*fs.Contents("out.txt"), "a\r\nb\r\n\r\nc");
    CFile f("bin", CFile::modeCreate | CFile::modeWrite);
    f.Write("0123456789", 10);
    f.Seek(2);
    f.Write("xy", 2);
    f.Seek(10);
    f.Write("!", 1);
    f.Close();
    EXPECT_EQ(*fs.Contents("bin"), "01xy456789!");
}

TEST_F(MemoryFiles, AFullDiskThrowsNamingTheFile) {
    fs.SetDiskLimit(5);
    CFile f("full", CFile::modeCreate | CFile::modeWrite);
    f.Write("0123456789", 10);  // still in the buffer
    try {
        f.Close();
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_strFileName, "full");
    }
}

TEST(DiskFiles, AMissingFileThrowsWithTheSystemReason) {
    try {
        CStdioFile f("/nonexistent/dir/x.tlx", CFile::modeRead);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
        EXPECT_EQ(e.m_strFileName, "/nonexistent/dir/x.tlx");
        EXPECT_EQ(e.SystemReason(), "No such file or directory");
    }
}

TEST(DiskFiles, TheNullDeviceSwallowsWrites) {
    CStdioFile f(kNullDevice, CFile::modeCreate | CFile::modeWrite);
    f.WriteString("discarded\n");
    f.Close();
}

TEST(ThreadFileSystem, RoutesOnlyTheCallingThreadAndNests) {
    test::MemoryFiles global;
    global.fs.Put("a.txt", "global");
    CMemoryFileSystem outer, inner;
    outer.Put("a.txt", "outer");
    inner.Put("a.txt", "inner");
    auto contents = [] {
        CFile f("a.txt", CFile::modeRead);
        char buf[16] = {};
        return std::string(buf, f.Read(buf, sizeof buf));
    };
    {
        CThreadFileSystem scope(outer);
        EXPECT_EQ(contents(), "outer");
        {
            CThreadFileSystem nested(inner);
            EXPECT_EQ(contents(), "inner");
            std::string other;
            std::thread([&] { other = contents(); }).join();
            EXPECT_EQ(other, "global");
        }
        EXPECT_EQ(contents(), "outer");
    }
    EXPECT_EQ(contents(), "global");
}
