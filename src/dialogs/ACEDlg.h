// The DXF export dialog: layer names editable as DXF names, an option to leave
// the attributes out, and a save chooser for the drawing.
#pragma once
#include "dialogs/LayerListDialog.h"
#include "dxf/DXFWriter.h"

class QCheckBox;

namespace tvk {

class CACEDlg : public CLayerListDialog {
    Q_OBJECT
public:
    explicit CACEDlg(QWidget* parent = nullptr);
    ~CACEDlg() override;

    CDXFWriter& Writer() { return writer_dxf_; }
    QCheckBox* NoAttributesCheck() const { return noAttributes_; }
    // Exchange-file handlers, public for the tests' sake.
    void OnAceExportbutton();
    bool OnEndlabeleditAceLayerlist(int row, QString& text);

protected:
    void SetListColumns() override;
    void ChangeVisibility() override;

private:
    CDXFWriter writer_dxf_;
    QCheckBox* noAttributes_;
};

}  // namespace tvk
