// The DXF, MapInfo and shapefile dialogs driven as a user would: read, rename, export, folders and
// their history, close and stop mid-run, and the overwrite question.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <map>
#include <utility>

#include "DialogTestSupport.h"
#include "ScriptedUi.h"
#include "dialogs/ACEDlg.h"
#include "dialogs/DialogStrings.h"
#include "dialogs/FileOverwriteDlg.h"
#include "dialogs/FolderTree.h"
#include "dialogs/LayerList.h"
#include "dialogs/MIEDlg.h"
#include "dialogs/Profile.h"
#include "dialogs/SHEDlg.h"
#include "export/OverwriteDecision.h"

using namespace tvk;
using namespace tvk::test;

namespace {

template <class Dialog>
struct OpenDialog {
    Dialog dialog;
    explicit OpenDialog(const std::string& sample) {
        dialog.SetFilePath(sample.c_str());
        dialog.show();
        EXPECT_TRUE(WaitUntil([&] { return dialog.IsReadComplete() && !dialog.IsBusy(); }));
    }
    bool Export() {
        dialog.ExportButton()->click();
        return WaitUntil([&] { return !dialog.IsBusy(); });
    }
};

// Every file of a folder (hidden ones too) with its bytes.
std::map<QString, QByteArray> Snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        files[name] = ReadAll(folder + "/" + name);
    return files;
}

QStringList FilesIn(const QString& folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

}  // namespace

class FormatDialogs : public ::testing::Test {
protected:
    // The dialogs install their own overwrite question, however they are built.
    void SetUp() override { SetOverwriteQuestion(nullptr); }
    void TearDown() override { SetOverwriteQuestion(nullptr); }
    ScriptedUi ui;
    TestFolder folder;
};

TEST_F(FormatDialogs, DxfDialogReadsRenamesAndExports) {
    OpenDialog<CACEDlg> open(SamplePath("building-site.tlx"));
    CLayerList* list = open.dialog.LayerList();
    ASSERT_GT(list->topLevelItemCount(), 1);

    // Characters DXF does not allow are converted; the converted name is kept.
    ASSERT_TRUE(list->CommitEdit(0, "Road/1 (old)"));
    EXPECT_EQ(list->RowText(0), "Road_1__old_");
    // Blank names are refused silently.
    EXPECT_FALSE(list->CommitEdit(0, "   "));
    EXPECT_TRUE(ui.messages.isEmpty());
    // A name equal to another row's except for case is not unique.
    QString other = list->RowText(1);
    EXPECT_FALSE(list->CommitEdit(0, other.toLower()));
    EXPECT_EQ(ui.messages.value(0), "Layer name must be unique");
    EXPECT_EQ(list->RowText(0), "Road_1__old_");
    // Renaming a row to its own name in another case is fine.
    EXPECT_TRUE(list->CommitEdit(1, other.toLower()));
    ui.messages.clear();

    QString out = folder.Path("site.dxf");
    ui.saveAnswers.push_back(out);
    ASSERT_TRUE(open.Export());
    EXPECT_EQ(ui.messages, QStringList{"Export succeed"});
    EXPECT_EQ(ui.icons.back(), IUiServices::Icon::Information);
    EXPECT_TRUE(ui.saveRequests.value(0).startsWith("DXF (*.dxf)|dxf|filename"));
    QByteArray dxf = ReadAll(out);
    EXPECT_TRUE(dxf.contains("\r\nRoad_1__old_\r\n"));
    EXPECT_TRUE(dxf.endsWith("EOF\r\n"));
    EXPECT_TRUE(open.dialog.isVisible());  // the dialog stays for another export
}

TEST_F(FormatDialogs, AFileErrorLeavesTheDialogUsable) {
    OpenDialog<CACEDlg> open(SamplePath("building-site.tlx"));
    ui.saveAnswers.push_back(folder.Path("missing-folder/site.dxf"));
    ASSERT_TRUE(open.Export());
    EXPECT_EQ(ui.messages, QStringList{"File input/output error"});
    EXPECT_FALSE(QFileInfo::exists(folder.Path("missing-folder/site.dxf")));
    EXPECT_TRUE(open.dialog.isVisible());
    EXPECT_TRUE(open.dialog.ExportButton()->isEnabled());

    ui.messages.clear();
    ui.saveAnswers.push_back(folder.Path("site.dxf"));
    ASSERT_TRUE(open.Export());
    EXPECT_EQ(ui.messages, QStringList{"Export succeed"});
    EXPECT_TRUE(QFileInfo::exists(folder.Path("site.dxf")));
}

