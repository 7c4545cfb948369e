// Helpers of the driver tests: the driver registered in-process, surveys put
// into GDAL's memory files, datasets opened through the TLX driver only, and
// the warnings GDAL reports collected.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cpl_error.h"
#include "cpl_vsi.h"
#include "gdal/OGRTLXDriver.h"
#include "gdal_priv.h"
#include "ogrsf_frmts.h"
#include "platform/CodePage.h"
#include "platform/StringTable.h"
#include "support/TlxText.h"

namespace tlxgdal::test {

using namespace tvk::test;
using tvk::Cp1251;

// Writes `bytes` as the memory file `path` and returns the path.
inline std::string PutMemoryFile(const std::string& path, const std::string& bytes) {
    VSILFILE* f = VSIFOpenL(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path;
    if (f) {
        VSIFWriteL(bytes.data(), 1, bytes.size(), f);
        VSIFCloseL(f);
    }
    return path;
}

inline std::string ReadMemoryFile(const std::string& path) {
    vsi_l_offset size = 0;
    GByte* data = VSIGetMemFileBuffer(path.c_str(), &size, FALSE);
    return data ? std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(size)) : std::string();
}

// Collects what CPLError reports while it lives.
class CollectedErrors {
public:
    CollectedErrors() { CPLPushErrorHandlerEx(Collect, this); }
    ~CollectedErrors() { CPLPopErrorHandler(); }
    CollectedErrors(const CollectedErrors&) = delete;
    CollectedErrors& operator=(const CollectedErrors&) = delete;

    std::vector<std::string> warnings, failures;

private:
    static void CPL_STDCALL Collect(CPLErr kind, CPLErrorNum, const char* message) {
        auto* self = static_cast<CollectedErrors*>(CPLGetErrorHandlerUserData());
        (kind == CE_Warning ? self->warnings : self->failures).emplace_back(message);
    }
};

class DriverTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterOGRTLX();
        tvk::CStringTable::SetLanguage(tvk::CStringTable::Language::English);
    }
    void TearDown() override {
        dataset.reset();
        VSIRmdirRecursive("/vsimem/tlx");
    }

    // Opens `path` with the TLX driver alone; `options` as NAME=VALUE.
    static GDALDatasetUniquePtr Open(const std::string& path, const std::vector<std::string>& options = {}) {
        const char* const drivers[] = {"TLX", nullptr};
        CPLStringList list;
        for (const std::string& option : options) list.AddString(option.c_str());
        return GDALDatasetUniquePtr(
            GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, list.List(), nullptr));
    }
    // Puts `text` (1251) into /vsimem/tlx/NAME and opens it into `dataset`.
    OGRLayer* OpenText(const std::string& text, const std::string& name = "survey.tlx",
                       const std::vector<std::string>& options = {}) {
        dataset = Open(PutMemoryFile("/vsimem/tlx/" + name, text), options);
        return dataset && dataset->GetLayerCount() > 0 ? dataset->GetLayer(0) : nullptr;
    }
    OGRLayer* Layer(const char* utf8Name) const { return dataset ? dataset->GetLayerByName(utf8Name) : nullptr; }

    GDALDatasetUniquePtr dataset;
};

}  // namespace tlxgdal::test
