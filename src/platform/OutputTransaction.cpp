#include "platform/OutputTransaction.h"

#include <unistd.h>

#include <cctype>
#include <chrono>
#include <random>
#include <thread>

#include "platform/Exceptions.h"

namespace tvk {
namespace {

constexpr std::string_view kMark = ".tlxexport-";
constexpr size_t kRandomChars = 6;
// Room for the dot and the mark within a file name of 255 bytes.
constexpr size_t kLongestKeptName = 200;

std::string FolderOf(const std::string& path) {
    size_t cut = path.rfind('/');
    if (cut == std::string::npos) return ".";
    return cut == 0 ? "/" : path.substr(0, cut);
}

std::string NameOf(const std::string& path) {
    size_t cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder == ".") return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string RandomChars() {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 random(
        std::random_device{}() ^ static_cast<uint64_t>(::getpid()) ^
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::string out;
    for (size_t i = 0; i < kRandomChars; ++i) out += kChars[random() % (sizeof kChars - 1)];
    return out;
}

// ".NAME.tlxexport-XXXXXX" beside `real`; a long NAME is cut at a character boundary.
std::string TemporaryPath(const std::string& real) {
    std::string name = NameOf(real);
    if (name.size() > kLongestKeptName) {
        size_t cut = kLongestKeptName;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    return Join(FolderOf(real), "." + name + std::string(kMark) + RandomChars());
}

// A stream whose failures name the output, not its temporary.
class NamedStream : public IFileStream {
    template <class F>
    auto Named(F&& f) -> decltype(f()) {
        try {
            return f();
        } catch (CFileException& e) {
            e.m_strFileName = name_;
            throw;
        }
    }

public:
    NamedStream(std::unique_ptr<IFileStream> inner, std::string name)
        : inner_(std::move(inner)), name_(std::move(name)) {}
    size_t Read(void* buffer, size_t size) override {
        return Named([&] { return inner_->Read(buffer, size); });
    }
    void Write(const void* data, size_t size) override {
        Named([&] { inner_->Write(data, size); });
    }
    void Seek(int64_t position) override {
        Named([&] { inner_->Seek(position); });
    }
    int64_t Length() override {
        return Named([&] { return inner_->Length(); });
    }
    void Close() override {
        Named([&] { inner_->Close(); });
    }

private:
    std::unique_ptr<IFileStream> inner_;
    std::string name_;
};

}  // namespace

COutputTransaction::COutputTransaction(IFileSystem& fs, Hooks hooks) : fs_(fs), hooks_(std::move(hooks)) {}

COutputTransaction::~COutputTransaction() { Discard(); }

void COutputTransaction::Protect(const std::string& path) {
    if (!path.empty()) protected_.emplace_back(path, IdentityOf(fs_, path));
}

bool COutputTransaction::IsTemporaryName(std::string_view name) {
    if (name.size() < 2 + kMark.size() + kRandomChars || name[0] != '.') return false;
    std::string_view tail = name.substr(name.size() - kRandomChars);
    for (char c : tail)
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return name.substr(name.size() - kRandomChars - kMark.size(), kMark.size()) == kMark;
}

void COutputTransaction::LockFolderOf(const std::string& path) { LockFolder(FolderOf(fs_.CanonicalPath(path))); }

void COutputTransaction::LockFolder(const std::string& folder) {
    if (locks_.count(folder)) return;
    bool told = false;
    for (;;) {
        if (std::unique_ptr<IFolderLock> lock = fs_.TryLockFolder(folder)) {
            locks_[folder] = std::move(lock);
            RemoveStale(folder);
            return;
        }
        if (!told && hooks_.waiting) hooks_.waiting(folder);
        told = true;
        if (hooks_.stopRequested && hooks_.stopRequested()) throw CThreadStopSignal();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void COutputTransaction::RemoveStale(const std::string& folder) {
    std::vector<std::string> removed;
    for (const std::string& name : fs_.List(folder))
        if (IsTemporaryName(name) && fs_.Remove(Join(folder, name))) removed.push_back(name);
    if (!removed.empty() && hooks_.staleRemoved) hooks_.staleRemoved(folder, removed);
}

void COutputTransaction::CheckTarget(IFileSystem& fs, const std::string& target) {
    FileStatus status;
    if (fs.Status(target, status) && status.isDirectory) CFileException::ThrowErrno(EISDIR, target);
    try {
        fs.TryLockFolder(FolderOf(fs.CanonicalPath(target)));  // only its failure matters here
    } catch (CFileException& e) {
        e.m_strFileName = target;
        throw;
    }
}

std::unique_ptr<IFileStream> COutputTransaction::Create(const std::string& target) {
    const FileIdentity identity = IdentityOf(fs_, target);
    for (const auto& [path, kept] : protected_)
        if (identity.IsSameFile(kept)) throw CSameFileException(target, path);
    if (identity.exists && identity.status.isDirectory) CFileException::ThrowErrno(EISDIR, target);
    if (identity.exists && identity.status.isSpecial) {
        entries_.push_back({target, target, "", "", false, false});
        byTarget_[target] = entries_.size() - 1;
        return std::make_unique<NamedStream>(fs_.Open(target, IFileSystem::Mode::Write), target);
    }
    Entry entry{target, identity.canonical, "", "", false, false};
    try {
        // A file that may not be written (read-only) is not replaced either.
        if (identity.exists) fs_.Open(entry.real, IFileSystem::Mode::Update)->Close();
        LockFolder(FolderOf(entry.real));
        for (int attempt = 0;; ++attempt) {
            std::string temporary = TemporaryPath(entry.real);
            try {
                std::unique_ptr<IFileStream> stream = fs_.Open(temporary, IFileSystem::Mode::CreateNew);
                entry.temporary = std::move(temporary);
                entries_.push_back(entry);
                byTarget_[target] = entries_.size() - 1;
                return std::make_unique<NamedStream>(std::move(stream), target);
            } catch (CFileException& e) {
                if (e.m_lOsError != EEXIST || attempt == 100) throw;
            }
        }
    } catch (CFileException& e) {
        e.m_strFileName = target;
        throw;
    }
}

std::unique_ptr<IFileStream> COutputTransaction::Reopen(const std::string& target) {
    // Looked up by name: a writer with thousands of files comes back often.
    auto found = byTarget_.find(target);
    if (found == byTarget_.end()) CFileException::ThrowErrno(ENOENT, target);
    const Entry& entry = entries_[found->second];
    const std::string& path = entry.temporary.empty() ? entry.real : entry.temporary;
    try {
        return std::make_unique<NamedStream>(fs_.Open(path, IFileSystem::Mode::Update), target);
    } catch (CFileException& e) {
        e.m_strFileName = target;
        throw;
    }
}

bool COutputTransaction::CanReopen(const std::string& target) const {
    auto found = byTarget_.find(target);
    return found != byTarget_.end() && !entries_[found->second].temporary.empty();
}

std::string COutputTransaction::FreeName(const std::string& real) {
    FileStatus status;
    std::string name = TemporaryPath(real);
    for (int attempt = 0; attempt < 100 && fs_.Status(name, status); ++attempt) name = TemporaryPath(real);
    return name;
}

void COutputTransaction::Rename(const std::string& from, const std::string& to, const std::string& target) {
    try {
        fs_.Rename(from, to);
    } catch (CFileException& e) {
        e.m_strFileName = target;
        throw;
    }
}

void COutputTransaction::Place(Entry& entry) {
    // The old file keeps a name of its own until every output is in place:
    // swapped with the new one in one step where the file system can (the
    // target never goes missing), else moved aside first.
    FileStatus status;
    if (fs_.Status(entry.real, status)) {
        if (fs_.Exchange(entry.temporary, entry.real)) {
            entry.exchanged = entry.placed = true;
            return;
        }
        entry.backup = FreeName(entry.real);
        Rename(entry.real, entry.backup, entry.target);
    }
    Rename(entry.temporary, entry.real, entry.target);
    entry.placed = true;
}

void COutputTransaction::Commit() {
    try {
        for (Entry& entry : entries_) {
            if (entry.temporary.empty()) continue;
            if (hooks_.stopRequested && hooks_.stopRequested()) throw CThreadStopSignal();
            Place(entry);
        }
    } catch (...) {
        PutBack();
        Discard();
        throw;
    }
    // Every output is in place: the old files go.
    for (const Entry& entry : entries_) {
        if (entry.exchanged) fs_.Remove(entry.temporary);
        else if (!entry.backup.empty()) fs_.Remove(entry.backup);
    }
    entries_.clear();
    byTarget_.clear();
    locks_.clear();
}

void COutputTransaction::PutBack() noexcept {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        Entry& entry = *it;
        try {
            if (entry.exchanged) fs_.Rename(entry.temporary, entry.real);  // the old file back over the new
            else if (!entry.backup.empty()) fs_.Rename(entry.backup, entry.real);
            else if (entry.placed) fs_.Remove(entry.real);  // there was none
        } catch (...) {
            // Nothing more can be done; the old file keeps its other name.
        }
        entry.placed = entry.exchanged = false;
        entry.backup.clear();
    }
}

void COutputTransaction::Discard() noexcept {
    for (const Entry& entry : entries_)
        if (!entry.temporary.empty() && !entry.placed) fs_.Remove(entry.temporary);
    entries_.clear();
    byTarget_.clear();
    locks_.clear();
}

}  // namespace tvk
