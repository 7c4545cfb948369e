// Helpers of the export tests: a writer that records its log hooks and runs a
// scripted body, reading .tlx text from memory.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "export/Writer.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/StringTable.h"
#include "support/Files.h"
#include "support/TlxText.h"

namespace tvk::test {

class CTestWriter : public CWriter {
public:
    using CWriter::DecideOutputSet;
    using CWriter::Export;
    using CWriter::GetName;
    using CWriter::IsNeedToClear;
    using CWriter::NoteChange;
    using CWriter::OpenOutputFile;

    void ClearLog() override { calls.push_back("ClearLog"); }
    void OpenLog(const char* log) override { calls.push_back(std::string("OpenLog ") + (log ? log : "(null)")); }
    void WriteToLog(const char* text) override {
        calls.push_back("WriteToLog");
        texts.push_back(text);
        if (failLogWrites) throw CFileException(CFileException::diskFull, 28, "/logs/export.log");
    }
    void CloseLog() override { calls.push_back("CloseLog"); }
    void ReportToUser(const char* text) override {
        reports.push_back(text);
        CWriter::ReportToUser(text);
    }
    void FreeExportData() override {
        calls.push_back("FreeExportData");
        ++freeCount;
    }

    std::function<void(CTestWriter&)> body;
    std::vector<std::string> calls;
    std::vector<std::string> texts;
    std::vector<std::string> reports;
    int freeCount = 0;
    bool failLogWrites = false;

protected:
    void Export() override {
        calls.push_back("Export");
        if (body) body(*this);
    }
};

// Reads .tlx text from a memory file into a CTestWriter.
class ExportModelTest : public ::testing::Test {
protected:
    void SetUp() override { CStringTable::SetLanguage(CStringTable::Language::English); }

    void ReadText(const std::string& content) {
        files.fs.Put("/data/test.tlx", content);
        writer.Init();
        writer.Read("/data/test.tlx", nullptr);
    }
    int CodeSlot(int number) const {
        const int* s = writer.CodeMap.Find(number);
        return s ? *s : -999;
    }
    int LayerSlot(int number) const {
        const int* s = writer.LayerMap.Find(number);
        return s ? *s : -999;
    }
    int PointSlot(int number) const {
        const int* s = writer.PointMap.Find(number);
        return s ? *s : -999;
    }
    int FeatureSlot(int number) const {
        const int* s = writer.FeatureMap.Find(number);
        return s ? *s : -999;
    }
    // The texts of a feature's values ("(null)" for an absent one).
    std::vector<std::string> Values(size_t featureSlot) const {
        std::vector<std::string> out;
        for (const CText& t : writer.FeatureValues[featureSlot]) out.push_back(t.IsNull() ? "(null)" : t.Str());
        return out;
    }
    // Feature slots of the generated point features, in order.
    std::vector<size_t> PointFeatures() const {
        std::vector<size_t> out;
        for (size_t f = 0; f < writer.Features.size(); ++f)
            if (writer.FeatureStates[f] == -1) out.push_back(f);
        return out;
    }

    MemoryFiles files;
    CTestWriter writer;
};

}  // namespace tvk::test
