#include "dialogs/MIEDlg.h"

#include "dialogs/DialogStrings.h"
#include "dialogs/LayerList.h"

namespace tvk {

CMIEDlg::CMIEDlg(QWidget* parent)
    : CFolderExportDialog(writer_mif_, Kind::Mif, QStringLiteral("MapInfoExporter settings"), parent) {
    writer_mif_.Init();
    setWindowTitle(Tr(IDS_TITLE_MIF));
    BuildLayout(nullptr);
}

CMIEDlg::~CMIEDlg() { StopAndWait(); }

void CMIEDlg::SetListColumns() { layerList_->SetColumns(Tr(IDS_COL_FILE_NAME), Tr(IDS_COL_LAYER_NAME)); }

}  // namespace tvk
