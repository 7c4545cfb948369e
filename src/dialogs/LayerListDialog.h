// The part the DXF, MapInfo and shapefile dialogs share beyond the workers:
// the layer list filled from the writer's layer file names and stored back
// into them before an export.
#pragma once
#include "dialogs/ExportDialog.h"

class QGroupBox;
class QPushButton;
class QLineEdit;
class QVBoxLayout;

namespace tvk {

class CLayerList;

class CLayerListDialog : public CExportDialog {
    Q_OBJECT
public:
    CLayerListDialog(CWriter& writer, Kind kind, QWidget* parent);

    CLayerList* LayerList() const { return layerList_; }
    QPushButton* ExportButton() const { return exportButton_; }
    QPushButton* CloseButton() const { return closeButton_; }

protected:
    // The titles of the two columns.
    virtual void SetListColumns() = 0;
    void DataToControls() override;
    void DataFromControls() override;
    // Export and Close at the right, then the progress bar and status text.
    void AddButtonsAndProgress(QVBoxLayout* layout);
    // The hidden Open button: choose the exchange file before it is read.
    void OnOpenbutton();

    CLayerList* layerList_;
    QGroupBox* listGroup_;
    QPushButton* exportButton_;
    QPushButton* closeButton_;
    QPushButton* openButton_;  // hidden
    QLineEdit* pathEdit_;      // hidden
};

}  // namespace tvk
