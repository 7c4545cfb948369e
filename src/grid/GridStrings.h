// The grid's own texts.
#pragma once
#include <QString>

namespace tvk {

enum GridStringId : unsigned {
    IDS_INVALID_WIDTH = 9501,
    IDS_INVALID_PRECISION,
    IDS_INVALID_TEXT,
};

QString GridText(unsigned id);

}  // namespace tvk
