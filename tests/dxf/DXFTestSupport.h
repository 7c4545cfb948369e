// Runs the DXF writer over .tlx text in memory and looks into its output.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "dxf/DXFWriter.h"
#include "platform/FileSystem.h"
#include "support/TlxText.h"

namespace tvk::testing {

using namespace tvk::test;  // the .tlx builders

// One DXF group: code and value text.
struct Group {
    int code;
    std::string value;
    bool operator==(const Group&) const = default;
};

inline void PrintTo(const Group& g, std::ostream* os) { *os << g.code << ":\"" << g.value << "\""; }

// The groups of a DXF text with CR LF line ends (fails the test on a bare LF).
inline std::vector<Group> ParseGroups(const std::string& dxf) {
    std::vector<Group> groups;
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < dxf.size()) {
        size_t end = dxf.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "text after the last CR LF";
            break;
        }
        std::string line = dxf.substr(start, end - start);
        EXPECT_EQ(line.find('\n'), std::string::npos) << "bare LF in line " << lines.size();
        lines.push_back(line);
        start = end + 2;
    }
    EXPECT_EQ(lines.size() % 2, 0u);
    for (size_t i = 0; i + 1 < lines.size(); i += 2) groups.push_back({std::stoi(lines[i]), lines[i + 1]});
    return groups;
}

// The entities of one section: each starts at a group 0.
inline std::vector<std::vector<Group>> SectionEntities(const std::vector<Group>& groups, const std::string& name) {
    std::vector<std::vector<Group>> entities;
    bool inside = false;
    for (size_t i = 0; i < groups.size(); ++i) {
        const Group& g = groups[i];
        if (!inside) {
            if (g.code == 2 && g.value == name && i > 0 && groups[i - 1].value == "SECTION") inside = true;
            continue;
        }
        if (g.code == 0 && g.value == "ENDSEC") break;
        if (g.code == 0) entities.push_back({});
        if (!entities.empty()) entities.back().push_back(g);
    }
    return entities;
}

// The value of the first group `code` of an entity ("<none>" when missing).
inline std::string Value(const std::vector<Group>& entity, int code) {
    for (const Group& g : entity)
        if (g.code == code) return g.value;
    return "<none>";
}

inline std::vector<std::vector<Group>> OfType(const std::vector<std::vector<Group>>& entities,
                                              const std::string& type) {
    std::vector<std::vector<Group>> out;
    for (const auto& e : entities)
        if (!e.empty() && e[0].value == type) out.push_back(e);
    return out;
}

class DXFExportTest : public ::testing::Test {
protected:
    void SetUp() override { SetFileSystem(&fs); }
    void TearDown() override { SetFileSystem(nullptr); }

    // Reads `tlx` (code page 1251 text) with a fresh writer.
    void ReadTlx(const std::string& tlx) {
        fs.Put("in.tlx", tlx);
        writer = std::make_unique<CDXFWriter>();
        writer->Init();
        writer->Read("in.tlx", nullptr);
    }
    // Exports to out.dxf and returns its bytes.
    std::string ExportDxf() {
        writer->Export("out.dxf", nullptr);
        writer->FreeExportData();
        const std::string* bytes = fs.Contents("out.dxf");
        return bytes ? *bytes : std::string();
    }
    std::string Run(const std::string& tlx) {
        ReadTlx(tlx);
        return ExportDxf();
    }

    CMemoryFileSystem fs;
    std::unique_ptr<CDXFWriter> writer;
};

}  // namespace tvk::testing
