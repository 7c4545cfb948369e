// The output files of one export. Each is written under a hidden temporary
// name in its target's folder (".NAME.tlxexport-XXXXXX"); only Commit puts
// them in place, together. Until then, and after a stop or a failure, every
// file that was there before stays as it was.
//
// The folders written into are locked against other exports from the first
// file (or overwrite question) until the end. Whoever locks a folder first
// removes the temporaries that killed runs left there: no running export can
// own them, since each holds the lock of the folder it writes into.
//
// Nothing is flushed to the disk (no fsync): the promise is about the run
// (a failure, a stop, a signal, a kill changes nothing), and forcing out
// hundreds of megabytes of a big export would cost it more than the renames.
// After a power loss the system's own write-back decides, as for any file.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"

namespace tvk {

class COutputTransaction {
public:
    struct Hooks {
        // Polled while waiting for a folder and before each rename of Commit;
        // true makes them throw CThreadStopSignal.
        std::function<bool()> stopRequested;
        // Called once for a folder that another export holds, before waiting.
        std::function<void(const std::string& folder)> waiting;
        // Called with the names of the temporaries of killed runs removed from a folder.
        std::function<void(const std::string& folder, const std::vector<std::string>& names)> staleRemoved;
    };

    explicit COutputTransaction(IFileSystem& fs, Hooks hooks = {});
    // Discards what was not committed.
    ~COutputTransaction();
    COutputTransaction(const COutputTransaction&) = delete;
    COutputTransaction& operator=(const COutputTransaction&) = delete;

    // A file no output may be (the input, the log): Create refuses it.
    void Protect(const std::string& path);
    // Locks the folder `path` lies in, waiting while another export holds it.
    void LockFolderOf(const std::string& path);
    // Starts the output `target` and returns its temporary open for writing.
    // An existing device or pipe is written where it is. Throws
    // CSameFileException for a protected file, CFileException (naming
    // `target`, also for the later failures of the stream) otherwise.
    std::unique_ptr<IFileStream> Create(const std::string& target);
    // The temporary of a created `target` opened again for writing, its bytes
    // kept (for writers that close files and come back to them).
    std::unique_ptr<IFileStream> Reopen(const std::string& target);
    // Whether Reopen can give `target` back where it was left: false for a
    // device or pipe written where it is (closing it may lose what follows).
    bool CanReopen(const std::string& target) const;
    // Puts every temporary in place of its target. A stop or a failure on the
    // way puts back what was replaced, discards the rest and throws.
    void Commit();
    // Removes the temporaries and unlocks the folders; never throws.
    void Discard() noexcept;

    // Throws the CFileException that Create would for a target that can never
    // be written: a folder, or a file in a folder that does not exist.
    static void CheckTarget(IFileSystem& fs, const std::string& target);
    // Whether `name` (a file name without folder) is one of our temporary names.
    static bool IsTemporaryName(std::string_view name);

private:
    struct Entry {
        std::string target;     // as the writer named it (for messages)
        std::string real;       // where it is put: links resolved
        std::string temporary;  // empty for a file written where it is; the old file once exchanged
        std::string backup;     // where the old file was moved aside, when it could not be exchanged
        bool exchanged = false;
        bool placed = false;
    };
    void LockFolder(const std::string& folder);
    void RemoveStale(const std::string& folder);
    // A temporary name beside `real` that nothing has.
    std::string FreeName(const std::string& real);
    void Place(Entry& entry);
    void PutBack() noexcept;
    void Rename(const std::string& from, const std::string& to, const std::string& target);

    IFileSystem& fs_;
    Hooks hooks_;
    std::vector<std::pair<std::string, FileIdentity>> protected_;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, size_t> byTarget_;  // the last entry of each target
    std::map<std::string, std::unique_ptr<IFolderLock>> locks_;
};

}  // namespace tvk
