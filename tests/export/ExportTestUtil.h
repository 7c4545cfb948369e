// Helpers of the export tests: a writer that records its log hooks and runs a
// scripted body, and builders of fixed-column .tlx lines read from memory.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "export/Writer.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/StringTable.h"

namespace tvk::test {

class CTestWriter : public CWriter {
public:
    using CWriter::Export;
    using CWriter::GetName;
    using CWriter::IsNeedToClear;

    void ClearLog() override { calls.push_back("ClearLog"); }
    void OpenLog(const char* log) override { calls.push_back(std::string("OpenLog ") + (log ? log : "(null)")); }
    void WriteToLog(const char* text) override {
        calls.push_back("WriteToLog");
        texts.push_back(text);
        if (failLogWrites) throw CFileException(CFileException::diskFull, 28, "/logs/export.log");
    }
    void CloseLog() override { calls.push_back("CloseLog"); }
    void FreeExportData() override {
        calls.push_back("FreeExportData");
        ++freeCount;
    }

    std::function<void(CTestWriter&)> body;
    std::vector<std::string> calls;
    std::vector<std::string> texts;
    int freeCount = 0;
    bool failLogWrites = false;

protected:
    void Export() override {
        calls.push_back("Export");
        if (body) body(*this);
    }
};

// A line with each text starting at its column (blanks in between).
inline std::string Row(const std::vector<std::pair<int, std::string>>& fields) {
    std::string line;
    for (const auto& [column, text] : fields) {
        if (line.size() < static_cast<size_t>(column)) line.resize(static_cast<size_t>(column), ' ');
        line.replace(static_cast<size_t>(column), text.size(), text);
    }
    return line + "\n";
}

// `value` right-aligned in `width` columns starting at `column`.
inline std::pair<int, std::string> Num(int column, int value, int width = 8) {
    std::string text = std::to_string(value);
    if (text.size() < static_cast<size_t>(width)) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return {column, text};
}

inline std::string Section(const std::string& name, const std::string& body) {
    return "BEGIN " + name + "\n" + body + "END " + name + "\n";
}

// POINTS line; `flags` (from column 85) is left off when empty.
inline std::string PointLine(int number, const std::string& name, const std::string& x, const std::string& y,
                             const std::string& h = "", int ref = -1, const std::string& flags = "") {
    std::vector<std::pair<int, std::string>> fields = {Num(0, number), {9, name}, {35, x}, {52, y}, {69, h}};
    if (ref >= 0) fields.push_back(Num(26, ref));
    if (!flags.empty()) fields.push_back({85, flags});
    return Row(fields);
}

inline std::string LayerLine(int number, int parent, const std::string& name) {
    return Row({Num(0, number), Num(9, parent), {18, name}});
}

// An empty `name` ends the line before the name's columns, so the code has none.
inline std::string CodeLine(int number, int layer, const std::string& code, const std::string& name) {
    if (name.empty()) return Row({Num(0, number), Num(9, layer), {18, code}});
    return Row({Num(0, number), Num(9, layer), {18, code}, {27, name}});
}

inline std::string PropertyLine(int code, int property, const std::string& name, const std::string& type) {
    return Row({Num(0, code), Num(9, property, 4), {14, name}, {31, type}});
}

// A FEATURES head line for POINT / LINE / ARC / CIRCn with its point columns.
inline std::string FeatureLine(int number, const std::string& kind, int code, std::vector<int> points) {
    std::vector<std::pair<int, std::string>> fields = {Num(0, number), {9, kind}, Num(26, code)};
    const int columns[] = {35, 44, 53};
    for (size_t i = 0; i < points.size() && i < 3; ++i) fields.push_back(Num(columns[i], points[i]));
    return Row(fields);
}

inline std::string DataLine(int feature, int property, const std::string& value) {
    return Row({Num(0, feature), Num(9, property, 4), {14, value}});
}

// Reads .tlx text from a memory file into a CTestWriter.
class ExportModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        CStringTable::SetLanguage(CStringTable::Language::English);
        SetFileSystem(&files);
    }
    void TearDown() override { SetFileSystem(nullptr); }

    void ReadText(const std::string& content) {
        files.Put("/data/test.tlx", content);
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

    CMemoryFileSystem files;
    CTestWriter writer;
};

}  // namespace tvk::test
