#include "reader/ReaderStrings.h"

#include "platform/StringTable.h"

namespace tvk {
namespace {

// Each message takes the error code and the bracketed item, both as %s.
const StringEntry kReaderStrings[] = {
    {IDS_LOG_FILE_NAME, "export.log", "export.log"},
    {IDS_ERR_BEGIN_SECTION, "%s Unexpected begin of section %s", "%s Неожиданное начало раздела %s"},
    {IDS_ERR_END_SECTION, "%s Unexpected end of section %s", "%s Неожиданный конец раздела %s"},
    {IDS_ERR_END_OF_FILE, "%s Unexpected end of file", "%s Неожиданный конец файла"},
    {IDS_ERR_SYNTAX, "%s Syntax error %s", "%s Синтаксическая ошибка %s"},
    {IDS_ERR_BODY_OF_SECTION, "%s Unexpected body of section %s", "%s Строка вне раздела %s"},
    {IDS_ERR_INDEX, "%s Invalid index %s", "%s Неверный номер %s"},
    {IDS_ERR_DESCRIPTOR, "%s Invalid descriptor %s", "%s Неверный описатель %s"},
    {IDS_ERR_POINT_INDEX, "%s Invalid point index %s", "%s Неверный номер точки %s"},
    {IDS_ERR_CODE_INDEX, "%s Invalid feature code index %s", "%s Неверный номер кода объекта %s"},
    {IDS_ERR_LAYER_INDEX, "%s Invalid layer index %s", "%s Неверный номер слоя %s"},
    {IDS_ERR_FEATURE_INDEX, "%s Invalid feature index %s", "%s Неверный номер объекта %s"},
    {IDS_ERR_PROPERTY_INDEX, "%s Invalid property index %s", "%s Неверный номер свойства %s"},
    {IDS_ERR_POINT, "%s Invalid point %s", "%s Неверная точка %s"},
    {IDS_ERR_LAYER_NAME, "%s Invalid layer name %s", "%s Неверное имя слоя %s"},
    {IDS_ERR_PROPERTY_NAME, "%s Invalid property name %s", "%s Неверное имя свойства %s"},
    {IDS_WARN_NO_SECTION, "Warning: the file has no section of survey data: ",
     "Предупреждение: в файле нет ни одного раздела данных съёмки: "},
    {IDS_WARN_FLAT_CIRCLE,
     "Warning: the points of the circle or arc lie on one line or coincide; it is written with radius 0 at its "
     "first point ",
     "Предупреждение: точки окружности или дуги лежат на одной прямой или совпадают; она записана с радиусом 0 в "
     "своей первой точке "},
    {IDS_WARN_PARTLY_READ_NUMBER,
     "Warning: a coordinate of the point goes on past its number, and only the number is read ",
     "Предупреждение: в координате точки после числа есть ещё знаки, прочитано только число "},
};

}  // namespace

void RegisterReaderStrings() {
    static const bool registered = [] {
        CStringTable::Register(kReaderStrings);
        return true;
    }();
    (void)registered;
}

}  // namespace tvk
