#include "dialogs/LayerListDialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogStrings.h"
#include "dialogs/LayerList.h"
#include "dialogs/UiServices.h"
#include "export/Writer.h"

namespace tvk {

CLayerListDialog::CLayerListDialog(CWriter& writer, Kind kind, QWidget* parent) : CExportDialog(writer, kind, parent) {
    listGroup_ = new QGroupBox(Tr(IDS_LAYERS_GROUP), this);
    auto* groupLayout = new QVBoxLayout(listGroup_);
    layerList_ = new CLayerList(listGroup_);
    layerList_->setObjectName("layerList");
    groupLayout->addWidget(layerList_);
    exportButton_ = new QPushButton(Tr(IDS_BUTTON_EXPORT), this);
    exportButton_->setObjectName("exportButton");
    exportButton_->setDefault(true);
    closeButton_ = new QPushButton(Tr(IDS_BUTTON_CLOSE), this);
    closeButton_->setObjectName("closeButton");
    connect(closeButton_, &QPushButton::clicked, this, &CLayerListDialog::reject);
    openButton_ = new QPushButton(Tr(IDS_BUTTON_OPEN), this);
    openButton_->hide();
    connect(openButton_, &QPushButton::clicked, this, &CLayerListDialog::OnOpenbutton);
    pathEdit_ = new QLineEdit(this);
    pathEdit_->hide();
}

void CLayerListDialog::AddButtonsAndProgress(QVBoxLayout* layout) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton_);
    buttons->addWidget(closeButton_);
    layout->addLayout(buttons);
    layout->addWidget(CreateProgressRow());
}

void CLayerListDialog::DataToControls() {
    pathEdit_->setText(QString::fromStdString(filePath_));
    SetListColumns();
    layerList_->clear();
    const auto& names = writer_.GetLayerFileNames();
    for (size_t i = 0; i < names.size(); ++i) {
        if (i >= writer_.LayerStates.size() || writer_.LayerStates[i] == kNone) continue;
        layerList_->AddRow(FromModel(names[i]), FromModel(writer_.Layers[i].Name.c_str()));
    }
    layerList_->FitColumnsOnce();
    ChangeVisibility();
}

void CLayerListDialog::DataFromControls() {
    filePath_ = pathEdit_->text().toStdString();
    auto& names = writer_.GetLayerFileNames();
    int row = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i >= writer_.LayerStates.size() || writer_.LayerStates[i] == kNone) continue;
        std::string text;
        if (row < layerList_->topLevelItemCount() && ToModel(layerList_->RowText(row), text)) names[i] = text;
        ++row;
    }
    ChangeVisibility();
}

void CLayerListDialog::OnOpenbutton() {
    if (IsReadComplete()) return;
    QString path = UiServices().OpenFileName(this, Tr(IDS_TLX_FILTER), "tlx");
    if (path.isEmpty()) return;
    filePath_ = path.toStdString();
    DataToControls();
    if (!filePath_.empty() && !IsReadComplete()) ReadTLX();
    DataToControls();
}

}  // namespace tvk