TEST_F(FormatDialogs, CloseDuringReadingClosesWithoutAMessage) {
    CMIEDlg dialog;
    dialog.SetFilePath(SamplePath("building-site.tlx").c_str());
    dialog.show();
    ASSERT_TRUE(dialog.IsBusy());
    dialog.reject();  // only a stop request while the worker runs
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(dialog.IsBusy());
}

TEST_F(FormatDialogs, MapInfoExportCreatesEveryMissingLevelAndRemembersTheFolder) {
    QDir().mkpath(folder.Path("a"));
    QString target = folder.Path("a/b/c");
    {
        OpenDialog<CMIEDlg> open(SamplePath("building-site.tlx"));
        open.dialog.FolderCombo()->setEditText(target);
        ASSERT_TRUE(open.Export());
        EXPECT_EQ(ui.messages, QStringList{"Export succeed"});
        QStringList files = FilesIn(target);
        EXPECT_FALSE(files.isEmpty());
        EXPECT_EQ(files.filter(".MIF", Qt::CaseInsensitive).size(), files.filter(".MID", Qt::CaseInsensitive).size());
        EXPECT_EQ(open.dialog.FolderCombo()->itemText(0), target);
        open.dialog.close();
    }
    EXPECT_EQ(CProfile::GetString("MapInfoExporter settings", "MRU1"), target);
}

TEST_F(FormatDialogs, TheHistoryKeepsEightFoldersMostRecentFirst) {
    for (int k = 1; k <= 8; ++k)
        CProfile::WriteString("ShapefilesExporter settings", QString("MRU%1").arg(k),
                              folder.Path(QString("old%1").arg(k)));
    {
        OpenDialog<CSHEDlg> open(SamplePath("building-site.tlx"));
        QComboBox* combo = open.dialog.FolderCombo();
        ASSERT_EQ(combo->count(), 8);
        // A ninth folder pushes the oldest out.
        combo->setEditText(folder.Path("new"));
        ASSERT_TRUE(open.Export());
        EXPECT_EQ(combo->count(), 8);
        EXPECT_EQ(combo->itemText(0), folder.Path("new"));
        EXPECT_EQ(combo->itemText(7), folder.Path("old7"));
        // A folder already listed moves to the top; nothing is dropped.
        combo->setEditText(folder.Path("old5"));
        ASSERT_TRUE(open.Export());
        EXPECT_EQ(combo->count(), 8);
        EXPECT_EQ(combo->itemText(0), folder.Path("old5"));
        EXPECT_EQ(combo->itemText(1), folder.Path("new"));
        open.dialog.close();
    }
    EXPECT_EQ(CProfile::GetString("ShapefilesExporter settings", "MRU1"), folder.Path("old5"));
    EXPECT_EQ(CProfile::GetString("ShapefilesExporter settings", "MRU8"), folder.Path("old7"));
}

// The sample's long property names do not fit the tables' ten bytes. (Its
// MapInfo export changes nothing and says only "Export succeed", above.)
TEST_F(FormatDialogs, TheFinalMessageListsWhatTheFormatChanged) {
    OpenDialog<CSHEDlg> open(SamplePath("building-site.tlx"));
    open.dialog.FolderCombo()->setEditText(folder.Path("shp"));
    ASSERT_TRUE(open.Export());
    ASSERT_EQ(ui.messages.size(), 1);
    QStringList lines = ui.messages[0].split('\n');
    EXPECT_EQ(lines.mid(0, 4),
              (QStringList{"Export succeed", "", "Changes to fit the format:",
                           "Layer \"Геодезия\", column \"Кадастр. номер\": field name cut to \"Кадастр. н\""}));
    EXPECT_EQ(lines.size(), 3 + 9);
}

