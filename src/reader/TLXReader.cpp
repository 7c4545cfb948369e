#include "reader/TLXReader.h"

namespace tvk {

char CTLXReader::m_sBuf[10240];
int CTLXReader::RadiusPointCounter = -100000000;
int CTLXReader::CirclePointCounter = -50000000;

CTLXReader::CTLXReader() = default;
CTLXReader::~CTLXReader() = default;
void CTLXReader::Free() {}
void CTLXReader::InitMaps() {}
void CTLXReader::InitArrays() {}
void CTLXReader::InitErrorMessages() {}
void CTLXReader::InitTokens() {}
void CTLXReader::PrepareData() {}
void CTLXReader::ConvertIndex_Feature(CFeature*, int) {}
std::unique_ptr<CFeature> CTLXReader::CreateFeature(int) { return nullptr; }
void CTLXReader::ClearLog() {}
void CTLXReader::AppendEmptyTables() {}
void CTLXReader::ConvertIndex_TempData() {}
void CTLXReader::ConvertIndex_Features() {}
void CTLXReader::ConvertIndex_FeatureCodes() {}
void CTLXReader::ConvertIndex_Layers() {}
void CTLXReader::ConvertIndex_Points() {}
void CTLXReader::ConvertIndex_All() {}
int CTLXReader::GetFeatureLayerIndex(int, int&, int&) { return 0; }
void CTLXReader::ReadTLX() {}
std::string CTLXReader::GetLogFilePath(const char*) { return {}; }
void CTLXReader::FreeTemp() {}
void CTLXReader::AssignPropertyData() {}
void CTLXReader::WriteErrorMessage(int, const char*) {}
void CTLXReader::WriteToLog(const char*) {}
int CTLXReader::ReadFromFile(char*, int) { return 0; }
void CTLXReader::OpenLog(const char*) {}
void CTLXReader::CloseLog() {}
void CTLXReader::OpenFile(const char*) {}
void CTLXReader::CloseFile() {}
void CTLXReader::Parse_FeatureData(CStr) {}
void CTLXReader::Parse_Features(CStr) {}
void CTLXReader::ParseLine_Features(CStr) {}
void CTLXReader::Parse_FeatureProperties(CStr) {}
void CTLXReader::Parse_Layers(CStr) {}
void CTLXReader::Parse_FeatureAttributes(CStr) {}
void CTLXReader::Parse_FeatureCodes(CStr) {}
void CTLXReader::Parse_GdsCoords(CStr) {}
void CTLXReader::Parse_Points(CStr) {}
int CTLXReader::GetItem_Features(int, int) { return 0; }
int CTLXReader::GetItem_Layers(int) { return 0; }
int CTLXReader::GetItem_FeatureCodes(int) { return 0; }
int CTLXReader::GetItem_Points(int) { return 0; }
void CTLXReader::Init() {}
void CTLXReader::Read(const char*, const char*) {}
int CTLXReader::GetIndex(const char*) { return -1; }
int CTLXReader::GetIndex(CStr, int, int) { return -1; }
std::unique_ptr<char[]> CTLXReader::ParseToken(std::string_view, std::vector<char*>&) { return nullptr; }
CText CTLXReader::GetQuotedString(const char*) { return {}; }
CText CTLXReader::Gcvt32(double) { return {}; }
CText CTLXReader::GetSubstring(CStr, int, int) { return {}; }

}  // namespace tvk
