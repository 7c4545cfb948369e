// Ids of the dialogs' texts in the string table, and the Qt-side accessor.
#pragma once
#include <QString>

namespace tvk {

enum DialogStringId : unsigned {
    IDS_FILE_IO_ERROR = 9001,
    IDS_OUT_OF_MEMORY,
    IDS_USER_BREAK,
    IDS_EXPORT_SUCCEED,
    IDS_READING_OBJECT_DATA,
    IDS_EXPORTING_DXF,
    IDS_EXPORTING_MIF,
    IDS_EXPORTING_SHP,
    IDS_EXPORTING,
    IDS_READY,
    IDS_ABOUT_DXF,
    IDS_ABOUT_MIF,
    IDS_ABOUT_SHP,
    IDS_ABOUT_UE,
    IDS_TITLE_DXF,
    IDS_TITLE_MIF,
    IDS_TITLE_SHP,
    IDS_TITLE_UE,
    IDS_LAYER_NAME_UNIQUE,
    IDS_INVALID_FILE_NAME,
    IDS_EXPORT_TO_DIRECTORY,
    IDS_COL_DXF_LAYER,
    IDS_COL_TLX_LAYER,
    IDS_COL_FILE_NAME,
    IDS_COL_LAYER_NAME,
    IDS_BUTTON_EXPORT,
    IDS_BUTTON_CLOSE,
    IDS_BUTTON_OPEN,
    IDS_LAYERS_GROUP,
    IDS_FOLDER_GROUP,
    IDS_NO_ATTRIBUTES,
    IDS_PRESERVE_ELEV,
    IDS_PRESERVE_NE,
    IDS_DXF_FILTER,
    IDS_TLX_FILTER,
    IDS_OVERWRITE_TITLE,
    IDS_OVERWRITE_EXISTING,
    IDS_OVERWRITE_NEW,
    IDS_YES,
    IDS_NO,
    IDS_YES_TO_ALL,
    IDS_NO_TO_ALL,
    IDS_CANCEL,
    IDS_ABOUT_TEXT,
    IDS_NOT_1251,
    IDS_OK,
    IDS_PLACE_HOME,
    IDS_PLACE_FILE_SYSTEM,
};

// Registers the dialogs' string table (once).
void RegisterDialogStrings();
// The text of `id` in the user's language, for a widget.
QString Tr(unsigned id);
// A model text (code page 1251) for a widget, and back; FromQt returns false
// when the text has a character code page 1251 cannot hold.
QString FromModel(const std::string& text1251);
bool ToModel(const QString& text, std::string& text1251);

}  // namespace tvk
