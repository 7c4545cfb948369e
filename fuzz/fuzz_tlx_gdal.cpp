// libFuzzer target: any bytes opened through the GDAL driver from /vsimem/;
// every feature of every layer is read with its fields and geometry, found
// again by its FID, and the counts and extents agree with what was read.
// Never a crash, hang or leak.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "cpl_error.h"
#include "cpl_vsi.h"
#include "gdal/OGRTLXDriver.h"
#include "gdal_priv.h"
#include "ogrsf_frmts.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

void ReadLayer(OGRLayer& layer) {
    GIntBig count = 0;
    OGREnvelope read;
    for (auto& feature : layer) {
        ++count;
        for (int i = 0; i < feature->GetFieldCount(); ++i) (void)feature->GetFieldAsString(i);
        if (const OGRGeometry* geometry = feature->GetGeometryRef()) {
            OGREnvelope box;
            geometry->getEnvelope(&box);
            read.Merge(box);
            Require(geometry->WkbSize() > 0);
        }
        OGRFeatureUniquePtr again(layer.GetFeature(feature->GetFID()));
        Require(again != nullptr && again->Equal(feature.get()));
    }
    Require(count == layer.GetFeatureCount(FALSE));
    OGREnvelope extent;
    if (layer.GetExtent(&extent) == OGRERR_NONE && read.IsInit())
        Require(extent.MinX <= read.MaxX && read.MinX <= extent.MaxX);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        RegisterOGRTLX();
        CPLSetErrorHandler(CPLQuietErrorHandler);  // the reading reports of broken files
        return true;
    }();
    (void)ready;
    const char* path = "/vsimem/fuzz/in.tlx";
    VSIFCloseL(VSIFileFromMemBuffer(path, const_cast<GByte*>(data), size, FALSE));
    const char* const drivers[] = {"TLX", nullptr};
    GDALDatasetUniquePtr dataset(GDALDataset::Open(path, GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
    if (dataset)
        for (OGRLayer* layer : dataset->GetLayers()) ReadLayer(*layer);
    dataset.reset();
    VSIUnlink(path);
    return 0;
}
