#include "export/ExportStrings.h"

#include "platform/StringTable.h"

namespace tvk {
namespace {

const StringEntry kExportStrings[] = {
    {IDS_EXPORT_BYTES, "bytes", "байт"},
    {IDS_OVERWRITE_TITLE, "Confirm file replace", "Подтверждение замены файла"},
    {IDS_OVERWRITE_EXISTING, "This folder already contains the file", "Папка уже содержит файл"},
    {IDS_OVERWRITE_NEW, "Replace it with the new file?", "Заменить его новым файлом?"},
    {IDS_OVERWRITE_YES, "Yes", "Да"},
    {IDS_OVERWRITE_NO, "No", "Нет"},
    {IDS_OVERWRITE_YES_TO_ALL, "Yes to all", "Да для всех"},
    {IDS_OVERWRITE_NO_TO_ALL, "No to all", "Нет для всех"},
    {IDS_OVERWRITE_CANCEL, "Cancel", "Отмена"},
};

}  // namespace

void RegisterExportStrings() {
    static const bool registered = (CStringTable::Register(kExportStrings), true);
    (void)registered;
}

}  // namespace tvk