TEST_F(FormatDialogs, FoldersThatDifferInCaseAreDifferentFolders) {
    OpenDialog<CMIEDlg> open(SamplePath("building-site.tlx"));
    QComboBox* combo = open.dialog.FolderCombo();
    combo->setEditText(folder.Path("Sub"));
    ASSERT_TRUE(open.Export());
    // Typed key by key, so that the combo's completion has its say.
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), folder.Path("sub"));
    ASSERT_TRUE(open.Export());
    EXPECT_EQ(combo->currentText(), folder.Path("sub"));  // where the next export goes
    EXPECT_EQ(combo->itemText(0), folder.Path("sub"));
    EXPECT_EQ(combo->itemText(1), folder.Path("Sub"));
    EXPECT_EQ(FilesIn(folder.Path("sub")), FilesIn(folder.Path("Sub")));
    EXPECT_FALSE(FilesIn(folder.Path("sub")).isEmpty());
}

TEST_F(FormatDialogs, TildeRelativeAndEmptyFoldersAreTakenInTheHomeFolder) {
    const QString home = folder.Path("home");
    TestHome testHome(home);
    OpenDialog<CSHEDlg> open(SamplePath("building-site.tlx"));
    QComboBox* combo = open.dialog.FolderCombo();
    combo->setEditText("~/survey/out");
    ASSERT_TRUE(open.Export());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith("Export succeed\n\n"));  // and the field names cut to ten bytes
    EXPECT_FALSE(FilesIn(home + "/survey/out").isEmpty());
    EXPECT_FALSE(QFileInfo::exists("~"));
    EXPECT_EQ(combo->currentText(), home + "/survey/out");
    EXPECT_EQ(combo->itemText(0), home + "/survey/out");

    combo->setEditText(" plans\\2024/./a/../b/ ");
    ASSERT_TRUE(open.Export());
    EXPECT_FALSE(FilesIn(home + "/plans/2024/b").isEmpty());
    EXPECT_EQ(combo->itemText(0), home + "/plans/2024/b");

    EXPECT_EQ(CFolderExportDialog::ResolveFolder("~root/x"), "/root/x");
    EXPECT_EQ(CFolderExportDialog::ResolveFolder("~nobody-such/x"), home + "/~nobody-such/x");
    EXPECT_EQ(CFolderExportDialog::ResolveFolder("/abs/x/"), "/abs/x");

    // No folder at all is the home folder too, after a question.
    combo->setEditText("   ");
    ui.yesNoAnswer = false;
    open.dialog.ExportButton()->click();
    EXPECT_FALSE(open.dialog.IsBusy());
    EXPECT_EQ(ui.questions, QStringList{"Export to directory " + home + " ?"});
}

TEST_F(FormatDialogs, FileNamesAreTriedOnTheFileSystem) {
    OpenDialog<CMIEDlg> open(SamplePath("building-site.tlx"));
    CLayerList* list = open.dialog.LayerList();
    EXPECT_FALSE(list->CommitEdit(0, "a/b"));
    EXPECT_EQ(ui.messages.value(0), "Invalid file name");
    EXPECT_FALSE(list->CommitEdit(0, "日本"));  // not representable in code page 1251
    EXPECT_TRUE(list->CommitEdit(0, "Дороги"));
    EXPECT_EQ(list->RowText(0), "Дороги");
    // File names need not be unique.
    EXPECT_TRUE(list->CommitEdit(1, "Дороги"));
}

