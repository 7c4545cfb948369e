#include "dxf/DXFStrings.h"

#include "platform/StringTable.h"

namespace tvk {
namespace {

const StringEntry kDXFStrings[] = {
    {IDS_DXF_NAMES_LAYER, "Names", "Имена"},
    {IDS_DXF_ELEVATIONS_LAYER, "Elevations", "Отметки"},
};

}  // namespace

void RegisterDXFStrings() {
    static const bool registered = (CStringTable::Register(kDXFStrings), true);
    (void)registered;
}

}  // namespace tvk
