// Helpers of the reader tests: a reader that records its log, files kept in
// memory, and a builder of fixed-column lines.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/StringTable.h"
#include "reader/TLXReader.h"

namespace tvk::test {

// A reader whose log hooks record what they receive.
class CRecordingReader : public CTLXReader {
public:
    void ClearLog() override { calls.push_back("ClearLog"); }
    void OpenLog(const char* log) override { calls.push_back(std::string("OpenLog ") + (log ? log : "(null)")); }
    void WriteToLog(const char* text) override {
        calls.push_back("WriteToLog");
        texts.push_back(text);
    }
    void CloseLog() override { calls.push_back("CloseLog"); }

    // The texts that are error reports ("Ennnn ..."), without their line feed.
    std::vector<std::string> Reports() const {
        std::vector<std::string> out;
        for (const std::string& t : texts)
            if (t.size() > 5 && t[0] == 'E' && isdigit(static_cast<unsigned char>(t[1]))) out.push_back(t.substr(0, t.size() - 1));
        return out;
    }
    std::string Log() const {
        std::string all;
        for (const std::string& t : texts) all += t;
        return all;
    }

    std::vector<std::string> calls;
    std::vector<std::string> texts;
};

// Installs a memory file system for the test's lifetime.
class MemoryFiles {
public:
    MemoryFiles() { SetFileSystem(&fs); }
    ~MemoryFiles() { SetFileSystem(nullptr); }
    CMemoryFileSystem fs;
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

// A number right-aligned in the 8 columns starting at `column`.
inline std::pair<int, std::string> Num(int column, int value, int width = 8) {
    std::string text = std::to_string(value);
    if (text.size() < static_cast<size_t>(width)) text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
    return {column, text};
}

inline std::string Section(const std::string& name, const std::string& body) {
    return "BEGIN " + name + "\n" + body + "END " + name + "\n";
}

// A POINTS line: number, name, X, Y, H and an optional reference point.
inline std::string PointLine(int number, const std::string& name, const std::string& x, const std::string& y,
                             const std::string& h = "", int ref = -1) {
    std::vector<std::pair<int, std::string>> fields = {Num(0, number), {9, name}, {35, x}, {52, y}, {69, h}};
    if (ref >= 0) fields.push_back(Num(26, ref));
    return Row(fields);
}

// Reads `content` as the file /data/test.tlx and returns the reader's reports.
struct ReadResult {
    std::vector<std::string> reports;
    int errors = 0;
};

class ReaderTest : public ::testing::Test {
protected:
    void SetUp() override { CStringTable::SetLanguage(CStringTable::Language::English); }

    // Reads `content` through the memory file system into `reader`.
    void ReadText(const std::string& content, const char* log = nullptr) {
        files.fs.Put("/data/test.tlx", content);
        reader.Init();
        reader.Read("/data/test.tlx", log);
    }
    std::vector<std::string> Reports() const { return reader.Reports(); }
    int Slot(const CIntMap& map, int number) const {
        const int* s = map.Find(number);
        return s ? *s : -999;
    }

    MemoryFiles files;
    CRecordingReader reader;
};

}  // namespace tvk::test