// The dialog's question is asked from the worker and its answers reach the
// writer; what each answer does to later sets is OverwriteDecisionTest's.
TEST_F(FormatDialogs, TheMapInfoDialogBuiltDirectlyAsksOncePerPairFromTheWorker) {
    QString target = folder.Path("mif");
    OpenDialog<CMIEDlg> open(SamplePath("building-site.tlx"));
    open.dialog.FolderCombo()->setEditText(target);
    ASSERT_TRUE(open.Export());
    QStringList first = FilesIn(target);
    ASSERT_GE(first.size(), 4);
    EXPECT_TRUE(ui.overwriteQuestions.isEmpty());

    // No to all on the first pair: every pair with a file is kept as it is
    // (the one missing its .MID too), and the run still succeeds.
    QFile::remove(target + "/" + first.back());
    for (const QString& f : FilesIn(target)) {
        QFile file(target + "/" + f);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("old");
    }
    const auto before = Snapshot(target);
    ui.messages.clear();
    ui.overwriteAnswers = {4};
    ASSERT_TRUE(open.Export());
    EXPECT_EQ(ui.overwriteQuestions.size(), 1);
    EXPECT_TRUE(ui.overwriteQuestions[0].contains("\n3 ")) << ui.overwriteQuestions[0].toStdString();
    EXPECT_EQ(ui.messages, QStringList{"Export succeed"});
    EXPECT_EQ(Snapshot(target), before);

    // Yes, then Cancel: a user break, the pair answered Yes keeps its old
    // bytes too, and the dialog stays.
    ui.messages.clear();
    ui.overwriteQuestions.clear();
    ui.overwriteAnswers = {1, 5};
    ASSERT_TRUE(open.Export());
    EXPECT_EQ(ui.overwriteQuestions.size(), 2);
    EXPECT_EQ(ui.messages, QStringList{"User break"});
    EXPECT_TRUE(open.dialog.isVisible());
    EXPECT_EQ(Snapshot(target), before);
}

TEST_F(FormatDialogs, CloseDuringExportStopsClosesAndChangesNothing) {
    QString target = folder.Path("shp");
    OpenDialog<CSHEDlg> open(SamplePath("building-site.tlx"));
    open.dialog.FolderCombo()->setEditText(target);
    ASSERT_TRUE(open.Export());
    const auto before = Snapshot(target);
    ASSERT_FALSE(before.empty());
    ui.messages.clear();
    // The worker waits on the overwrite question; Close is pressed meanwhile.
    ui.onOverwrite = [&] { open.dialog.reject(); };
    ui.overwriteAnswers = {3};
    open.dialog.ExportButton()->click();
    ASSERT_TRUE(WaitUntil([&] { return !open.dialog.isVisible(); }));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(Snapshot(target), before);
}

TEST_F(FormatDialogs, TwoDialogsExportingIntoOneFolderRunOneAfterTheOther) {
    QString target = folder.Path("both");
    OpenDialog<CMIEDlg> mif(SamplePath("building-site.tlx"));
    OpenDialog<CSHEDlg> shp(SamplePath("building-site.tlx"));
    mif.dialog.FolderCombo()->setEditText(target);
    shp.dialog.FolderCombo()->setEditText(target);
    ASSERT_TRUE(mif.Export());
    ui.messages.clear();
    // While the MapInfo export waits for its answer, the shapefile export
    // starts into the same folder: it writes nothing until the first is done.
    bool started = false, shapefilesWaited = false;
    ui.onOverwrite = [&] {
        if (std::exchange(started, true)) return;
        shp.dialog.ExportButton()->click();
        WaitUntil([] { return false; }, 400);
        // Not even a temporary file of it is there yet.
        shapefilesWaited = shp.dialog.IsBusy() && Snapshot(target).size() == size_t(FilesIn(target).size()) &&
                           FilesIn(target).filter(".SHP").isEmpty();
    };
    ui.overwriteAnswers = {3};
    mif.dialog.ExportButton()->click();
    ASSERT_TRUE(WaitUntil([&] { return !mif.dialog.IsBusy() && !shp.dialog.IsBusy(); }));
    EXPECT_TRUE(shapefilesWaited);
    ASSERT_EQ(ui.messages.size(), 2);
    for (const QString& message : ui.messages)
        EXPECT_TRUE(message.startsWith("Export succeed")) << message.toStdString();
    EXPECT_FALSE(FilesIn(target).filter(".SHP").isEmpty());
    for (const QString& name : QDir(target).entryList(QDir::Files | QDir::Hidden))
        EXPECT_FALSE(name.contains(".tlxexport-")) << name.toStdString();
}

TEST(OverwriteQuestion, AnswersByButton) {
    CFileOverwriteDlg dlg(nullptr);
    for (int code = 1; code <= 5; ++code) {
        QTimer::singleShot(0, &dlg,
                           [&dlg, code] { dlg.findChild<QPushButton*>(QString("answer%1").arg(code))->click(); });
        EXPECT_EQ(dlg.Ask("old\n1024 байт", "new"), code);
    }
}

