#include "dialogs/ACEDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <clocale>
#include <string>
#include <vector>

#include "dialogs/DialogStrings.h"
#include "dialogs/LayerList.h"
#include "dialogs/UiServices.h"

namespace tvk {

// The writer member is built before the base uses it: the base keeps only a
// reference and touches it after construction.
CACEDlg::CACEDlg(QWidget* parent) : CLayerListDialog(writer_dxf_, Kind::Dxf, parent) {
    writer_dxf_.Init();
    setWindowTitle(Tr(IDS_TITLE_DXF));
    noAttributes_ = new QCheckBox(Tr(IDS_NO_ATTRIBUTES), this);
    noAttributes_->setObjectName("noAttributes");
    noAttributes_->setChecked(false);
    auto* main = new QVBoxLayout(this);
    main->addWidget(listGroup_, 1);
    main->addWidget(noAttributes_);
    AddButtonsAndProgress(main);
    status_->hide();
    resize(420, 360);
    connect(exportButton_, &QPushButton::clicked, this, &CACEDlg::OnAceExportbutton);
    layerList_->SetEditCheck([this](int row, QString& text) { return OnEndlabeleditAceLayerlist(row, text); });
}

CACEDlg::~CACEDlg() { StopAndWait(); }

void CACEDlg::SetListColumns() { layerList_->SetColumns(Tr(IDS_COL_DXF_LAYER), Tr(IDS_COL_TLX_LAYER)); }

void CACEDlg::ChangeVisibility() {
    bool idle = !IsBusy();
    listGroup_->setEnabled(idle);
    exportButton_->setEnabled(idle);
    noAttributes_->setEnabled(idle);
    layerList_->setEnabled(idle);
}

bool CACEDlg::OnEndlabeleditAceLayerlist(int row, QString& text) {
    if (text.trimmed().isEmpty()) return false;
    std::string name;
    if (!ToModel(text, name)) {
        UiServices().Message(this, Tr(IDS_NOT_1251), IUiServices::Icon::None);
        return false;
    }
    std::vector<char> buffer(name.begin(), name.end());
    buffer.resize(std::max<size_t>(buffer.size() + 1, 256), '\0');
    CDXFWriter::TLXToDXFName(buffer.data());
    text = FromModel(buffer.data());
    int found = layerList_->FindRowNoCase(text);
    if (found >= 0 && found != row) {
        UiServices().Message(this, Tr(IDS_LAYER_NAME_UNIQUE), IUiServices::Icon::None);
        return false;
    }
    return true;
}

void CACEDlg::OnAceExportbutton() {
    if (!IsReadComplete()) return;
    QString path = UiServices().SaveFileName(this, Tr(IDS_DXF_FILTER), "dxf", "filename");
    if (path.isEmpty()) return;
    DataFromControls();
    writer_dxf_.SetExportSemantic(!noAttributes_->isChecked());
    StartExport(path.toStdString());
}

}  // namespace tvk
