// CWriter::PrepareData: the export model derived from the survey model.
#include "export/Writer.h"

namespace tvk {

void CWriter::PrepareData() {}

void CWriter::ConvertLayerFileNames() {}

}  // namespace tvk
