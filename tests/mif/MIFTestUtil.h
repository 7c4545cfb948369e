// Helpers of the MapInfo writer tests: surveys written as .tlx text into a
// temporary folder, a writer that keeps its log, and file reading.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "export/ExportTestUtil.h"
#include "mif/MIFWriter.h"
#include "platform/CodePage.h"

namespace tvk::test {

// A MIF writer that keeps the export log and lets the tests see its state.
class CLoggingMIFWriter : public CMIFWriter {
public:
    using CMIFWriter::Extents;
    using CMIFWriter::IsNeedToClear;
    void WriteToLog(const char* text) override { log += text; }
    std::string log;
};

// A fresh folder under the temporary folder, removed at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tlxmif.XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// "\n" as CR LF, the way the text files reach the disk.
inline std::string CrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The names of the .MIF and .MID files of a folder, sorted.
inline std::vector<std::string> MapInfoFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name.size() > 4 && (name.ends_with(".MIF") || name.ends_with(".MID"))) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Runs the GDAL read-back check over a folder; returns its output, and its
// exit status through `status`.
inline std::string ReadBack(const std::string& folder, int* status) {
    std::string command = std::string("/usr/bin/python3 ") + TLX_SOURCE_DIR + "/tests/mif/mif_readback.py '" + folder +
                          "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        *status = -1;
        return "cannot run python";
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) output.append(buf, n);
    int rc = pclose(pipe);
    *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return output;
}

// Counts the occurrences of `needle` in `text`.
inline size_t Count(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (size_t p = text.find(needle); p != std::string::npos; p = text.find(needle, p + 1)) ++n;
    return n;
}

}  // namespace tvk::test
