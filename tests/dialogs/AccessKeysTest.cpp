// Every dialog and menu, in English and in Russian: no two of its texts share
// an access key (the letter after '&'), so that Alt+letter reaches one control.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>

#include "dialogs/ACEDlg.h"
#include "dialogs/FileOverwriteDlg.h"
#include "dialogs/MIEDlg.h"
#include "dialogs/SHEDlg.h"
#include "dialogs/UEDlg.h"
#include "dialogs/UEOptionsDlg.h"
#include "platform/StringTable.h"

using namespace tvk;

namespace {

// The access key of `text` in upper case, or a null character ("&&" is a
// plain '&').
QChar AccessKey(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return text[i + 1].toUpper();
        ++i;
    }
    return QChar();
}

QStringList ControlTexts(QWidget* dialog) {
    QStringList texts;
    for (auto* button : dialog->findChildren<QAbstractButton*>()) texts << button->text();
    for (auto* label : dialog->findChildren<QLabel*>()) texts << label->text();
    for (auto* group : dialog->findChildren<QGroupBox*>()) texts << group->title();
    return texts;
}

QStringList MenuTexts(const QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) texts << action->text();
    return texts;
}

// Fails for every key that two texts share; returns how many keys there are.
int ExpectUniqueKeys(const std::string& where, const QStringList& texts) {
    QMap<QChar, QString> owners;
    for (const QString& text : texts) {
        QChar key = AccessKey(text);
        if (key.isNull()) continue;
        EXPECT_FALSE(owners.contains(key)) << where << ": \"" << owners.value(key).toStdString() << "\" and \""
                                           << text.toStdString() << "\" share " << QString(key).toStdString();
        owners.insert(key, text);
    }
    return static_cast<int>(owners.size());
}

}  // namespace

TEST(AccessKeys, AreUniqueInEveryDialogAndMenuInBothLanguages) {
    for (auto language : {CStringTable::Language::English, CStringTable::Language::Russian}) {
        CStringTable::SetLanguage(language);
        const std::string in = language == CStringTable::Language::English ? " (English)" : " (Russian)";
        CACEDlg dxf;
        CMIEDlg mif;
        CSHEDlg shp;
        CUEDlg universal;
        CUEOptionsDlg options(CUETemplate(), nullptr);
        CFileOverwriteDlg overwrite(nullptr);
        for (QWidget* dialog : std::initializer_list<QWidget*>{&dxf, &mif, &shp, &universal, &options, &overwrite})
            EXPECT_GT(ExpectUniqueKeys(dialog->windowTitle().toStdString() + in, ControlTexts(dialog)), 0);
        for (CExportDialog* dialog : std::initializer_list<CExportDialog*>{&dxf, &mif, &shp, &universal})
            EXPECT_EQ(ExpectUniqueKeys(dialog->windowTitle().toStdString() + " menu" + in,
                                       MenuTexts(*dialog->CreateAboutMenu())),
                      1);
        EXPECT_EQ(ExpectUniqueKeys("template grid menu" + in, MenuTexts(*universal.CreateGridMenu())), 8);
    }
    CStringTable::SetLanguage(CStringTable::Language::English);
}
