// The TLX driver: read-only, vector, through GDAL's virtual files. GDAL loads
// the plugin ogr_TLX.so and calls RegisterOGRTLX().
#include <string>
#include <string_view>

#include "gdal/OGRTLXDataSource.h"
#include "gdal/OGRTLXDriver.h"
#include "gdal_priv.h"
#include "platform/Text.h"

namespace tlxgdal {
namespace {

constexpr const char* kSectionNames[] = {
    "POINTS",    "LAYERS", "FEATURES", "FEATURE_DATA", "FEATURE_CODES", "FEATURE_ATTRIBUTES", "FEATURE_PROPERTIES",
    "GDS_COORDS"};
// A survey's header may be a long comment; its first section is looked for this far.
constexpr int kHeaderBytes = 65536;

// "BEGIN", white space and a section name ending the word.
bool BeginsSection(std::string_view line) {
    while (!line.empty() && tvk::IsCSpace(line.front())) line.remove_prefix(1);
    if (!line.starts_with("BEGIN") || line.size() < 6 || !tvk::IsCSpace(line[5])) return false;
    line.remove_prefix(5);
    while (!line.empty() && tvk::IsCSpace(line.front())) line.remove_prefix(1);
    for (std::string_view name : kSectionNames)
        if (line.starts_with(name) && (line.size() == name.size() || tvk::IsCSpace(line[name.size()]))) return true;
    return false;
}

bool HasSectionLine(const GDALOpenInfo& info) {
    std::string_view header(reinterpret_cast<const char*>(info.pabyHeader), static_cast<size_t>(info.nHeaderBytes));
    while (!header.empty()) {
        size_t end = header.find('\n');
        if (BeginsSection(header.substr(0, end))) return true;
        if (end == std::string_view::npos) break;
        header.remove_prefix(end + 1);
    }
    return false;
}

// survey.tlx, or survey.tlx.gz read through /vsigzip/.
bool HasTlxExtension(std::string name) {
    if (name.starts_with("/vsigzip/") && EQUAL(CPLGetExtension(name.c_str()), "gz"))
        name = CPLGetBasename(name.c_str());
    return EQUAL(CPLGetExtension(name.c_str()), "tlx");
}

int Identify(GDALOpenInfo* info) {
    if (!info->fpL || info->bIsDirectory || !HasTlxExtension(info->pszFilename)) return FALSE;
    if (HasSectionLine(*info)) return TRUE;
    return info->nHeaderBytes < kHeaderBytes && info->TryToIngest(kHeaderBytes) && HasSectionLine(*info);
}

GDALDataset* Open(GDALOpenInfo* info) {
    if (!Identify(info)) return nullptr;
    if (info->eAccess == GA_Update) {
        CPLError(CE_Failure, CPLE_NotSupported, "The TLX driver reads .tlx files only; it cannot update %s",
                 info->pszFilename);
        return nullptr;
    }
    bool strict = CPLFetchBool(info->papszOpenOptions, "STRICT", false);
    const char* log = CSLFetchNameValueDef(info->papszOpenOptions, "LOG", "");
    return OGRTLXDataSource::Open(info->pszFilename, strict, log);
}

}  // namespace
}  // namespace tlxgdal

void RegisterOGRTLX() {
    if (!GDAL_CHECK_VERSION("TLX driver") || GDALGetDriverByName("TLX") != nullptr) return;
    auto* driver = new GDALDriver();
    driver->SetDescription("TLX");
    driver->SetMetadataItem(GDAL_DCAP_VECTOR, "YES");
    driver->SetMetadataItem(GDAL_DMD_LONGNAME, "Land survey exchange file (.tlx)");
    driver->SetMetadataItem(GDAL_DMD_EXTENSION, "tlx");
    driver->SetMetadataItem(GDAL_DCAP_VIRTUALIO, "YES");
    driver->SetMetadataItem(GDAL_DCAP_CURVE_GEOMETRIES, "YES");
    driver->SetMetadataItem(GDAL_DCAP_Z_GEOMETRIES, "YES");
    driver->SetMetadataItem(GDAL_DMD_OPENOPTIONLIST,
                            "<OpenOptionList>"
                            "  <Option name='STRICT' type='boolean' default='NO' "
                            "description='Refuse to open a file with any reading error'/>"
                            "  <Option name='LOG' type='string' "
                            "description='Write the reading log (UTF-8) to this file'/>"
                            "</OpenOptionList>");
    driver->pfnIdentify = tlxgdal::Identify;
    driver->pfnOpen = tlxgdal::Open;
    GetGDALDriverManager()->RegisterDriver(driver);
}
