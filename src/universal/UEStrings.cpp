#include "universal/UEStrings.h"

#include "platform/StringTable.h"

namespace tvk {
namespace {

const StringEntry kUEStrings[] = {
    {IDS_UE_KIND_TEXT, "Text", "Текст"},
    {IDS_UE_KIND_NAME, "Name", "Имя"},
    {IDS_UE_KIND_NORTH, "N", "N"},
    {IDS_UE_KIND_EAST, "E", "E"},
    {IDS_UE_KIND_HEIGHT, "H", "H"},
    {IDS_UE_KIND_LATITUDE, "Latitude", "Широта"},
    {IDS_UE_KIND_LONGITUDE, "Longitude", "Долгота"},
    {IDS_UE_ALIGN_LEFT, "Left", "Влево"},
    {IDS_UE_ALIGN_RIGHT, "Right", "Вправо"},
    {IDS_UE_COLUMN_FIELD_TYPE, "Field type", "Тип поля"},
    {IDS_UE_COLUMN_TEXT_PRECISION, "Text/Precision", "Текст/Точность"},
    {IDS_UE_COLUMN_WIDTH, "Width", "Ширина"},
    {IDS_UE_COLUMN_ADJUSTMENT, "Adjustment", "Выравнивание"},
    {IDS_UE_INVALID_WIDTH, "Invalid width. Please repeat input", "Неверная ширина. Повторите ввод"},
    {IDS_UE_INVALID_PRECISION, "Invalid precision. Please repeat input", "Неверная точность. Повторите ввод"},
    {IDS_UE_INVALID_ANGLE_TEMPLATE, "Invalid angle template", "Неверный шаблон угла"},
    {IDS_UE_INVALID_VALUE, "Invalid value. Please repeat input.", "Неверное значение. Повторите ввод."},
    {IDS_UE_CANT_OPEN_DEFAULT, "Can't open default template file (%s)\nAttempt to load %s",
     "Не удается открыть файл шаблона по умолчанию (%s)\nПопытка загрузить %s"},
    {IDS_UE_INTERN_TEMPLATE_USED, "Can't open %s\nIntern template will be used",
     "Не удается открыть %s\nБудет использован встроенный шаблон"},
    {IDS_UE_NO_MEMORY_FOR_TEMPLATE, "Not enough memory to load the template\nIntern template will be used",
     "Недостаточно памяти для загрузки шаблона\nБудет использован встроенный шаблон"},
};

}  // namespace

void RegisterUEStrings() {
    static const bool registered = (CStringTable::Register(kUEStrings), true);
    (void)registered;
}

}  // namespace tvk
