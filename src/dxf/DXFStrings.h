// Ids of the DXF writer's texts (English and Russian in DXFStrings.cpp).
#pragma once

namespace tvk {

enum DXFStringId : unsigned {
    IDS_DXF_NAMES_LAYER = 8362,       // base name of the layer of point-name labels
    IDS_DXF_ELEVATIONS_LAYER = 8363,  // base name of the layer of elevation labels
};

// Registers the texts once; every function that loads one calls it first.
void RegisterDXFStrings();

}  // namespace tvk
