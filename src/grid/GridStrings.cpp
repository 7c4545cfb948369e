#include "grid/GridStrings.h"

#include "platform/StringTable.h"

namespace tvk {
namespace {
const StringEntry kGridStrings[] = {
    {IDS_INVALID_WIDTH, "Invalid width. Please repeat input", "Недопустимая ширина. Повторите ввод"},
    {IDS_INVALID_PRECISION, "Invalid precision. Please repeat input", "Недопустимая точность. Повторите ввод"},
    {IDS_INVALID_TEXT, "Text too long: at most 100 characters. Please repeat input",
     "Слишком длинный текст: не более 100 символов. Повторите ввод"},
};
}  // namespace

QString GridText(unsigned id) {
    CStringTable::Register(kGridStrings);
    return QString::fromStdString(CStringTable::LoadUtf8(id));
}

}  // namespace tvk
