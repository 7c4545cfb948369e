#include "universal/UEWriter.h"

#include <future>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "msr/msr.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace tvk {

struct CUEWriter::LineBlock {
    int first = 0, last = 0;   // point slots [first, last)
    std::string text;          // the lines of the block's survey points
    std::vector<size_t> ends;  // per slot: where its line ends in text
    UnwritableCount replaced;  // bytes of the point names written as blanks
};

void CUEWriter::ApplyTemplateSettings() const {
    const CUETemplate& t = *m_pTemplate;
    if (t.NorthType == 0 || t.NorthType == 1) msr::CNorth::style(t.NorthType);
    if (t.EastType >= 0 && t.EastType <= 2) msr::CEast::style(t.EastType);
    msr::CNorth::false_northing(t.FalseNorthing);
    msr::CEast::false_easting(t.FalseEasting);
    msr::CEast::zone(t.Zone);
    static const int kAngularUnits[] = {msr::kDegree, msr::kGon, msr::kMil};
    if (t.AngleUnit >= 0 && t.AngleUnit <= 2) msr::CAngular::unit(kAngularUnits[t.AngleUnit]);
    if (t.LinearUnit == 0 || t.LinearUnit == 1) msr::CLinear::unit(t.LinearUnit);
}

void CUEWriter::Export() {
    if (!m_pTemplate || !m_pOutput) throw std::logic_error("the text export has no template or no output");
    m_GeodeticFormat.Parse(CUETemplate::kDefaultAngleFormat, CAngleFormat::kDegree);
    m_OutputFormat.Parse(m_pTemplate->AngleFormat, m_pTemplate->AngleUnit);

    // Every setting of the library is put back when this scope ends, also
    // through a stop or a failure.
    msr::CSettingsGuard restoreSettings;
    ApplyTemplateSettings();

    int count = static_cast<int>(Points.size());
    if (OnProgressBegin) OnProgressBegin(0, count);
    // The sink's file lives as long as the run; a run that does not end well
    // leaves it incomplete, and the driver discards it.
    struct EndSink {
        CUEOutput& output;
        bool completed = false;
        ~EndSink() {
            if (!completed) output.EndExport(false);
        }
    } sink{*m_pOutput};
    m_pOutput->BeginExport(OutputFiles());

    try {
        WriteLines(count);
    } catch (const CFinishWriteSignal&) {
        // The preview has its lines.
    }
    m_pOutput->EndExport(true);
    sink.completed = true;
}

// Formats the lines block by block and writes them in order. With more than
// one core, the block after next is formatted on another thread while two are
// written.
void CUEWriter::WriteLines(int count) {
    int perBlock = m_nLinesPerBlock > 0 ? m_nLinesPerBlock : 1;
    int blocks = count / perBlock + (count % perBlock ? 1 : 0);
    bool parallel = blocks >= 4 && std::thread::hardware_concurrency() > 1;

    std::atomic<bool> cancel{false};
    auto format = [this, perBlock, count, &cancel](int b) {
        LineBlock block;
        block.first = b * perBlock;
        block.last = std::min(count, block.first + perBlock);
        FormatBlock(block, cancel);
        return block;
    };
    std::future<LineBlock> ahead;
    auto formatAhead = [&](int b) {
        try {
            ahead = std::async(std::launch::async, format, b);
        } catch (const std::system_error&) {
            ahead = std::async(std::launch::deferred, format, b);  // no thread to be had
        }
    };
    // Whatever ends the run, the block being formatted ahead is abandoned
    // and waited for before the settings are put back.
    struct JoinAhead {
        std::atomic<bool>& cancel;
        std::future<LineBlock>& ahead;
        ~JoinAhead() {
            cancel = true;
            if (ahead.valid()) ahead.wait();
        }
    } joinAhead{cancel, ahead};
    if (parallel) formatAhead(1);
    for (int b = 0; b < blocks; b += parallel ? 2 : 1) {
        LineBlock mine = format(b);
        if (!parallel) {
            WriteBlock(mine);
            continue;
        }
        LineBlock next;
        bool hasNext = b + 1 < blocks;
        if (hasNext) next = ahead.get();
        if (b + 3 < blocks) formatAhead(b + 3);
        WriteBlock(mine);
        if (hasNext) WriteBlock(next);
    }
}

