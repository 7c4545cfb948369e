// The MapInfo export dialog: one MIF/MID pair per layer into a chosen folder.
#pragma once
#include "dialogs/FolderExportDialog.h"
#include "mif/MIFWriter.h"

namespace tvk {

class CMIEDlg : public CFolderExportDialog {
    Q_OBJECT
public:
    explicit CMIEDlg(QWidget* parent = nullptr);
    ~CMIEDlg() override;
    CMIFWriter& Writer() { return writer_mif_; }

protected:
    void SetListColumns() override;

private:
    CMIFWriter writer_mif_;
};

}  // namespace tvk
