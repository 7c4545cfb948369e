// Helpers of the MapInfo writer tests: a writer that keeps its log, the
// files of a folder, and the GDAL read-back.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "mif/MIFWriter.h"
#include "platform/CodePage.h"
#include "platform/StringTable.h"
#include "support/Cli.h"
#include "support/Files.h"
#include "support/TlxText.h"

namespace tvk::test {

// A MIF writer that keeps the export log.
class CLoggingMIFWriter : public CMIFWriter {
public:
    void WriteToLog(const char* text) override { log += text; }
    std::string log;
};

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
    CliRun run = RunShell(
        "/usr/bin/python3 '" + std::string(TLX_SOURCE_DIR) + "/tests/mif/mif_readback.py' '" + folder + "'", folder);
    *status = run.status;
    return run.out + run.err;
}

}  // namespace tvk::test
