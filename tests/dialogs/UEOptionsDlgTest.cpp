// The export options dialog: what it shows for a template, the refusals of
// OK, the angle-format history in the profile, and the renewed preview.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>

#include "UEDlgTestSupport.h"
#include "dialogs/Profile.h"
#include "dialogs/UEOptionsDlg.h"
#include "platform/StringTable.h"

using namespace tvk;
using namespace tvk::test;

namespace {

QStringList History() {
    QStringList items;
    for (int i = 0; i < 6; ++i) items << CProfile::GetString("AngleFormatComboBox", QString("Item%1").arg(i));
    return items;
}

// Whether `edit` has room for the whole of `text`: its contents less the
// margins the line edit keeps on both sides and the cursor.
bool ShowsWhole(QLineEdit* edit, const QString& text) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->contentsRect();
    QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    int room = contents.width() - edit->textMargins().left() - edit->textMargins().right() - 2 * 2 - 1;
    return room >= edit->fontMetrics().horizontalAdvance(text);
}

}  // namespace

class UEOptions : public UEDialogTest {};

TEST_F(UEOptions, ShowsTheSettingsAndWritesThemBack) {
    CUETemplate source;  // -1 angle and linear units: shown as degree and meter
    source.Fields = {CUEField(CUEField::kNorth)};
    source.EastType = 2;
    source.FalseNorthing = 1234.5678;  // more digits than shown: kept when untouched
    source.Zone = 12;
    source.FileFilter = "*.dat";
    CUEOptionsDlg dialog(source, nullptr);
    EXPECT_EQ(dialog.NorthTypeCombo()->currentText(), "N-No");
    EXPECT_EQ(dialog.EastTypeCombo()->currentText(), "Zone E+Eo");
    EXPECT_EQ(dialog.N0Edit()->text(), "1234.568");
    EXPECT_EQ(dialog.ZoneEdit()->text(), "12");
    EXPECT_TRUE(dialog.AngleUnitButton(0)->isChecked());
    EXPECT_TRUE(dialog.LinearUnitButton(0)->isChecked());
    EXPECT_EQ(dialog.AngleFormatCombo()->currentText(), "ddd.mmssxxxxxxx");
    EXPECT_EQ(dialog.FileFilterEdit()->text(), "*.dat");
    EXPECT_FALSE(dialog.DosCheck()->isChecked());

    dialog.E0Edit()->setText(" 500000,5 ");
    dialog.AngleUnitButton(1)->setChecked(true);
    dialog.AngleFormatCombo()->setCurrentText("ddd.mm.ss.xxx");
    dialog.DosCheck()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(ui.messages.isEmpty());

    CUETemplate target = source;
    target.Fields.clear();
    dialog.WriteTo(target);
    EXPECT_TRUE(target.Fields.empty());
    EXPECT_EQ(target.EastType, 2);
    EXPECT_EQ(target.FalseNorthing, 1234.5678);
    EXPECT_EQ(target.FalseEasting, 500000.5);
    EXPECT_EQ(target.AngleUnit, 1);
    EXPECT_EQ(target.LinearUnit, 0);
    EXPECT_EQ(target.AngleFormat, "ddd.mm.ss.xxx");
    EXPECT_TRUE(target.DosCodePage);
}

TEST_F(UEOptions, OkRefusesBadValuesAndStaysOpen) {
    CUEOptionsDlg dialog(CUETemplate(), nullptr);
    dialog.show();
    auto refused = [&](const QString& message) {
        ui.messages.clear();
        dialog.accept();
        EXPECT_EQ(ui.messages, QStringList{message});
        EXPECT_TRUE(dialog.isVisible());
    };
    dialog.N0Edit()->setText("12 m");
    refused("Invalid value. Please repeat input.");
    EXPECT_TRUE(dialog.N0Edit()->hasFocus() || QApplication::focusWidget() == nullptr);
    dialog.N0Edit()->setText("-7.25");
    dialog.E0Edit()->setText("");
    refused("Invalid value. Please repeat input.");
    dialog.E0Edit()->setText("0");
    for (const char* zone : {"0", "121", "x", ""}) {
        dialog.ZoneEdit()->setText(zone);
        refused("Please enter an integer between 1 and 120.");
    }
    dialog.ZoneEdit()->setText("120");
    for (const char* format : {"mmdd", "ddd.mss", "dd.mmm", "abc"}) {
        dialog.AngleFormatCombo()->setCurrentText(format);
        refused("Invalid angle template");
        EXPECT_EQ(ui.icons.back(), IUiServices::Icon::Warning);
    }
    EXPECT_TRUE(History()[0].isEmpty());  // nothing was accepted yet

    dialog.AngleFormatCombo()->setCurrentText("ddd.xxx");
    ui.messages.clear();
    dialog.accept();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    CUETemplate target;
    dialog.WriteTo(target);
    EXPECT_EQ(target.FalseNorthing, -7.25);
    EXPECT_EQ(target.Zone, 120);
}

