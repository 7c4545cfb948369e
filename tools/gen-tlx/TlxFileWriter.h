// Writes a generated survey as a .tlx file: code page 1251, CR LF, fixed columns.
#pragma once
#include <cstdint>
#include <string>

#include "GeneratedSurvey.h"

namespace gentlx {

class CTextOut;

class CTlxFileWriter {
public:
    explicit CTlxFileWriter(const GeneratedSurvey& survey) : m_survey(survey) {}
    // Writes the whole file; returns its size. Throws std::runtime_error on failure.
    uint64_t Write(const std::string& path);

private:
    void WritePoints(CTextOut& out);
    void WriteGeoCoords(CTextOut& out);
    void WriteLayers(CTextOut& out);
    void WriteCodes(CTextOut& out);
    void WriteAttributes(CTextOut& out);
    void WriteProperties(CTextOut& out);
    void WriteFeatures(CTextOut& out);
    void WriteFeature(CTextOut& out, const GenFeature& f, int number, int codeNumber);
    void WriteData(CTextOut& out);

    const GeneratedSurvey& m_survey;
};

}  // namespace gentlx