void CUEWriter::FormatBlock(LineBlock& block, const std::atomic<bool>& cancel) {
    size_t slots = static_cast<size_t>(block.last - block.first);
    block.ends.reserve(slots);
    block.text.reserve(slots * 64);  // a typical line, so that the text rarely grows
    size_t nameFields = 0;
    for (const CUEField& field : m_pTemplate->Fields) nameFields += field.FieldType == CUEField::kName;
    std::string scratch;
    for (int slot = block.first; slot < block.last; ++slot) {
        if (cancel.load(std::memory_order_relaxed)) return;
        // Generated circle and radius points are construction points and
        // give no line, like left-out points.
        if (IsSurveyPoint(slot)) {
            FormatLine(slot, block.text);
            for (size_t n = 0; n < nameFields; ++n)
                ReplaceUnwritable(Points[static_cast<size_t>(slot)].Name.View(), true, scratch, block.replaced);
        }
        block.ends.push_back(block.text.size());
    }
}

void CUEWriter::WriteBlock(const LineBlock& block) {
    std::string_view text = block.text;
    size_t start = 0;
    for (int slot = block.first; slot < block.last; ++slot) {
        ThrowIfMustDie();
        if (OnProgressStep) OnProgressStep(1);
        size_t end = block.ends[static_cast<size_t>(slot - block.first)];
        if (end > start) m_pOutput->Write(text.substr(start, end - start));
        start = end;
    }
    NoteUnwritable(block.replaced, kNone, kPlacePointNames);
}

void CUEWriter::FormatLine(int slot, std::string& line) {
    for (const CUEField& field : m_pTemplate->Fields) {
        size_t start = line.size();
        FormatField(field, slot, line);
        if (m_bDosCodePage) Convert1251To866(line.data() + start, line.size() - start);
    }
    line += '\n';
}

bool CUEWriter::GeodeticText(const CText& text, int precision, std::string& out) const {
    // A blank text is no angle either, rather than 0 degrees.
    std::string_view view = text.View();
    if (view.find_first_not_of(" \t") == std::string_view::npos) return false;
    msr::CAngular angle;
    if (angle.rd_dms(m_GeodeticFormat.Read(view).c_str(), nullptr, nullptr) != 0) return false;
    out = m_OutputFormat.Write(angle, precision);
    return true;
}

void CUEWriter::FormatField(const CUEField& field, int slot, std::string& line) {
    char buffer[msr::kTextSize];
    std::string_view value;
    std::string angleText, nameText;
    const Coord3& c = PointCoords[static_cast<size_t>(slot)];
    switch (field.FieldType) {
    case CUEField::kText: value = field.Text; break;
    case CUEField::kName: {
        // A line break inside a name would split its line; FormatBlock
        // counts what this replaces.
        UnwritableCount replaced;
        value = ReplaceUnwritable(Points[static_cast<size_t>(slot)].Name.View(), true, nameText, replaced);
        break;
    }
    case CUEField::kNorth: value = msr::CNorth(c.y).write(buffer, field.Precision, nullptr); break;
    case CUEField::kEast: value = msr::CEast(c.x).write(buffer, field.Precision, nullptr); break;
    case CUEField::kHeight: value = msr::CElevation(c.z).write(buffer, field.Precision, nullptr); break;
    case CUEField::kLatitude:
    case CUEField::kLongitude: {
        const GeoCoordRec& geo = GeoCoords[static_cast<size_t>(slot)];
        const CText& text = field.FieldType == CUEField::kLatitude ? geo.Latitude : geo.Longitude;
        // A missing angle gives an empty field, without the width's
        // padding; so does an unreadable one, rather than 0 degrees.
        if (!GeodeticText(text, field.Precision, angleText)) return;
        value = angleText;
        break;
    }
    default: return;  // a kind without output is left out
    }
    size_t width = field.Width > 0 ? static_cast<size_t>(field.Width) : 0;
    size_t length = std::min(value.size(), kMaxFieldLength);
    if (width > 0 && length > width) length = width;
    size_t padding = width > length ? width - length : 0;
    if (field.Alignment != CUEField::kLeft) line.append(padding, ' ');
    line.append(value.data(), length);
    if (field.Alignment == CUEField::kLeft) line.append(padding, ' ');
}

}  // namespace tvk
