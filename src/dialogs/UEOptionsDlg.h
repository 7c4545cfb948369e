// The export options dialog: edits a copy of a template's settings (the
// coordinate forms, N0, E0 and zone, the angle unit and format, the linear
// unit, the file filter and the MS-DOS code page); OK checks every value and
// keeps them, Cancel drops them.
#pragma once
#include <QDialog>
#include <string>

#include "universal/UETemplate.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace tvk {

class CUEOptionsDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the settings of `source` (its fields are not touched).
    CUEOptionsDlg(const CUETemplate& source, QWidget* parent);

    // Writes the accepted settings into `target`, leaving its fields alone.
    // Values of -1 in the source have become the choice shown.
    void WriteTo(CUETemplate& target) const;

    QComboBox* NorthTypeCombo() const { return northType_; }
    QLineEdit* N0Edit() const { return n0_; }
    QComboBox* EastTypeCombo() const { return eastType_; }
    QLineEdit* E0Edit() const { return e0_; }
    QLineEdit* ZoneEdit() const { return zone_; }
    QRadioButton* AngleUnitButton(int unit) const;
    QComboBox* AngleFormatCombo() const { return angleFormat_; }
    QRadioButton* LinearUnitButton(int unit) const;
    QLineEdit* FileFilterEdit() const { return fileFilter_; }
    QCheckBox* DosCheck() const { return dos_; }

    // OK: checks the values in the order of the controls; the first one
    // refused gets a message and the focus, and the dialog stays open.
    // Otherwise keeps them, adds the angle format to the history and closes.
    void accept() override;

private:
    void BuildControls();
    QFormLayout* CreateCoordinateRows();
    QGroupBox* CreateAngleUnitGroup();
    QComboBox* CreateAngleFormatBox();
    QGroupBox* CreateLinearUnitGroup();
    QDialogButtonBox* CreateOkCancel();
    void ShowSettings();
    // N0 or E0 read by the units library; `shown` was the text shown at the
    // start, so an untouched value keeps all its digits.
    bool ReadLinear(QLineEdit* edit, const QString& shown, double original, double& value);

    CUETemplate settings_;
    QString n0Shown_, e0Shown_;
    QComboBox* northType_;
    QLineEdit* n0_;
    QComboBox* eastType_;
    QLineEdit* e0_;
    QLineEdit* zone_;
    QButtonGroup* angleUnits_;
    QComboBox* angleFormat_;
    QButtonGroup* linearUnits_;
    QLineEdit* fileFilter_;
    QCheckBox* dos_;
};

}  // namespace tvk
