#include "dialogs/SHEDlg.h"

#include <QCheckBox>

#include "dialogs/DialogStrings.h"
#include "dialogs/LayerList.h"

namespace tvk {

CSHEDlg::CSHEDlg(QWidget* parent)
    : CFolderExportDialog(writer_shp_, Kind::Shp, QStringLiteral("ShapefilesExporter settings"), parent) {
    writer_shp_.Init();
    setWindowTitle(Tr(IDS_TITLE_SHP));
    preserveElev_ = new QCheckBox(Tr(IDS_PRESERVE_ELEV), this);
    preserveNE_ = new QCheckBox(Tr(IDS_PRESERVE_NE), this);
    preserveElev_->hide();
    preserveNE_->hide();
    BuildLayout(nullptr);
}

CSHEDlg::~CSHEDlg() { StopAndWait(); }

void CSHEDlg::SetListColumns() { layerList_->SetColumns(Tr(IDS_COL_FILE_NAME), Tr(IDS_COL_LAYER_NAME)); }

// The two hidden options mirror the writer's settings both ways.
void CSHEDlg::DataToControls() {
    int elev = writer_shp_.PreserveElev(0);
    writer_shp_.PreserveElev(elev);
    int ne = writer_shp_.PreserveNE(0);
    writer_shp_.PreserveNE(ne);
    preserveElev_->setChecked(elev != 0);
    preserveNE_->setChecked(ne != 0);
    CFolderExportDialog::DataToControls();
}

void CSHEDlg::DataFromControls() {
    writer_shp_.PreserveElev(preserveElev_->isChecked() ? 1 : 0);
    writer_shp_.PreserveNE(preserveNE_->isChecked() ? 1 : 0);
    CFolderExportDialog::DataFromControls();
}

}  // namespace tvk
