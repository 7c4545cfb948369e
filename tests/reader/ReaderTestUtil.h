// Helpers of the reader tests: a reader that records its log, reading text
// from memory.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/StringTable.h"
#include "reader/TLXReader.h"
#include "support/Files.h"
#include "support/TlxText.h"

namespace tvk::test {

// A reader whose log hooks record what they receive.
class CRecordingReader : public CTLXReader {
public:
    void ClearLog() override { calls.push_back("ClearLog"); }
    void OpenLog(const char* log) override { calls.push_back(std::string("OpenLog ") + (log ? log : "(null)")); }
    void WriteToLog(const char* text) override {
        calls.push_back("WriteToLog");
        texts.push_back(text);
        if (WritingReport) located.push_back({ReportLine, std::string(text, std::strlen(text) - 1)});
    }
    void CloseLog() override { calls.push_back("CloseLog"); }

    // The texts that are error reports ("Ennnn ..."), without their line feed.
    std::vector<std::string> Reports() const {
        std::vector<std::string> out;
        for (const std::string& t : texts)
            if (t.size() > 5 && t[0] == 'E' && isdigit(static_cast<unsigned char>(t[1])))
                out.push_back(t.substr(0, t.size() - 1));
        return out;
    }
    std::string Log() const {
        std::string all;
        for (const std::string& t : texts) all += t;
        return all;
    }

    // The file line of each report and warning, in order.
    std::vector<LineNo> ReportLines() const {
        std::vector<LineNo> out;
        for (const auto& r : located) out.push_back(r.first);
        return out;
    }

    std::vector<std::string> calls;
    std::vector<std::string> texts;
    // Each error report and warning with its file line, without its line feed.
    std::vector<std::pair<LineNo, std::string>> located;
};

// Layer 1 "L" and its feature code 10 "C".
inline const std::string kLayerAndCode = Section("LAYERS", Row({Num(0, 1), Num(9, 0), {18, "L"}})) +
                                         Section("FEATURE_CODES", Row({Num(0, 10), Num(9, 1), {18, "C"}}));

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override { CStringTable::SetLanguage(CStringTable::Language::English); }

    // Reads `content` through the memory file system into `reader`.
    void ReadText(const std::string& content, const char* log = nullptr) {
        files.fs.Put("/data/test.tlx", content);
        reader.Init();
        // Each read's own log.
        reader.calls.clear();
        reader.texts.clear();
        reader.located.clear();
        reader.Read("/data/test.tlx", log);
    }
    std::vector<std::string> Reports() const { return reader.Reports(); }
    int Slot(const CIntMap& map, int number) const {
        const int* s = map.Find(number);
        return s ? *s : -999;
    }
    CPointListFeature* ListFeature(int number) {
        return dynamic_cast<CPointListFeature*>(
            reader.Features[static_cast<size_t>(Slot(reader.FeatureMap, number))].get());
    }

    MemoryFiles files;
    CRecordingReader reader;
};

}  // namespace tvk::test
