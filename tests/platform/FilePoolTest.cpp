// The pool of output files: with far more files than handles, every file
// gets the bytes it would get with all of them open, at most the pool's
// number of handles is held, only temporaries are reopened, and a failure
// met while making room reaches the caller.
#include <gtest/gtest.h>

#include <random>

#include "platform/Exceptions.h"
#include "platform/File.h"
#include "platform/FilePool.h"
#include "platform/OutputTransaction.h"

using namespace tvk;

namespace {

// A memory file system that counts the streams it has open and names the
// files opened again.
class CountingFiles : public CMemoryFileSystem {
    class Counted : public IFileStream {
    public:
        Counted(CountingFiles& fs, std::unique_ptr<IFileStream> inner) : fs_(fs), inner_(std::move(inner)) {
            if (++fs_.open > fs_.mostOpen) fs_.mostOpen = fs_.open;
        }
        ~Counted() override { Done(); }
        size_t Read(void* b, size_t n) override { return inner_->Read(b, n); }
        void Write(const void* d, size_t n) override { inner_->Write(d, n); }
        void Seek(int64_t p) override { inner_->Seek(p); }
        int64_t Length() override { return inner_->Length(); }
        void Close() override {
            Done();
            inner_->Close();
        }

    private:
        void Done() {
            if (!closed_) --fs_.open;
            closed_ = true;
        }
        CountingFiles& fs_;
        std::unique_ptr<IFileStream> inner_;
        bool closed_ = false;
    };

public:
    std::unique_ptr<IFileStream> Open(const std::string& path, Mode mode) override {
        if (mode == Mode::Update) reopened.push_back(path);
        return std::make_unique<Counted>(*this, CMemoryFileSystem::Open(path, mode));
    }
    int open = 0, mostOpen = 0;
    std::vector<std::string> reopened;
};

struct PooledOutputs {
    explicit PooledOutputs(CountingFiles& fs, size_t files, size_t handles) : transaction(fs), pool(handles) {
        for (size_t i = 0; i < files; ++i) {
            std::string target = "out/L" + std::to_string(i) + (i % 2 ? ".MID" : ".SHP");
            targets.push_back(target);
            outputs.push_back(std::make_unique<CFile>());
            outputs.back()->Attach(transaction.Create(target), target, pool,
                                   [this, target] { return transaction.Reopen(target); });
        }
    }
    COutputTransaction transaction;
    CFilePool pool;
    std::vector<std::string> targets;
    std::vector<std::unique_ptr<CFile>> outputs;
};

}  // namespace

TEST(FilePool, ManyFilesInFewHandlesGetTheSameBytesAndOnlyTemporariesReopen) {
    CountingFiles fs;
    const size_t files = 40, handles = 3;
    std::vector<std::string> expected(files);
    {
        PooledOutputs out(fs, files, handles);
        std::mt19937 rng(7);
        // Headers with room for a count that is known only at the end, as
        // the shapefile and table writers leave them.
        for (size_t i = 0; i < files; ++i) {
            out.outputs[i]->Write("HEAD----", 8);
            expected[i] = "HEAD----";
        }
        for (int step = 0; step < 3000; ++step) {
            const size_t i = rng() % files;
            std::string chunk(1 + rng() % (step % 100 == 0 ? 300000 : 40), char('a' + i % 26));
            out.outputs[i]->Write(chunk);
            expected[i] += chunk;
            EXPECT_LE(out.pool.OpenCount(), handles);
        }
        for (size_t i = 0; i < files; ++i) {
            CFile& file = *out.outputs[i];
            const int64_t end = file.GetLength();
            EXPECT_EQ(end, file.GetPosition());
            const std::string count = std::to_string(end % 10000);
            file.Seek(4);
            file.Write(count);
            file.Seek(end);
            file.Write("!", 1);
            expected[i].replace(4, count.size(), count);
            expected[i] += "!";
        }
        EXPECT_GT(out.pool.Parked(), 1000u);
        EXPECT_LE(fs.mostOpen, int(handles) + 1);  // + the one being created
        for (const std::string& target : out.targets) EXPECT_EQ(fs.Contents(target), nullptr);
        for (auto& file : out.outputs) file->Close();
        EXPECT_EQ(out.pool.OpenCount(), 0u);
        EXPECT_EQ(fs.open, 0);
        out.transaction.Commit();
        for (size_t i = 0; i < files; ++i) ASSERT_EQ(*fs.Contents(out.targets[i]), expected[i]) << out.targets[i];
    }
    ASSERT_FALSE(fs.reopened.empty());
    for (const std::string& path : fs.reopened) {
        const std::string name = path.substr(path.rfind('/') + 1);
        EXPECT_TRUE(COutputTransaction::IsTemporaryName(name)) << path;
    }
    EXPECT_EQ(fs.Files().size(), files);  // nothing left beside the outputs
}

TEST(FilePool, AFailureWhileMakingRoomReachesTheCallerAndTheFailedFileStaysFailed) {
    CountingFiles fs;
    PooledOutputs out(fs, 2, 1);  // attaching the second closed the first
    EXPECT_EQ(out.pool.OpenCount(), 1u);
    out.outputs[0]->Write("kept in the buffer", 18);  // closes the second: nothing buffered yet
    fs.SetDiskLimit(fs.Written() + 4);
    try {
        out.outputs[1]->Write("x", 1);  // room for it: the first must be flushed and fails
        FAIL() << "flushing the first file on a full disk";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
        EXPECT_EQ(e.m_strFileName, out.targets[0]);
    }
    EXPECT_THROW(out.outputs[0]->Write("more", 4), CFileException);
    fs.SetDiskLimit(-1);
    out.outputs[1]->Write("y", 1);
    for (auto& file : out.outputs) file->Abort();
    EXPECT_EQ(fs.open, 0);
}

TEST(FilePool, ClosingAFileGivesItsHandleToTheNextAndAPoolLeftBehindForgetsItsFiles) {
    CountingFiles fs;
    fs.Put("a", "");
    fs.Put("b", "");
    CFile a, b;
    {
        CFilePool pool(1);
        a.Attach(fs.Open("a", IFileSystem::Mode::Update), "a", pool,
                 [&] { return fs.Open("a", IFileSystem::Mode::Update); });
        a.Write("1", 1);
        b.Attach(fs.Open("b", IFileSystem::Mode::Update), "b", pool,
                 [&] { return fs.Open("b", IFileSystem::Mode::Update); });
        b.Write("2", 1);
        b.Close();
        EXPECT_EQ(pool.OpenCount(), 0u);
        a.Write("3", 1);  // back without closing anything
        EXPECT_EQ(pool.Parked(), 1u);
    }
    a.Close();  // its pool is gone: it was open and closes as any file
    EXPECT_EQ(*fs.Contents("a"), "13");
    EXPECT_EQ(*fs.Contents("b"), "2");
    EXPECT_EQ(fs.open, 0);
}
