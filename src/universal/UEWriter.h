// CUEWriter: the text export. It reads and prepares a .tlx file like every
// writer and writes one line per survey point into a line sink, laid out by
// an export template: literal texts, the name, N, E, H and the geodetic
// latitude and longitude, each with its width, precision and alignment.
#pragma once
#include <atomic>
#include <string>

#include "export/Writer.h"
#include "universal/AngleFormat.h"
#include "universal/UEOutput.h"
#include "universal/UETemplate.h"

namespace tvk {

class CUEWriter : public CWriter {
public:
    // Longest text of one field.
    static constexpr size_t kMaxFieldLength = 1024;

    CUEWriter() = default;
    ~CUEWriter() override = default;
    using CWriter::Export;

    // The layout (not owned); set before an export, null when built.
    void SetTemplate(const CUETemplate* tmpl) { m_pTemplate = tmpl; }
    const CUETemplate* GetTemplate() const { return m_pTemplate; }
    // Where the lines go (not owned); null when built.
    void SetOutput(CUEOutput* output) { m_pOutput = output; }
    CUEOutput* GetOutput() const { return m_pOutput; }
    // Convert every field to code page 866; off when built.
    void SetDosCodePage(bool dos) { m_bDosCodePage = dos; }
    bool GetDosCodePage() const { return m_bDosCodePage; }

    // Nothing to release: the sink belongs to the caller, and its file is
    // completed or abandoned by the run itself.
    void FreeExportData() override {}

protected:
    // Writes one line per survey point. The units library's settings are
    // those of the template during the run and are put back afterwards, also
    // when the run fails or is stopped. A full preview sink ends the run
    // normally. Throws std::logic_error without a template or a sink.
    void Export() override;

    // Appends the line of the point in `slot` (fields and line feed) to
    // `line`. Large exports format two blocks of points at once, so both
    // may run on a second thread: they must only read the model.
    virtual void FormatLine(int slot, std::string& line);
    // Appends one field of the point in `slot` to `line`.
    virtual void FormatField(const CUEField& field, int slot, std::string& line);

    CAngleFormat m_GeodeticFormat;  // how the exchange file writes angles
    CAngleFormat m_OutputFormat;    // how the template writes them
    // Points formatted ahead of writing at a time; from four blocks on, a
    // second thread formats every other block.
    int m_nLinesPerBlock = 4096;

private:
    struct LineBlock;
    // Formats the survey points of the block's slots; stops early when
    // `cancel` is set.
    void WriteLines(int count);
    void FormatBlock(LineBlock& block, const std::atomic<bool>& cancel);
    // Writes the block's lines in slot order with the stop test and the
    // progress step of every slot.
    void WriteBlock(const LineBlock& block);

    // Applies the template's coordinate forms, origin, zone and units.
    void ApplyTemplateSettings() const;
    // The point's latitude or longitude in the output format, or false when
    // it has none, it is blank or its text is not an angle.
    bool GeodeticText(const CText& text, int precision, std::string& out) const;

    const CUETemplate* m_pTemplate = nullptr;
    CUEOutput* m_pOutput = nullptr;
    bool m_bDosCodePage = false;
};

}  // namespace tvk
