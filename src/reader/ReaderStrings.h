// String ids of the reader's texts (error messages and the log file name).
#pragma once

namespace tvk {

enum : unsigned {
    IDS_LOG_FILE_NAME = 8250,
    IDS_ERR_BEGIN_SECTION = 8251,
    IDS_ERR_END_SECTION = 8252,
    IDS_ERR_END_OF_FILE = 8253,
    IDS_ERR_SYNTAX = 8254,
    IDS_ERR_BODY_OF_SECTION = 8255,
    IDS_ERR_INDEX = 8256,
    IDS_ERR_DESCRIPTOR = 8257,
    IDS_ERR_POINT_INDEX = 8258,
    IDS_ERR_CODE_INDEX = 8259,
    IDS_ERR_LAYER_INDEX = 8262,
    IDS_ERR_FEATURE_INDEX = 8263,
    IDS_ERR_PROPERTY_INDEX = 8264,
    IDS_ERR_POINT = 8280,
    IDS_ERR_LAYER_NAME = 8284,
    IDS_ERR_PROPERTY_NAME = 8285,
    IDS_WARN_NO_SECTION = 8286,          // followed by the file's path
    IDS_WARN_FLAT_CIRCLE = 8287,         // followed by the feature in brackets
    IDS_WARN_PARTLY_READ_NUMBER = 8288,  // followed by the point in brackets
};

// Registers the reader's texts with the string table (once per process).
void RegisterReaderStrings();

}  // namespace tvk