TEST_F(UEOptions, AngleFormatHistoryKeepsTheSixMostRecent) {
    auto accept = [this](const QString& format) {
        CUEOptionsDlg dialog(CUETemplate(), nullptr);
        dialog.AngleFormatCombo()->setCurrentText(format);
        dialog.accept();
        EXPECT_TRUE(ui.messages.isEmpty()) << format.toStdString();
    };
    for (const char* format :
         {"ddd.xxx", "ddd.mm.xxx", "ddd mm ss.xx", "ddd-mm", "ddd.mm.ss.xxx", "<ddd.xx>", "ddd.mmssxx"})
        accept(format);
    EXPECT_EQ(History(),
              (QStringList{"ddd.mmssxx", "<ddd.xx>", "ddd.mm.ss.xxx", "ddd-mm", "ddd mm ss.xx", "ddd.mm.xxx"}));
    accept("ddd-mm");  // a known one moves to the top, no duplicate
    EXPECT_EQ(History(),
              (QStringList{"ddd-mm", "ddd.mmssxx", "<ddd.xx>", "ddd.mm.ss.xxx", "ddd mm ss.xx", "ddd.mm.xxx"}));
    // The combo lists the history first, then the standard formats not in it.
    CUEOptionsDlg dialog(CUETemplate(), nullptr);
    QStringList items;
    for (int i = 0; i < dialog.AngleFormatCombo()->count(); ++i) items << dialog.AngleFormatCombo()->itemText(i);
    EXPECT_EQ(items, (QStringList{"ddd-mm", "ddd.mmssxx", "<ddd.xx>", "ddd.mm.ss.xxx", "ddd mm ss.xx", "ddd.mm.xxx",
                                  "ddd.mmssxxxxxxx", "ddd.xxx"}));
}

TEST_F(UEOptions, OkRenewsTheDialogsPreview) {
    TestUEDlg dialog;
    Open(dialog);
    dialog.Template().Fields = {CUEField(CUEField::kNorth, "", 0, 2, CUEField::kLeft)};
    dialog.DataToControls();
    dialog.OnUePreview();
    QString before = PreviewLines(dialog)[0];

    // N - N0 with N0 = 1000: every north drops by 1000.
    dialog.runOptions = [](CUEOptionsDlg& options) {
        options.NorthTypeCombo()->setCurrentIndex(1);
        options.N0Edit()->setText("1000");
        options.accept();
        return options.result();
    };
    dialog.Button("optionsButton")->click();
    EXPECT_EQ(dialog.Template().FalseNorthing, 1000.0);
    EXPECT_EQ(dialog.Template().Fields.size(), 1u);
    EXPECT_NEAR(PreviewLines(dialog)[0].toDouble(), before.toDouble() - 1000.0, 1e-6);

    // Cancel changes nothing.
    dialog.runOptions = [](CUEOptionsDlg& options) {
        options.N0Edit()->setText("5");
        options.reject();
        return options.result();
    };
    dialog.Button("optionsButton")->click();
    EXPECT_EQ(dialog.Template().FalseNorthing, 1000.0);
}

TEST_F(UEOptions, OriginsNameTheirUnitAndTheAngleFormatShowsWhole) {
    for (auto language : {CStringTable::Language::English, CStringTable::Language::Russian}) {
        CStringTable::SetLanguage(language);
        const bool russian = language == CStringTable::Language::Russian;
        CUEOptionsDlg dialog(CUETemplate(), nullptr);
        dialog.show();
        QStringList labels;
        for (QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
        EXPECT_TRUE(labels.contains(russian ? "N0, м:" : "N0, m:")) << labels.join('|').toStdString();
        EXPECT_TRUE(labels.contains(russian ? "E0, м:" : "E0, m:"));
        EXPECT_TRUE(ShowsWhole(dialog.AngleFormatCombo()->lineEdit(), "ddd.mmssxxxxxxx")) << russian;
    }
    CStringTable::SetLanguage(CStringTable::Language::English);
}
