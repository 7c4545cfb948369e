// Ids of the universal export's user-visible texts (English and Russian in
// UEStrings.cpp).
#pragma once

namespace tvk {

enum UEStringId : unsigned {
    IDS_UE_KIND_TEXT = 9400,  // display names of the field kinds 0..6, in order
    IDS_UE_KIND_NAME = 9401,
    IDS_UE_KIND_NORTH = 9402,
    IDS_UE_KIND_EAST = 9403,
    IDS_UE_KIND_HEIGHT = 9404,
    IDS_UE_KIND_LATITUDE = 9405,
    IDS_UE_KIND_LONGITUDE = 9406,
    IDS_UE_ALIGN_LEFT = 9410,
    IDS_UE_ALIGN_RIGHT = 9411,
    IDS_UE_COLUMN_FIELD_TYPE = 9420,  // headers of the template grid's columns
    IDS_UE_COLUMN_TEXT_PRECISION = 9421,
    IDS_UE_COLUMN_WIDTH = 9422,
    IDS_UE_COLUMN_ADJUSTMENT = 9423,
    IDS_UE_INVALID_WIDTH = 9430,
    IDS_UE_INVALID_PRECISION = 9431,
    IDS_UE_INVALID_ANGLE_TEMPLATE = 9432,
    IDS_UE_INVALID_VALUE = 9433,
    IDS_UE_CANT_OPEN_DEFAULT = 9440,     // %s the default path, %s "default.ue"
    IDS_UE_INTERN_TEMPLATE_USED = 9441,  // %s the path
    IDS_UE_NO_MEMORY_FOR_TEMPLATE = 9442,
};

// Registers the texts once; every function that loads one calls it first.
void RegisterUEStrings();

}  // namespace tvk
