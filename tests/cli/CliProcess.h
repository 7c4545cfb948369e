// tlxexport run in the background, so that a test can signal it while it
// works, and the files of an output folder as they are.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/OutputTransaction.h"
#include "support/Files.h"

namespace tvk::test {

class CliProcess {
public:
    // Starts "tlxexport `args`" in `folder` with no input, in English; its
    // standard error goes to a file of its own.
    CliProcess(const std::vector<std::string>& args, const std::filesystem::path& folder) {
        err_ = (streams_.Path() / "err").string();
        pid_ = fork();
        if (pid_ == 0) {
            if (chdir(folder.c_str()) != 0) _exit(127);
            int in = open("/dev/null", O_RDONLY), out = open(err_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(in, 0);
            dup2(out, 1);
            dup2(out, 2);
            setenv("TLXEXPORT_LANG", "en", 1);
            std::vector<char*> argv{const_cast<char*>(TLX_CLI)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(TLX_CLI, argv.data());
            _exit(127);
        }
    }
    ~CliProcess() {
        if (pid_ > 0 && status_ == kRunning) {
            kill(pid_, SIGKILL);
            Wait();
        }
    }
    void Signal(int signal) const { kill(pid_, signal); }
    // The exit status, or 128 + the signal that killed it.
    int Wait() {
        if (status_ != kRunning) return status_;
        int raw = 0;
        waitpid(pid_, &raw, 0);
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return status_;
    }
    bool Running() {
        if (status_ != kRunning) return false;
        int raw = 0;
        if (waitpid(pid_, &raw, WNOHANG) != pid_) return true;
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        return false;
    }
    std::string Err() const { return ReadFile(err_); }

private:
    static constexpr int kRunning = -1;
    TempDir streams_;
    std::string err_;
    pid_t pid_ = -1;
    int status_ = kRunning;
};

// Every file of a folder (hidden ones too) with its bytes.
inline std::map<std::string, std::string> FolderFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    if (std::filesystem::exists(folder))
        for (const auto& e : std::filesystem::directory_iterator(folder))
            files[e.path().filename().string()] = ReadFile(e.path());
    return files;
}

inline bool HasTemporaries(const std::filesystem::path& folder) {
    if (!std::filesystem::exists(folder)) return false;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (COutputTransaction::IsTemporaryName(e.path().filename().string())) return true;
    return false;
}

// Waits until `done` holds or a minute has passed.
template <class Done>
bool WaitFor(Done done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A survey made by tools/gen-tlx, made once per test program and size.
inline std::string GeneratedSurvey(int points, int seed) {
    static TempDir folder;
    std::string path = folder / ("survey-" + std::to_string(points) + "-" + std::to_string(seed) + ".tlx");
    if (!std::filesystem::exists(path)) {
        std::string command = std::string("'") + TLX_GEN_TLX + "' --points " + std::to_string(points) + " --seed " +
                              std::to_string(seed) + " '" + path + "' >/dev/null";
        if (std::system(command.c_str()) != 0) return "";
    }
    return path;
}

}  // namespace tvk::test
