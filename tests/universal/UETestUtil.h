// Helpers of the text export tests: a text writer that reads a survey from
// memory and exports it into memory.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/StringTable.h"
#include "support/Files.h"
#include "support/TlxText.h"
#include "universal/UEWriter.h"

namespace uetest {

using namespace tvk::test;

// Reads `tlx` from memory once; each Run exports it with a template.
class UEExport : public ::testing::Test {
protected:
    class Writer : public tvk::CUEWriter {
    public:
        using tvk::CUEWriter::Export;
        using tvk::CUEWriter::m_nLinesPerBlock;
    };

    void SetUp() override { tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::English); }

    void Load(const std::string& tlx) {
        files.fs.Put("in.tlx", tlx);
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
        return *files.fs.Contents("out.txt");
    }

    // A template of the given fields with default settings.
    static tvk::CUETemplate Fields(std::vector<tvk::CUEField> fields) {
        tvk::CUETemplate t;
        t.Fields = std::move(fields);
        return t;
    }

    MemoryFiles files;
    Writer writer;
};

}  // namespace uetest