TEST_F(FormatDialogs, TheTreeOpensOnTheRememberedFolderOrTheHomeFolder) {
    const QString home = folder.Path("home");
    TestHome testHome(home);
    {
        // No folder yet: the tree is on the home folder, the combo stays empty.
        OpenDialog<CMIEDlg> open(SamplePath("building-site.tlx"));
        CFolderTree* tree = open.dialog.FolderTree();
        EXPECT_EQ(tree->Places().first(), home);
        EXPECT_EQ(tree->Places().last(), "/");
        EXPECT_EQ(tree->SelectedPath(), home);
        EXPECT_TRUE(open.dialog.FolderCombo()->currentText().isEmpty());
        // A folder picked in the tree becomes the folder text.
        QDir().mkpath(home + "/picked");
        ASSERT_TRUE(tree->SelectPath(home + "/picked"));
        EXPECT_EQ(open.dialog.FolderCombo()->currentText(), home + "/picked");
        EXPECT_EQ(open.dialog.FolderText(), home + "/picked");
    }
    // The remembered folder is selected, its branch open and in sight.
    const QString remembered = folder.Path("jobs/2024/.hidden/site");
    QDir().mkpath(remembered);
    for (int k = 0; k < 40; ++k) QDir().mkpath(folder.Path(QString("jobs/2024/a%1").arg(k)));
    CProfile::WriteString("MapInfoExporter settings", "MRU1", remembered);
    CProfile::WriteString("MapInfoExporter settings", "MRU2", folder.Path("gone/deeper"));
    {
        OpenDialog<CMIEDlg> open(SamplePath("building-site.tlx"));
        CFolderTree* tree = open.dialog.FolderTree();
        EXPECT_EQ(tree->SelectedPath(), remembered);
        EXPECT_TRUE(tree->currentItem()->parent()->isExpanded());
        QCoreApplication::processEvents();
        EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualItemRect(tree->currentItem())));
        EXPECT_EQ(open.dialog.FolderCombo()->currentText(), remembered);
        // A remembered folder that is gone: the nearest one above it.
        open.dialog.OnSelchangeFoldercombo(1);
        EXPECT_EQ(tree->SelectedPath(), folder.dir.path());
    }
}

TEST_F(FormatDialogs, WhileExportingTheTreeHidesInPlaceAndOnlyTheDialogWaits) {
    OpenDialog<CMIEDlg> open(SamplePath("building-site.tlx"));
    QComboBox* combo = open.dialog.FolderCombo();
    combo->setEditText(folder.Path("out"));
    const QCursor editCursor = combo->lineEdit()->cursor();
    open.dialog.ExportButton()->click();
    ASSERT_TRUE(open.dialog.IsBusy());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_TRUE(open.dialog.FolderTree()->isHidden());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // messages and questions keep the arrow
    EXPECT_EQ(open.dialog.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(combo->lineEdit()->cursor().shape(), Qt::WaitCursor);
    ASSERT_TRUE(WaitUntil([&] { return !open.dialog.IsBusy(); }));
    EXPECT_FALSE(open.dialog.FolderTree()->isHidden());
    EXPECT_EQ(open.dialog.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(combo->lineEdit()->cursor().shape(), editCursor.shape());
}

TEST_F(FormatDialogs, LayerColumnsFitTheNamesAndKeepTheWidthsTheUserSets) {
    OpenDialog<CSHEDlg> open(SamplePath("building-site.tlx"));
    CLayerList* list = open.dialog.LayerList();
    bool pointsLayer = false;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        pointsLayer |= list->RowText(row).startsWith("Точки_тахеометрии");
    EXPECT_TRUE(pointsLayer);
    for (int column : {0, 1})
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            EXPECT_GE(list->columnWidth(column), list->sizeHintForIndex(list->model()->index(row, column)).width())
                << list->topLevelItem(row)->text(column).toStdString();

    list->header()->resizeSection(0, 300);
    open.dialog.resize(open.dialog.width() + 200, open.dialog.height());
    QCoreApplication::processEvents();
    open.dialog.FolderCombo()->setEditText(folder.Path("out"));
    ASSERT_TRUE(open.Export());  // the list is filled again
    EXPECT_EQ(list->columnWidth(0), 300);
}
