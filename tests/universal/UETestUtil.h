// Helpers of the text export tests: fixed-column .tlx lines, and a text
// writer that reads a survey from memory and exports it into memory.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/StringTable.h"
#include "universal/UEWriter.h"

namespace uetest {

// A line with each text (UTF-8, stored as 1251) starting at its column.
inline std::string Row(const std::vector<std::pair<int, std::string>>& fields) {
    std::string line;
    for (const auto& [column, utf8] : fields) {
        std::string text = tvk::Cp1251(utf8);
        if (line.size() < static_cast<size_t>(column)) line.resize(static_cast<size_t>(column), ' ');
        line.replace(static_cast<size_t>(column), text.size(), text);
    }
    return line + "\r\n";
}

inline std::string Right(int value, int width = 8) {
    std::string text = std::to_string(value);
    return std::string(text.size() < size_t(width) ? size_t(width) - text.size() : 0, ' ') + text;
}

inline std::string Point(int number, const std::string& name, const std::string& x, const std::string& y,
                         const std::string& h = "") {
    return Row({{0, Right(number)}, {9, name}, {35, x}, {52, y}, {69, h}});
}
inline std::string Geo(int number, const std::string& latitude, const std::string& longitude) {
    return Row({{0, Right(number)}, {9, latitude}, {26, longitude}});
}
inline std::string Section(const std::string& name, const std::string& body) {
    return "BEGIN " + name + "\r\n" + body + "END " + name + "\r\n";
}

// Reads `tlx` from memory once; each Run exports it with a template.
class UEExport : public ::testing::Test {
protected:
    class Writer : public tvk::CUEWriter {
    public:
        using tvk::CUEWriter::Export;
        using tvk::CUEWriter::m_nLinesPerBlock;
    };

    void SetUp() override {
        tvk::SetFileSystem(&fs);
        tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::English);
    }
    void TearDown() override { tvk::SetFileSystem(nullptr); }

    void Load(const std::string& tlx) {
        fs.Put("in.tlx", tlx);
        writer.Init();
        writer.Read("in.tlx", nullptr);
    }

    // The bytes the export writes into a file with `tmpl`.
    std::string Run(const tvk::CUETemplate& tmpl, bool dos = false) {
        tvk::CUEFileOutput output;
        output.Open("out.txt");
        writer.SetTemplate(&tmpl);
        writer.SetOutput(&output);
        writer.SetDosCodePage(dos);
        writer.Export("", nullptr);
        writer.FreeExportData();
        output.Close();
        writer.SetOutput(nullptr);
        return *fs.Contents("out.txt");
    }

    // A template of the given fields with default settings.
    static tvk::CUETemplate Fields(std::vector<tvk::CUEField> fields) {
        tvk::CUETemplate t;
        t.Fields = std::move(fields);
        return t;
    }

    tvk::CMemoryFileSystem fs;
    Writer writer;
};

}  // namespace uetest
