#include "dialogs/UEOptionsDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/DialogStrings.h"
#include "dialogs/UEDlgStrings.h"
#include "dialogs/UEProfile.h"
#include "dialogs/UiServices.h"
#include "msr/msr.h"
#include "universal/AngleFormat.h"
#include "universal/UEStrings.h"

namespace tvk {
namespace {

constexpr int kMinZone = 1;
constexpr int kMaxZone = 120;
const char* const kStandardFormats[] = {"ddd.mmssxxxxxxx", "ddd.mm.ss.xxx", "ddd.mm.xxx", "ddd.xxx"};

QString LinearText(double metres) {
    char buffer[msr::kTextSize];
    return QString::fromLatin1(msr::CLinear(metres).write(buffer, -1, nullptr));
}

QRadioButton* AddRadio(QButtonGroup* group, QLayout* layout, unsigned textId, unsigned tipId, int id) {
    auto* button = new QRadioButton(UETr(textId));
    button->setToolTip(UETr(tipId));
    group->addButton(button, id);
    layout->addWidget(button);
    return button;
}

}  // namespace

CUEOptionsDlg::CUEOptionsDlg(const CUETemplate& source, QWidget* parent) : QDialog(parent) {
    settings_.DosCodePage = source.DosCodePage;
    settings_.NorthType = source.NorthType;
    settings_.EastType = source.EastType;
    settings_.FalseNorthing = source.FalseNorthing;
    settings_.FalseEasting = source.FalseEasting;
    settings_.Zone = source.Zone;
    settings_.AngleUnit = source.AngleUnit;
    settings_.AngleFormat = source.AngleFormat;
    settings_.LinearUnit = source.LinearUnit;
    settings_.FileFilter = source.FileFilter;
    setWindowTitle(UETr(IDS_UEO_TITLE));
    BuildControls();
    ShowSettings();
}

// The controls are created in the order of the tab chain.
void CUEOptionsDlg::BuildControls() {
    QFormLayout* coordinates = CreateCoordinateRows();
    QGroupBox* angleGroup = CreateAngleUnitGroup();
    auto* formatForm = new QFormLayout;
    formatForm->addRow(UETr(IDS_UEO_ANGLE_FORMAT), CreateAngleFormatBox());
    QGroupBox* linearGroup = CreateLinearUnitGroup();
    fileFilter_ = new QLineEdit(this);
    fileFilter_->setToolTip(UETr(IDS_UEO_TIP_FILE_FILTER));
    formatForm->addRow(UETr(IDS_UEO_FILE_FILTER), fileFilter_);
    dos_ = new QCheckBox(UETr(IDS_UEO_DOS), this);
    dos_->setToolTip(UETr(IDS_UEO_TIP_DOS));
    QDialogButtonBox* buttons = CreateOkCancel();

    auto* main = new QVBoxLayout(this);
    main->addLayout(coordinates);
    main->addWidget(angleGroup);
    main->addWidget(linearGroup);
    main->addLayout(formatForm);
    main->addWidget(dos_);
    main->addWidget(buttons);
}

QFormLayout* CUEOptionsDlg::CreateCoordinateRows() {
    auto* form = new QFormLayout;
    northType_ = new QComboBox(this);
    northType_->addItems({UETr(IDS_UEO_NORTH_PLAIN), UETr(IDS_UEO_NORTH_MINUS_ORIGIN)});
    northType_->setToolTip(UETr(IDS_UEO_TIP_NORTH_TYPE));
    n0_ = new QLineEdit(this);
    n0_->setToolTip(UETr(IDS_UEO_TIP_N0));
    eastType_ = new QComboBox(this);
    eastType_->addItems({UETr(IDS_UEO_EAST_PLAIN), UETr(IDS_UEO_EAST_PLUS_ORIGIN), UETr(IDS_UEO_EAST_ZONED)});
    eastType_->setToolTip(UETr(IDS_UEO_TIP_EAST_TYPE));
    e0_ = new QLineEdit(this);
    e0_->setToolTip(UETr(IDS_UEO_TIP_E0));
    zone_ = new QLineEdit(this);
    zone_->setToolTip(UETr(IDS_UEO_TIP_ZONE));
    form->addRow(UETr(IDS_UEO_NORTH_TYPE), northType_);
    form->addRow(UETr(IDS_UEO_N0), n0_);
    form->addRow(UETr(IDS_UEO_EAST_TYPE), eastType_);
    form->addRow(UETr(IDS_UEO_E0), e0_);
    form->addRow(UETr(IDS_UEO_ZONE), zone_);
    return form;
}

QGroupBox* CUEOptionsDlg::CreateAngleUnitGroup() {
    auto* group = new QGroupBox(UETr(IDS_UEO_ANGLE_UNITS), this);
    auto* layout = new QHBoxLayout(group);
    angleUnits_ = new QButtonGroup(this);
    AddRadio(angleUnits_, layout, IDS_UEO_DEGREE, IDS_UEO_TIP_DEGREE, CAngleFormat::kDegree);
    AddRadio(angleUnits_, layout, IDS_UEO_GON, IDS_UEO_TIP_GON, CAngleFormat::kGon);
    AddRadio(angleUnits_, layout, IDS_UEO_MIL, IDS_UEO_TIP_MIL, CAngleFormat::kMil);
    return group;
}

QComboBox* CUEOptionsDlg::CreateAngleFormatBox() {
    angleFormat_ = new QComboBox(this);
    angleFormat_->setEditable(true);
    angleFormat_->setInsertPolicy(QComboBox::NoInsert);
    angleFormat_->setToolTip(UETr(IDS_UEO_TIP_ANGLE_FORMAT));
    QStringList formats = CAngleFormatHistory::Load();
    for (const char* standard : kStandardFormats)
        if (!formats.contains(QString::fromLatin1(standard))) formats << QString::fromLatin1(standard);
    angleFormat_->addItems(formats);
    // Every letter of a format stays in sight: their number is what is edited.
    qsizetype longest = FromModel(settings_.AngleFormat).size();
    for (const QString& format : formats) longest = std::max(longest, format.size());
    angleFormat_->setMinimumContentsLength(static_cast<int>(longest));
    angleFormat_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return angleFormat_;
}

QGroupBox* CUEOptionsDlg::CreateLinearUnitGroup() {
    auto* group = new QGroupBox(UETr(IDS_UEO_LINEAR_UNITS), this);
    auto* layout = new QHBoxLayout(group);
    linearUnits_ = new QButtonGroup(this);
    AddRadio(linearUnits_, layout, IDS_UEO_METER, IDS_UEO_TIP_METER, 0);
    AddRadio(linearUnits_, layout, IDS_UEO_FOOT, IDS_UEO_TIP_FOOT, 1);
    return group;
}

QDialogButtonBox* CUEOptionsDlg::CreateOkCancel() {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(Tr(IDS_CANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &CUEOptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CUEOptionsDlg::reject);
    return buttons;
}

void CUEOptionsDlg::ShowSettings() {
    northType_->setCurrentIndex(settings_.NorthType == 1 ? 1 : 0);
    eastType_->setCurrentIndex(settings_.EastType >= 0 && settings_.EastType <= 2 ? settings_.EastType : 0);
    n0Shown_ = LinearText(settings_.FalseNorthing);
    e0Shown_ = LinearText(settings_.FalseEasting);
    n0_->setText(n0Shown_);
    e0_->setText(e0Shown_);
    zone_->setText(QString::number(settings_.Zone));
    int angleUnit = settings_.AngleUnit >= 0 && settings_.AngleUnit <= 2 ? settings_.AngleUnit : 0;
    angleUnits_->button(angleUnit)->setChecked(true);
    angleFormat_->setCurrentText(FromModel(settings_.AngleFormat));
    linearUnits_->button(settings_.LinearUnit == 1 ? 1 : 0)->setChecked(true);
    fileFilter_->setText(FromModel(settings_.FileFilter));
    dos_->setChecked(settings_.DosCodePage);
}

QRadioButton* CUEOptionsDlg::AngleUnitButton(int unit) const {
    return static_cast<QRadioButton*>(angleUnits_->button(unit));
}

QRadioButton* CUEOptionsDlg::LinearUnitButton(int unit) const {
    return static_cast<QRadioButton*>(linearUnits_->button(unit));
}

bool CUEOptionsDlg::ReadLinear(QLineEdit* edit, const QString& shown, double original, double& value) {
    if (edit->text() == shown) {
        value = original;
        return true;
    }
    std::string text;
    msr::CLinear linear;
    if (ToModel(edit->text(), text) && linear.read(text.c_str(), nullptr, nullptr) == 0) {
        value = linear;
        return true;
    }
    UiServices().Message(this, UETr(IDS_UE_INVALID_VALUE), IUiServices::Icon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
}

void CUEOptionsDlg::accept() {
    CUETemplate taken = settings_;
    taken.NorthType = northType_->currentIndex();
    if (!ReadLinear(n0_, n0Shown_, settings_.FalseNorthing, taken.FalseNorthing)) return;
    taken.EastType = eastType_->currentIndex();
    if (!ReadLinear(e0_, e0Shown_, settings_.FalseEasting, taken.FalseEasting)) return;

    bool isNumber = false;
    int zone = zone_->text().trimmed().toInt(&isNumber);
    if (!isNumber || zone < kMinZone || zone > kMaxZone) {
        UiServices().Message(this, UETr(IDS_UEO_ZONE_RANGE).arg(kMinZone).arg(kMaxZone), IUiServices::Icon::Warning);
        zone_->setFocus();
        zone_->selectAll();
        return;
    }
    taken.Zone = static_cast<int16_t>(zone);

    taken.AngleUnit = angleUnits_->checkedId();
    QString format = angleFormat_->currentText();
    if (!ToModel(format, taken.AngleFormat) || !CAngleFormat::IsValidTemplate(taken.AngleFormat)) {
        UiServices().Message(this, UETr(IDS_UE_INVALID_ANGLE_TEMPLATE), IUiServices::Icon::Warning);
        angleFormat_->setFocus();
        return;
    }
    taken.LinearUnit = linearUnits_->checkedId();
    if (!ToModel(fileFilter_->text(), taken.FileFilter)) {
        UiServices().Message(this, UETr(IDS_UED_NOT_1251), IUiServices::Icon::Warning);
        fileFilter_->setFocus();
        return;
    }
    taken.DosCodePage = dos_->isChecked();

    settings_ = taken;
    CAngleFormatHistory::Add(format);
    QDialog::accept();
}

void CUEOptionsDlg::WriteTo(CUETemplate& target) const {
    std::vector<CUEField> fields = std::move(target.Fields);
    target = settings_;
    target.Fields = std::move(fields);
}

}  // namespace tvk
