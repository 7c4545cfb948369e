// Ids of the universal export dialog's and the export options dialog's texts
// (English and Russian in UEDlgStrings.cpp). The grid's kind and alignment
// names and the template messages come from the universal export's table.
#pragma once
#include <QString>

namespace tvk {

enum UEDlgStringId : unsigned {
    IDS_UED_TITLE = 9601,  // "Universal export"
    IDS_UED_LOAD,
    IDS_UED_SAVE,
    IDS_UED_SET_DEFAULT,
    IDS_UED_INSERT,
    IDS_UED_DELETE,
    IDS_UED_OPTIONS,
    IDS_UED_PREVIEW,
    IDS_UED_EXPORT,
    IDS_UED_FONT,
    IDS_UED_TIP_LOAD,
    IDS_UED_TIP_SAVE,
    IDS_UED_TIP_SET_DEFAULT,
    IDS_UED_TIP_UP,
    IDS_UED_TIP_DOWN,
    IDS_UED_TIP_INSERT,
    IDS_UED_TIP_DELETE,
    IDS_UED_TIP_OPTIONS,
    IDS_UED_TIP_PREVIEW,
    IDS_UED_TIP_EXPORT,
    IDS_UED_TIP_CLOSE,
    IDS_UED_TIP_PREVIEW_BOX,
    IDS_UED_TIP_FONT,
    IDS_UED_MENU_COPY,
    IDS_UED_MENU_CUT,
    IDS_UED_MENU_PASTE,
    IDS_UED_MENU_INSERT,
    IDS_UED_MENU_DELETE,
    IDS_UED_MENU_UP,
    IDS_UED_MENU_DOWN,
    IDS_UED_MENU_SELECT_ALL,
    IDS_UED_TEMPLATE_FILTER,  // the open and save choosers' filter
    IDS_UED_EXTERNAL_FILTER,  // %1 the template's file filter
    IDS_UED_ALL_FILES_FILTER,
    IDS_UED_CANT_LOAD,    // %1 file, %2 cause
    IDS_UED_CANT_SAVE,    // %1 file, %2 cause
    IDS_UED_CANT_CREATE,  // %1 file, %2 cause
    IDS_UED_NOT_1251,
    IDS_UED_NOT_SAVED,   // %1 why
    IDS_UED_FAULT_TEXT,  // %1 row
    IDS_UED_FAULT_ROW,   // %1 row
    IDS_UED_FAULT_SETTINGS,
    // The export options dialog.
    IDS_UEO_TITLE = 9651,
    IDS_UEO_NORTH_TYPE,
    IDS_UEO_N0,
    IDS_UEO_EAST_TYPE,
    IDS_UEO_E0,
    IDS_UEO_ZONE,
    IDS_UEO_ANGLE_UNITS,
    IDS_UEO_DEGREE,
    IDS_UEO_GON,
    IDS_UEO_MIL,
    IDS_UEO_ANGLE_FORMAT,
    IDS_UEO_LINEAR_UNITS,
    IDS_UEO_METER,
    IDS_UEO_FOOT,
    IDS_UEO_FILE_FILTER,
    IDS_UEO_DOS,
    IDS_UEO_NORTH_PLAIN,
    IDS_UEO_NORTH_MINUS_ORIGIN,
    IDS_UEO_EAST_PLAIN,
    IDS_UEO_EAST_PLUS_ORIGIN,
    IDS_UEO_EAST_ZONED,
    IDS_UEO_TIP_NORTH_TYPE,
    IDS_UEO_TIP_N0,
    IDS_UEO_TIP_EAST_TYPE,
    IDS_UEO_TIP_E0,
    IDS_UEO_TIP_ZONE,
    IDS_UEO_TIP_DEGREE,
    IDS_UEO_TIP_GON,
    IDS_UEO_TIP_MIL,
    IDS_UEO_TIP_ANGLE_FORMAT,
    IDS_UEO_TIP_METER,
    IDS_UEO_TIP_FOOT,
    IDS_UEO_TIP_FILE_FILTER,
    IDS_UEO_TIP_DOS,
    IDS_UEO_ZONE_RANGE,  // %1 lowest, %2 highest
};

// The text of `id` in the user's language, for a widget; ids of the
// universal export's own table (UEStrings.h) are served too.
QString UETr(unsigned id);

}  // namespace tvk
