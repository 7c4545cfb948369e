// What an export changed to make the data fit its format: values cut or
// emptied, names shortened or made unique, characters replaced, shapes
// repeated, field definitions clamped. The writers count into one report per
// export; the driver writes it at the end of the export log, the command
// line prints it and the dialogs show it. A strict export fails when the
// report is not empty.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace tvk {

enum class ChangeKind : int {
    ValueCut,            // a text cut to its field's width
    NumberRounded,       // a number rounded to the decimals its field holds
    NumberEmptied,       // a number that does not fit its field, written empty
    ControlCharacter,    // a byte below 32 written as a blank (a symbol as the empty text)
    UndefinedCharacter,  // a byte code page 1251 has no character for (0x98), written likewise
    FieldNameCut,
    FieldNameMadeUnique,
    FileNameChanged,   // cut, made unique, or built for a blank layer name
    LayerNameChanged,  // the same for a drawing's layer names
    ShapeRepeated,     // a shape whose point was repeated until it is valid
    WidthClamped,
    DecimalsClamped,
};
inline constexpr int kChangeKindCount = 12;

// Places that are no column of a layer.
enum ChangePlace : int {
    kPlaceLayer = -1,       // the layer as a whole (names, shapes)
    kPlaceLabels = -2,      // the point-name labels of a drawing
    kPlaceSymbols = -3,     // the symbols of a layer (their character or font)
    kPlacePointNames = -4,  // the point names of a text export
};

struct ChangeEntry {
    ChangeKind kind = ChangeKind::ValueCut;
    std::string layer;   // the layer's name as the survey gives it (1251)
    std::string column;  // the column's name as the survey gives it, for a column
    int place = kPlaceLayer;
    std::string detail;  // names: the name written
    long long count = 0;
    size_t longest = 0;  // values: the longest length seen
    int limit = 0;       // values: the field's width; clamps: the value declared
    int clampedTo = 0;   // clamps: the value written
};

class CChangeReport {
public:
    // The entry of `kind` at (layer slot, column or ChangePlace), created on
    // first use with `describe(entry)` filling its texts. Callers add to its
    // count and longest length.
    template <class Describe>
    ChangeEntry& At(ChangeKind kind, int layer, int place, Describe&& describe) {
        const uint64_t key = uint64_t(uint32_t(layer)) << 32 | uint32_t(place);
        auto [it, added] = index_[int(kind)].try_emplace(key, entries_.size());
        if (!added) return entries_[it->second];
        ChangeEntry& entry = entries_.emplace_back();
        entry.kind = kind;
        entry.place = place;
        describe(entry);
        return entry;
    }

    bool Empty() const { return entries_.empty(); }
    void Clear();
    const std::vector<ChangeEntry>& Entries() const { return entries_; }

    // One line per entry, in the order first met, in the current language
    // (1251); when there are more than `maxLines` entries, one line per kind
    // instead.
    std::vector<std::string> Lines(size_t maxLines = SIZE_MAX) const;
    // How many lines a summary on the terminal or in a message box shows.
    static constexpr size_t kShortLines = 10;
    // The line that heads the summary ("Changes to fit the format:").
    static std::string Heading();

private:
    std::vector<ChangeEntry> entries_;
    std::unordered_map<uint64_t, size_t> index_[kChangeKindCount];  // per kind: place -> entry
};

// Thrown by the export driver when a strict export would change the data.
class CChangesRefusedSignal {};

}  // namespace tvk
