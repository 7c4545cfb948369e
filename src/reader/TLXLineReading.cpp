// CTLXReader: the line reader and the section state machine. Every line is
// counted, so that each report can name the file line it comes from.
#include <algorithm>
#include <cstring>

#include "platform/Exceptions.h"
#include "platform/StringTable.h"
#include "platform/Text.h"
#include "reader/ReaderStrings.h"
#include "reader/TLXReader.h"
#include "reader/TextScan.h"

namespace tvk {

namespace {

enum Section {
    NO_SECTION = -1,
    S_POINTS,
    S_GDS_COORDS,
    S_FEATURE_CODES,
    S_FEATURE_ATTRIBUTES,
    S_LAYERS,
    S_FEATURE_PROPERTIES,
    S_FEATURES,
    S_FEATURE_DATA
};

}  // namespace

void CTLXReader::OpenFile(const char* path) {
    InputFile.Open(path ? path : "", CFile::modeRead | CFile::shareDenyWrite);
    LastFilePos = 0;
    int64_t length = InputFile.GetLength();
    int high = ProgressScale.Begin(length);
    if (OnProgressBegin) OnProgressBegin(0, high);
    size_t buckets = static_cast<size_t>(std::max<int64_t>(length / 50, static_cast<int64_t>(kMapBuckets)));
    PointMap.Rehash(buckets);
    FeatureMap.Rehash(buckets);
}

void CTLXReader::CloseFile() {
    InputFile.Abort();
    if (OnProgressEnd) OnProgressEnd();
}

// One read of at most size - 1 characters, with its progress report.
size_t CTLXReader::ReadChunk(char* buffer, int size) {
    size_t n = InputFile.ReadLine(buffer, static_cast<size_t>(size));
    if (n == 0) return 0;
    int64_t position = InputFile.GetPosition();
    if (OnProgressStep) OnProgressStep(ProgressScale.Step(LastFilePos, position));
    LastFilePos = position;
    return n;
}

// Reads the rest of a line that filled the buffer, up to its line feed.
// True when the rest holds more than white space.
bool CTLXReader::SkipRestOfLine() {
    char rest[kLineBufferSize];
    bool text = false;
    for (;;) {
        size_t n = ReadChunk(rest, kLineBufferSize);
        if (n == 0) return text;
        if (!IsBlank(rest)) text = true;
        if (rest[n - 1] == '\n' || n + 1 < sizeof rest) return text;
    }
}

// A physical line longer than the buffer is read whole: the buffer keeps its
// start, and LineTooLong says whether text was cut off. A rest of only white
// space is no loss, so such a line reads as it stands.
int CTLXReader::ReadFromFile(char* buffer, int size) {
    for (;;) {
        size_t n = ReadChunk(buffer, size);
        if (n == 0) return 0;
        ++LineNumber;
        LineTooLong = n + 1 == static_cast<size_t>(size) && buffer[n - 1] != '\n' && SkipRestOfLine();
        LineLead = 0;
        while (IsCSpace(buffer[LineLead])) ++LineLead;
        if (LineTooLong || buffer[LineLead] != 0) return 1;
    }
}

void CTLXReader::ReportBadLine(int error, CStr line) {
    ReportLine = LineNumber;
    WriteErrorMessage(error, line.data());
}

bool CTLXReader::TakeNumber(CStr line, int& number) {
    number = GetIndex(line, tlxcol::kNumber);
    if (number >= 0) return true;
    ReportBadLine(ERR_INDEX, line);
    return false;
}

void CTLXReader::ReadTLX() {
    char buffer[kLineBufferSize];
    int section = NO_SECTION;
    bool anySection = false;
    LineNumber = 0;
    while (ReadFromFile(buffer, kLineBufferSize)) {
        if (IsMustDie()) throw CThreadStopSignal();
        CStr line(buffer, std::strlen(buffer));
        if (buffer[LineLead] == '*') continue;  // a comment
        if (LineTooLong) {
            RefuseLongLine(line, section);
            continue;
        }
        int word = -1;
        if (const char* delimiter = MatchLeadingKeyword(line.substr(LineLead), SectionDelimiters, word))
            ReadDelimiter(line, delimiter, word, section, anySection);
        else ParseSectionLine(section, line);
    }
    ReportLine = LineNumber;
    if (section != NO_SECTION || OpenPointCount > 0 || OpenPartCount > 0) WriteErrorMessage(ERR_END_OF_FILE, nullptr);
    // An empty file, or one of blanks or comments only, is no survey.
    if (!anySection) WriteWarning(0, (CStringTable::Load(IDS_WARN_NO_SECTION) + FilePath).c_str());
}

void CTLXReader::ReadDelimiter(CStr line, const char* delimiter, int word, int& section, bool& anySection) {
    CStr rest =
        line.substr(static_cast<size_t>(delimiter - line.data()) + SectionDelimiters[static_cast<size_t>(word)].size());
    int name = -1;
    const char* at = MatchLeadingKeyword(rest, SectionNames, name);
    bool nameAlone =
        at &&
        IsBlank(rest.substr(static_cast<size_t>(at - rest.data()) + SectionNames[static_cast<size_t>(name)].size()));
    if (word == 0) {  // BEGIN
        if (section != NO_SECTION) {
            ReportBadLine(ERR_BEGIN_SECTION, line);
        } else if (nameAlone) {
            section = name;
            anySection = true;
        } else {
            ReportBadLine(ERR_SYNTAX, line);
        }
    } else {  // END
        if (section == NO_SECTION || OpenPointCount > 0 || OpenPartCount > 0) ReportBadLine(ERR_END_SECTION, line);
        else if (nameAlone && name == section) section = NO_SECTION;
        else ReportBadLine(ERR_SYNTAX, line);
    }
}

void CTLXReader::ParseSectionLine(int section, CStr line) {
    switch (section) {
    case S_POINTS: Parse_Points(line); break;
    case S_GDS_COORDS: Parse_GdsCoords(line); break;
    case S_FEATURE_CODES: Parse_FeatureCodes(line); break;
    case S_FEATURE_ATTRIBUTES: Parse_FeatureAttributes(line); break;
    case S_LAYERS: Parse_Layers(line); break;
    case S_FEATURE_PROPERTIES: Parse_FeatureProperties(line); break;
    case S_FEATURES:
        if (OpenPointCount > 0) ParseLine_Features(line);
        else Parse_Features(line);
        break;
    case S_FEATURE_DATA: Parse_FeatureData(line); break;
    default: ReportBadLine(ERR_BODY_OF_SECTION, line); break;
    }
}

// A line with text past the buffer is refused whole: what was cut off must
// never be read as data. In a run of point lines it still counts as one of
// the run's lines, as an unreadable point line does.
void CTLXReader::RefuseLongLine(CStr line, int section) {
    ReportBadLine(ERR_SYNTAX, line);
    if (section != S_FEATURES || OpenPointCount <= 0) return;
    --OpenPointCount;
    if (OpenFeature) OpenFeature->LineReported = true;
}

}  // namespace tvk
