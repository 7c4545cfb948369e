#include "export/ChangeReport.h"

#include "platform/StringTable.h"
#include "platform/Text.h"

namespace tvk {
namespace {

enum ChangeStringId : unsigned {
    IDS_CHANGES_HEADING = 8650,
    IDS_CHANGE_WHERE_LAYER,
    IDS_CHANGE_WHERE_COLUMN,
    IDS_CHANGE_WHERE_LABELS,
    IDS_CHANGE_WHERE_SYMBOLS,
    IDS_CHANGE_WHERE_POINT_NAMES,
    IDS_CHANGE_ENTRY_FIRST = 8660,  // one per ChangeKind, in its order
    IDS_CHANGE_TITLE_FIRST = 8680,  // one per ChangeKind, in its order
};

const StringEntry kChangeStrings[] = {
    {IDS_CHANGES_HEADING, "Changes to fit the format:", "Изменения для соответствия формату:"},
    {IDS_CHANGE_WHERE_LAYER, "Layer \"%s\"", "Слой \"%s\""},
    {IDS_CHANGE_WHERE_COLUMN, "Layer \"%s\", column \"%s\"", "Слой \"%s\", столбец \"%s\""},
    {IDS_CHANGE_WHERE_LABELS, "Layer \"%s\", point labels", "Слой \"%s\", подписи точек"},
    {IDS_CHANGE_WHERE_SYMBOLS, "Layer \"%s\", symbols", "Слой \"%s\", символы"},
    {IDS_CHANGE_WHERE_POINT_NAMES, "Point names", "Имена точек"},
    // Entries: ValueCut and NumberRounded take the width, the count and the
    // longest length; NumberEmptied the count and the longest length; the
    // characters and shapes the count; names the name written; clamps the
    // value declared and the value written.
    {IDS_CHANGE_ENTRY_FIRST + 0, "values cut to %d characters: %lld (longest %zu)",
     "значения обрезаны до %d символов: %lld (самое длинное %zu)"},
    {IDS_CHANGE_ENTRY_FIRST + 1, "numbers rounded to fit %d characters: %lld (longest %zu)",
     "числа округлены до %d символов: %lld (самое длинное %zu)"},
    {IDS_CHANGE_ENTRY_FIRST + 2, "numbers that do not fit the field written empty: %lld (longest %zu)",
     "числа, не помещающиеся в поле, записаны пустыми: %lld (самое длинное %zu)"},
    {IDS_CHANGE_ENTRY_FIRST + 3, "control characters replaced: %lld", "управляющие символы заменены: %lld"},
    {IDS_CHANGE_ENTRY_FIRST + 4, "bytes undefined in code page 1251 replaced: %lld",
     "байты вне кодовой страницы 1251 заменены: %lld"},
    {IDS_CHANGE_ENTRY_FIRST + 5, "field name cut to \"%s\"", "имя поля сокращено до \"%s\""},
    {IDS_CHANGE_ENTRY_FIRST + 6, "field name made unique as \"%s\"", "имя поля сделано уникальным: \"%s\""},
    {IDS_CHANGE_ENTRY_FIRST + 7, "file name changed to \"%s\"", "имя файла изменено на \"%s\""},
    {IDS_CHANGE_ENTRY_FIRST + 8, "layer name changed to \"%s\"", "имя слоя изменено на \"%s\""},
    {IDS_CHANGE_ENTRY_FIRST + 9, "shapes with a point repeated to be valid: %lld",
     "фигуры, дополненные повтором точки: %lld"},
    {IDS_CHANGE_ENTRY_FIRST + 10, "field width %d written as %d", "ширина поля %d записана как %d"},
    {IDS_CHANGE_ENTRY_FIRST + 11, "decimals %d written as %d", "число десятичных знаков %d записано как %d"},
    {IDS_CHANGE_TITLE_FIRST + 0, "values cut", "значения обрезаны"},
    {IDS_CHANGE_TITLE_FIRST + 1, "numbers rounded", "числа округлены"},
    {IDS_CHANGE_TITLE_FIRST + 2, "numbers written empty", "числа записаны пустыми"},
    {IDS_CHANGE_TITLE_FIRST + 3, "control characters replaced", "управляющие символы заменены"},
    {IDS_CHANGE_TITLE_FIRST + 4, "bytes undefined in code page 1251 replaced",
     "байты вне кодовой страницы 1251 заменены"},
    {IDS_CHANGE_TITLE_FIRST + 5, "field names cut", "имена полей сокращены"},
    {IDS_CHANGE_TITLE_FIRST + 6, "field names made unique", "имена полей сделаны уникальными"},
    {IDS_CHANGE_TITLE_FIRST + 7, "file names changed", "имена файлов изменены"},
    {IDS_CHANGE_TITLE_FIRST + 8, "layer names changed", "имена слоёв изменены"},
    {IDS_CHANGE_TITLE_FIRST + 9, "shapes with a point repeated", "фигуры, дополненные повтором точки"},
    {IDS_CHANGE_TITLE_FIRST + 10, "field widths clamped", "ширины полей ограничены"},
    {IDS_CHANGE_TITLE_FIRST + 11, "decimals clamped", "числа десятичных знаков ограничены"},
};

std::string Text(unsigned id) {
    static const bool registered = (CStringTable::Register(kChangeStrings), true);
    (void)registered;
    return CStringTable::Load(id);
}

// Counted kinds add up their counts; the others are one change per entry.
bool IsCounted(ChangeKind kind) {
    switch (kind) {
    case ChangeKind::FieldNameCut:
    case ChangeKind::FieldNameMadeUnique:
    case ChangeKind::FileNameChanged:
    case ChangeKind::LayerNameChanged:
    case ChangeKind::WidthClamped:
    case ChangeKind::DecimalsClamped: return false;
    default: return true;
    }
}

std::string Where(const ChangeEntry& e) {
    switch (e.place) {
    case kPlaceLayer: return StrFormat(Text(IDS_CHANGE_WHERE_LAYER).c_str(), e.layer.c_str());
    case kPlaceLabels: return StrFormat(Text(IDS_CHANGE_WHERE_LABELS).c_str(), e.layer.c_str());
    case kPlaceSymbols: return StrFormat(Text(IDS_CHANGE_WHERE_SYMBOLS).c_str(), e.layer.c_str());
    case kPlacePointNames: return Text(IDS_CHANGE_WHERE_POINT_NAMES);
    default: return StrFormat(Text(IDS_CHANGE_WHERE_COLUMN).c_str(), e.layer.c_str(), e.column.c_str());
    }
}

std::string What(const ChangeEntry& e) {
    const std::string format = Text(IDS_CHANGE_ENTRY_FIRST + unsigned(e.kind));
    switch (e.kind) {
    case ChangeKind::ValueCut:
    case ChangeKind::NumberRounded: return StrFormat(format.c_str(), e.limit, e.count, e.longest);
    case ChangeKind::NumberEmptied: return StrFormat(format.c_str(), e.count, e.longest);
    case ChangeKind::WidthClamped:
    case ChangeKind::DecimalsClamped: return StrFormat(format.c_str(), e.limit, e.clampedTo);
    default:
        if (IsCounted(e.kind)) return StrFormat(format.c_str(), e.count);
        return StrFormat(format.c_str(), e.detail.c_str());
    }
}

// A text of the survey as the log shows it: a control character would break
// the line it stands on.
std::string Shown(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return text;
}

}  // namespace

void CChangeReport::Clear() {
    entries_.clear();
    for (auto& index : index_) index.clear();
}

std::string CChangeReport::Heading() { return Text(IDS_CHANGES_HEADING); }

std::vector<std::string> CChangeReport::Lines(size_t maxLines) const {
    std::vector<std::string> lines;
    if (entries_.size() <= maxLines) {
        for (const ChangeEntry& e : entries_) lines.push_back(Shown(Where(e) + ": " + What(e)));
        return lines;
    }
    long long totals[kChangeKindCount] = {};
    for (const ChangeEntry& e : entries_) totals[int(e.kind)] += IsCounted(e.kind) ? e.count : 1;
    for (int k = 0; k < kChangeKindCount; ++k)
        if (totals[k]) lines.push_back(Text(IDS_CHANGE_TITLE_FIRST + unsigned(k)) + StrFormat(": %lld", totals[k]));
    return lines;
}

}  // namespace tvk
