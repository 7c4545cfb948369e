// The control block of one shapefile set (main, index and table file of one
// layer and shape type) while an export writes it.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/File.h"

namespace tvk {

struct tagSHPCtrlBlock {
    std::unique_ptr<CFile> MainFile;   // ".SHP"; null while the set is not open
    std::unique_ptr<CFile> IndexFile;  // ".SHX"
    std::unique_ptr<CFile> TableFile;  // ".DBF"
    int32_t RecordCount = 0;           // records written; the number of the last one
    // Minimum x, minimum y, maximum x, maximum y, minimum z, maximum z of all
    // records; the z range is kept for the layout's sake and never written.
    double Extents[6] = {1.7e308, 1.7e308, -1.7e308, -1.7e308, 1.7e308, -1.7e308};
};

}  // namespace tvk
