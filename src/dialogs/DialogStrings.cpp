#include "dialogs/DialogStrings.h"

#include "platform/CodePage.h"
#include "platform/StringTable.h"

namespace tvk {
namespace {

const StringEntry kDialogStrings[] = {
    {IDS_FILE_IO_ERROR, "File input/output error", "Ошибка ввода/вывода файла"},
    {IDS_OUT_OF_MEMORY, "Out of memory", "Недостаточно памяти"},
    {IDS_USER_BREAK, "User break", "Прервано пользователем"},
    {IDS_EXPORT_SUCCEED, "Export succeed", "Экспорт завершён"},
    {IDS_READING_OBJECT_DATA, "Reading object data...", "Чтение данных объектов..."},
    {IDS_EXPORTING_DXF, "Exporting to DXF...", "Экспорт в DXF..."},
    {IDS_EXPORTING_MIF, "Exporting to MIF...", "Экспорт в MIF..."},
    {IDS_EXPORTING_SHP, "Exporting to shapefiles...", "Экспорт в шейп-файлы..."},
    {IDS_EXPORTING, "Exporting...", "Экспорт..."},
    {IDS_READY, "Ready", "Готово"},
    {IDS_ABOUT_DXF, "&About DXF Export...", "&О программе экспорта в DXF..."},
    {IDS_ABOUT_MIF, "&About MapInfo Export...", "&О программе экспорта в MapInfo..."},
    {IDS_ABOUT_SHP, "&About ArcInfo Export...", "&О программе экспорта в ArcInfo..."},
    {IDS_ABOUT_UE, "&About Universal Export...", "&О программе универсального экспорта..."},
    {IDS_TITLE_DXF, "DXF Export", "Экспорт в DXF"},
    {IDS_TITLE_MIF, "MapInfo Export", "Экспорт в MapInfo"},
    {IDS_TITLE_SHP, "ArcInfo Export", "Экспорт в ArcInfo"},
    {IDS_TITLE_UE, "Universal Export", "Универсальный экспорт"},
    {IDS_LAYER_NAME_UNIQUE, "Layer name must be unique", "Имя слоя должно быть уникальным"},
    {IDS_INVALID_FILE_NAME, "Invalid file name", "Недопустимое имя файла"},
    {IDS_EXPORT_TO_DIRECTORY, "Export to directory %s ?", "Экспортировать в папку %s ?"},
    {IDS_COL_DXF_LAYER, "DXF layer name", "Имя слоя DXF"},
    {IDS_COL_TLX_LAYER, "TLX Layer Name", "Имя слоя TLX"},
    {IDS_COL_FILE_NAME, "File name", "Имя файла"},
    {IDS_COL_LAYER_NAME, "Layer name", "Имя слоя"},
    {IDS_BUTTON_EXPORT, "&Export", "&Экспорт"},
    {IDS_BUTTON_CLOSE, "Close", "Закрыть"},
    {IDS_BUTTON_OPEN, "&Open...", "&Открыть..."},
    {IDS_LAYERS_GROUP, "Layers", "Слои"},
    {IDS_FOLDER_GROUP, "Export folder", "Папка экспорта"},
    {IDS_NO_ATTRIBUTES, "Export without attributes", "Экспорт без атрибутов"},
    {IDS_PRESERVE_ELEV, "Absolute elevation in attributes", "Абсолютная отметка в атрибутах"},
    {IDS_PRESERVE_NE, "Plan coordinates in attributes", "Плановые координаты в атрибутах"},
    {IDS_DXF_FILTER, "DXF (*.dxf)", "DXF (*.dxf)"},
    {IDS_TLX_FILTER, "Terralog Exchange (*.tlx);;All Files (*)", "Terralog Exchange (*.tlx);;Все файлы (*)"},
    {IDS_OVERWRITE_TITLE, "Confirm file replace", "Подтверждение замены файла"},
    {IDS_OVERWRITE_EXISTING, "This folder already contains the file", "Папка уже содержит файл"},
    {IDS_OVERWRITE_NEW, "Replace it with the file", "Заменить его файлом"},
    {IDS_YES, "&Yes", "&Да"},
    {IDS_NO, "&No", "&Нет"},
    {IDS_YES_TO_ALL, "Yes to &all", "Да для &всех"},
    {IDS_NO_TO_ALL, "No to a&ll", "Нет для в&сех"},
    {IDS_CANCEL, "Cancel", "Отмена"},
    {IDS_ABOUT_TEXT, "%s\nVersion 1.0", "%s\nВерсия 1.0"},
    {IDS_NOT_1251, "The name has characters that code page 1251 cannot hold",
     "Имя содержит символы, которых нет в кодовой странице 1251"},
    {IDS_OK, "OK", "OK"},
    {IDS_PLACE_HOME, "Home", "Домашняя папка"},
    {IDS_PLACE_FILE_SYSTEM, "File system", "Файловая система"},
};

}  // namespace

void RegisterDialogStrings() { CStringTable::Register(kDialogStrings); }

QString Tr(unsigned id) {
    RegisterDialogStrings();
    return QString::fromStdString(CStringTable::LoadUtf8(id));
}

QString FromModel(const std::string& text1251) { return QString::fromStdString(Utf8From1251(text1251)); }

bool ToModel(const QString& text, std::string& text1251) { return Cp1251FromUtf8(text.toStdString(), text1251); }

}  // namespace tvk
