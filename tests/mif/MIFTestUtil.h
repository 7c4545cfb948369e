// Helpers of the MapInfo writer tests: a writer that keeps its log, the
// files of a folder, and the GDAL read-back.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "mif/MIFWriter.h"
#include "platform/CodePage.h"
#include "platform/StringTable.h"
#include "support/Files.h"
#include "support/TlxText.h"

namespace tvk::test {

// A MIF writer that keeps the export log and lets the tests see its state.
class CLoggingMIFWriter : public CMIFWriter {
public:
    using CMIFWriter::Extents;
    using CMIFWriter::IsNeedToClear;
    void WriteToLog(const char* text) override { log += text; }
    std::string log;
};

// "\n" as CR LF, the way the text files reach the disk.
inline std::string CrLf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
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
    std::string command =
        std::string("/usr/bin/python3 ") + TLX_SOURCE_DIR + "/tests/mif/mif_readback.py '" + folder + "' 2>&1";
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

}  // namespace tvk::test
