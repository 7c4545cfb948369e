#include "dialogs/UEDlgStrings.h"

#include "platform/StringTable.h"
#include "universal/UEStrings.h"

namespace tvk {
namespace {

const StringEntry kUEDlgStrings[] = {
    {IDS_UED_TITLE, "Universal export", "Универсальный экспорт"},
    {IDS_UED_LOAD, "&Load...", "&Загрузить..."},
    {IDS_UED_SAVE, "&Save...", "&Сохранить..."},
    {IDS_UED_SET_DEFAULT, "Se&t as default", "С&делать шаблоном по умолчанию"},
    {IDS_UED_INSERT, "&Insert", "&Вставить"},
    {IDS_UED_DELETE, "&Delete", "&Удалить"},
    {IDS_UED_OPTIONS, "&Options...", "&Параметры..."},
    {IDS_UED_PREVIEW, "Pre&view", "П&росмотр"},
    {IDS_UED_EXPORT, "&Export...", "&Экспорт..."},
    {IDS_UED_FONT, "&Font...", "&Шрифт..."},
    {IDS_UED_TIP_LOAD, "Loads an existing template", "Загружает существующий шаблон"},
    {IDS_UED_TIP_SAVE, "Saves template", "Сохраняет шаблон"},
    {IDS_UED_TIP_SET_DEFAULT, "Sets this template as default to load it at begin of next export session",
     "Делает этот шаблон шаблоном по умолчанию, чтобы загрузить его в начале следующего сеанса экспорта"},
    {IDS_UED_TIP_UP, "Shifts up selected rows", "Сдвигает выделенные строки вверх"},
    {IDS_UED_TIP_DOWN, "Shifts down selected rows", "Сдвигает выделенные строки вниз"},
    {IDS_UED_TIP_INSERT, "Inserts new row", "Вставляет новую строку"},
    {IDS_UED_TIP_DELETE, "Deletes selected rows", "Удаляет выделенные строки"},
    {IDS_UED_TIP_OPTIONS, "Displays export options dialog", "Открывает окно параметров экспорта"},
    {IDS_UED_TIP_PREVIEW, "Shows/Hides preview dialog", "Показывает/скрывает окно просмотра"},
    {IDS_UED_TIP_EXPORT, "Exports to text file", "Экспортирует в текстовый файл"},
    {IDS_UED_TIP_CLOSE, "Closes export dialog", "Закрывает окно экспорта"},
    {IDS_UED_TIP_PREVIEW_BOX, "Preview window", "Окно просмотра"},
    {IDS_UED_TIP_FONT, "Changes font for preview dialog", "Меняет шрифт окна просмотра"},
    {IDS_UED_MENU_COPY, "&Copy", "&Копировать"},
    {IDS_UED_MENU_CUT, "Cu&t", "&Вырезать"},
    {IDS_UED_MENU_PASTE, "&Paste", "Вст&авить"},
    {IDS_UED_MENU_INSERT, "&Insert new row", "Вставить новую с&троку"},
    {IDS_UED_MENU_DELETE, "&Delete selected rows", "&Удалить выделенные строки"},
    {IDS_UED_MENU_UP, "Move selected rows &up", "Сдвинуть выделенные строки вв&ерх"},
    {IDS_UED_MENU_DOWN, "Move selected rows do&wn", "Сдвинуть выделенные строки в&низ"},
    {IDS_UED_MENU_SELECT_ALL, "Select &all rows", "Выделить в&се строки"},
    {IDS_UED_TEMPLATE_FILTER, "Export templates (*.ue)", "Шаблоны экспорта (*.ue)"},
    {IDS_UED_EXTERNAL_FILTER, "External formats (%1)", "Внешние форматы (%1)"},
    {IDS_UED_ALL_FILES_FILTER, "All files (*)", "Все файлы (*)"},
    {IDS_UED_CANT_LOAD, "Can't load template %1\n%2", "Не удается загрузить шаблон %1\n%2"},
    {IDS_UED_CANT_SAVE, "Can't save template %1\n%2", "Не удается сохранить шаблон %1\n%2"},
    {IDS_UED_CANT_CREATE, "Can't create %1\n%2", "Не удается создать %1\n%2"},
    {IDS_UED_NOT_1251, "The text has characters that code page 1251 cannot hold",
     "Текст содержит символы, которых нет в кодовой странице 1251"},
    {IDS_UED_NOT_SAVED, "The template was not saved: %1", "Шаблон не сохранён: %1"},
    {IDS_UED_FAULT_TEXT, "the text of row %1 is longer than 100 characters", "текст строки %1 длиннее 100 символов"},
    {IDS_UED_FAULT_ROW, "row %1 has a kind, width, precision or adjustment out of range",
     "в строке %1 тип, ширина, точность или выравнивание вне допустимых значений"},
    {IDS_UED_FAULT_SETTINGS, "an export option is out of range", "параметр экспорта вне допустимых значений"},
    {IDS_UEO_TITLE, "Export options", "Параметры экспорта"},
    {IDS_UEO_NORTH_TYPE, "N type:", "Тип N:"},
    {IDS_UEO_N0, "N0, m:", "N0, м:"},
    {IDS_UEO_EAST_TYPE, "E type:", "Тип E:"},
    {IDS_UEO_E0, "E0, m:", "E0, м:"},
    {IDS_UEO_ZONE, "Zone:", "Зона:"},
    {IDS_UEO_ANGLE_UNITS, "Angle units", "Угловые единицы"},
    {IDS_UEO_DEGREE, "&Degree", "&Градус"},
    {IDS_UEO_GON, "&Gon", "Г&он"},
    {IDS_UEO_MIL, "&Mil", "&Тысячная"},
    {IDS_UEO_ANGLE_FORMAT, "Angle format:", "Формат угла:"},
    {IDS_UEO_LINEAR_UNITS, "Linear units", "Линейные единицы"},
    {IDS_UEO_METER, "M&eter", "&Метр"},
    {IDS_UEO_FOOT, "&Foot", "&Фут"},
    {IDS_UEO_FILE_FILTER, "File filter:", "Фильтр файлов:"},
    {IDS_UEO_DOS, "MS-DOS code page (CP866)", "Кодовая страница MS-DOS (CP866)"},
    {IDS_UEO_NORTH_PLAIN, "N", "N"},
    {IDS_UEO_NORTH_MINUS_ORIGIN, "N-No", "N-No"},
    {IDS_UEO_EAST_PLAIN, "E", "E"},
    {IDS_UEO_EAST_PLUS_ORIGIN, "E+Eo", "E+Eo"},
    {IDS_UEO_EAST_ZONED, "Zone E+Eo", "Зона E+Eo"},
    {IDS_UEO_TIP_NORTH_TYPE, "Coordinate N type", "Вид координаты N"},
    {IDS_UEO_TIP_N0, "N0 value", "Значение N0"},
    {IDS_UEO_TIP_EAST_TYPE, "Coordinate E type", "Вид координаты E"},
    {IDS_UEO_TIP_E0, "E0 value", "Значение E0"},
    {IDS_UEO_TIP_ZONE, "Zone number", "Номер зоны"},
    {IDS_UEO_TIP_DEGREE, "Set degree units", "Градусы"},
    {IDS_UEO_TIP_GON, "Set gon units", "Гоны"},
    {IDS_UEO_TIP_MIL, "Set mil units", "Тысячные"},
    {IDS_UEO_TIP_ANGLE_FORMAT, "Degree value format", "Формат значения в градусах"},
    {IDS_UEO_TIP_METER, "Set meter units", "Метры"},
    {IDS_UEO_TIP_FOOT, "Set foot units", "Футы"},
    {IDS_UEO_TIP_FILE_FILTER, "File filter for export files", "Фильтр имен файлов экспорта"},
    {IDS_UEO_TIP_DOS, "Support MS-DOS code page (CP866)", "Поддержка кодовой страницы MS-DOS (CP866)"},
    {IDS_UEO_ZONE_RANGE, "Please enter an integer between %1 and %2.", "Введите целое число от %1 до %2."},
};

}  // namespace

QString UETr(unsigned id) {
    static const bool registered = (CStringTable::Register(kUEDlgStrings), RegisterUEStrings(), true);
    (void)registered;
    return QString::fromStdString(CStringTable::LoadUtf8(id));
}

}  // namespace tvk
