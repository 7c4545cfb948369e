// The shapefile export dialog: point, polyline and polygon sets per layer into
// a chosen folder.
#pragma once
#include "dialogs/FolderExportDialog.h"
#include "shp/SHPWriter.h"

class QCheckBox;

namespace tvk {

class CSHEDlg : public CFolderExportDialog {
    Q_OBJECT
public:
    explicit CSHEDlg(QWidget* parent = nullptr);
    ~CSHEDlg() override;
    CSHPWriter& Writer() { return writer_shp_; }

protected:
    void SetListColumns() override;
    void DataToControls() override;
    void DataFromControls() override;

private:
    CSHPWriter writer_shp_;
    QCheckBox* preserveElev_;  // hidden
    QCheckBox* preserveNE_;    // hidden
};

}  // namespace tvk
