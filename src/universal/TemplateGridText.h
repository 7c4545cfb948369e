// The texts of the template grid and the "UEClipboardFormat" block, as plain
// functions for the dialog: what each cell shows, how an edited or pasted cell
// text goes back into its field, and the escaped form of literal texts. All
// texts are code page 1251.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "universal/UEField.h"

namespace tvk {

inline constexpr const char* kUEClipboardFormat = "UEClipboardFormat";

// The four editable columns, after the fixed first column.
enum class TemplateColumn { FieldType = 0, TextPrecision = 1, Width = 2, Adjustment = 3 };
inline constexpr int kTemplateColumnCount = 4;

// The display name of a field kind ("Text", "Name", "N", "E", "H",
// "Latitude", "Longitude"); "" for any other kind.
std::string FieldKindName(int kind);
// The names the grid's kind list offers: kinds 0 to 4.
std::vector<std::string> GridKindNames();
// "Left" and "Right", in that order.
std::vector<std::string> AlignmentNames();
// The grid's column headers, in column order.
std::string ColumnTitle(TemplateColumn column);

// '\' -> "\\", line feed -> "\n", tab -> "\t", blank -> "\s".
std::string EscapeText(std::string_view text);
// The inverse: "\\", "\n", "\s", "\t" give their characters; a backslash with
// any other character after it is dropped with that character; a backslash
// at the very end stays.
std::string UnescapeText(std::string_view text);

// The text a cell of `field` shows.
std::string ShownCellText(const CUEField& field, TemplateColumn column);

enum class CellTakeResult { Taken, InvalidWidth, InvalidPrecision, InvalidText };
// Takes an edited cell text back into `field`. A width outside 0..100, a
// precision outside 0..20 or a text over 100 characters leaves the field
// unchanged and says which; the caller shows the message and keeps the
// previous cell text.
CellTakeResult TakeCellText(CUEField& field, TemplateColumn column, std::string_view text);

// The clipboard block of `rows`: each cell's shown text, a zero byte and a
// tab, row by row and column by column, and a closing tab.
std::string BuildClipboardBlock(const std::vector<CUEField>& rows);
// The fields a pasted block gives: each row starts as a new field and takes
// its cells as if typed. The block ends at a zero byte without a tab after
// it, or where two tabs meet.
std::vector<CUEField> ParseClipboardBlock(std::string_view block);

}  // namespace tvk
