// Helpers of the tools tests: a scratch folder, running programs, reading files.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#if __has_include("reader/TLXReader.h")
#include "reader/TLXReader.h"
#define TLX_HAVE_READER 1
#endif

namespace tlxtest {

namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed with the object.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& name) {
        path_ = fs::temp_directory_path() / ("tlx-tools-" + name + "-" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

inline std::string Quote(const std::string& s) { return "'" + s + "'"; }

// Runs a shell command; returns its exit status and appends its output to `out`.
inline int RunCommand(const std::string& command, std::string* out = nullptr) {
    std::FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        if (out) out->append(buf, n);
    int status = ::pclose(p);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

#ifdef TLX_HAVE_READER
// A reader that keeps its log texts.
class LoggingReader : public tvk::CTLXReader {
public:
    void WriteToLog(const char* text) override { log += text; }
    // The error codes reported, in order ("E0005", ...).
    std::vector<std::string> Codes() const {
        std::vector<std::string> codes;
        std::istringstream lines(log);
        for (std::string line; std::getline(lines, line);)
            if (line.size() > 6 && line[0] == 'E' && line[5] == ' ' && std::isdigit(static_cast<unsigned char>(line[1])))
                codes.push_back(line.substr(0, 5));
        return codes;
    }
    std::string log;
};
#endif

}  // namespace tlxtest
