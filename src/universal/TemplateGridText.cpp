#include "universal/TemplateGridText.h"

#include "platform/NumberText.h"
#include "platform/StringTable.h"
#include "platform/Text.h"
#include "universal/UEStrings.h"

namespace tvk {

std::string FieldKindName(int kind) {
    if (kind < CUEField::kText || kind > CUEField::kLongitude) return std::string();
    RegisterUEStrings();
    return CStringTable::Load(IDS_UE_KIND_TEXT + static_cast<unsigned>(kind));
}

std::vector<std::string> GridKindNames() {
    std::vector<std::string> names;
    for (int kind = CUEField::kText; kind <= CUEField::kHeight; ++kind) names.push_back(FieldKindName(kind));
    return names;
}

std::vector<std::string> AlignmentNames() {
    RegisterUEStrings();
    return {CStringTable::Load(IDS_UE_ALIGN_LEFT), CStringTable::Load(IDS_UE_ALIGN_RIGHT)};
}

std::string ColumnTitle(TemplateColumn column) {
    RegisterUEStrings();
    return CStringTable::Load(IDS_UE_COLUMN_FIELD_TYPE + static_cast<unsigned>(column));
}

std::string EscapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case ' ': out += "\\s"; break;
        default: out += c;
        }
    }
    return out;
}

std::string UnescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 's': out += ' '; break;
        case 't': out += '\t'; break;
        default: break;  // an unknown escape is dropped whole
        }
    }
    return out;
}

std::string ShownCellText(const CUEField& field, TemplateColumn column) {
    switch (column) {
    case TemplateColumn::FieldType: return FieldKindName(field.FieldType);
    case TemplateColumn::TextPrecision:
        if (field.FieldType == CUEField::kText) return EscapeText(field.Text);
        if (field.FieldType == CUEField::kName) return std::string();
        return std::to_string(field.Precision);
    case TemplateColumn::Width: return std::to_string(field.Width);
    case TemplateColumn::Adjustment: {
        auto names = AlignmentNames();
        return field.Alignment == CUEField::kRight ? names[1] : names[0];
    }
    }
    return std::string();
}

namespace {

int DecimalValue(std::string_view text) { return AtoI(std::string(text).c_str()); }

}  // namespace

CellTakeResult TakeCellText(CUEField& field, TemplateColumn column, std::string_view text) {
    switch (column) {
    case TemplateColumn::FieldType: {
        // All seven names are looked up, so that a copied Latitude or
        // Longitude row pastes back as itself; 0 (Text) when unknown.
        field.FieldType = CUEField::kText;
        for (int kind = CUEField::kText; kind <= CUEField::kLongitude; ++kind)
            if (text == FieldKindName(kind)) field.FieldType = kind;
        break;
    }
    case TemplateColumn::TextPrecision:
        if (field.FieldType == CUEField::kText) {
            std::string taken = UnescapeText(TrimmedView(text));
            if (taken.size() > static_cast<size_t>(CUEField::kMaxTextLength)) return CellTakeResult::InvalidText;
            field.Text = std::move(taken);
        } else if (field.FieldType != CUEField::kName) {
            int precision = DecimalValue(text);
            if (precision < 0 || precision > CUEField::kMaxPrecision) return CellTakeResult::InvalidPrecision;
            field.Precision = precision;
        }
        break;
    case TemplateColumn::Width: {
        int width = DecimalValue(text);
        if (width < 0 || width > CUEField::kMaxWidth) return CellTakeResult::InvalidWidth;
        field.Width = width;
        break;
    }
    case TemplateColumn::Adjustment: {
        // An unknown word (e.g. pasted from a session in another language)
        // keeps the alignment, so that the template stays valid.
        auto names = AlignmentNames();
        if (text == names[0]) field.Alignment = CUEField::kLeft;
        else if (text == names[1]) field.Alignment = CUEField::kRight;
        break;
    }
    }
    return CellTakeResult::Taken;
}

std::string BuildClipboardBlock(const std::vector<CUEField>& rows) {
    std::string block;
    for (const CUEField& field : rows) {
        for (int c = 0; c < kTemplateColumnCount; ++c) {
            block += ShownCellText(field, static_cast<TemplateColumn>(c));
            block += '\0';
            block += '\t';
        }
    }
    block += '\t';
    return block;
}

std::vector<CUEField> ParseClipboardBlock(std::string_view block) {
    std::vector<CUEField> rows;
    size_t pos = 0;
    int column = 0;
    for (;;) {
        size_t zero = block.find('\0', pos);
        if (zero == std::string_view::npos) break;
        if (column == 0) rows.emplace_back();
        TakeCellText(rows.back(), static_cast<TemplateColumn>(column), block.substr(pos, zero - pos));
        pos = zero + 1;
        if (pos >= block.size() || block[pos] != '\t') break;
        ++pos;
        if (pos < block.size() && block[pos] == '\t') break;
        column = (column + 1) % kTemplateColumnCount;
    }
    return rows;
}

}  // namespace tvk
