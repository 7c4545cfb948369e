// Ids of the export subsystem's user-visible texts (English and Russian in
// ExportStrings.cpp).
#pragma once

namespace tvk {

enum ExportStringId : unsigned {
    IDS_EXPORT_BYTES = 8600,        // the unit after a file size
    IDS_OVERWRITE_TITLE = 8601,     // caption of the overwrite question
    IDS_OVERWRITE_EXISTING = 8602,  // label above the existing file
    IDS_OVERWRITE_NEW = 8603,       // label above the new file
    IDS_OVERWRITE_YES = 8604,       // the five answers, 1..5
    IDS_OVERWRITE_NO = 8605,
    IDS_OVERWRITE_YES_TO_ALL = 8606,
    IDS_OVERWRITE_NO_TO_ALL = 8607,
    IDS_OVERWRITE_CANCEL = 8608,
};

// Registers the texts once; every function that loads one calls it first.
void RegisterExportStrings();

}  // namespace tvk
