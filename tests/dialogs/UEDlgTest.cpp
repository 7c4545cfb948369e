// The universal export dialog: opening with its template choice and
// warnings, the collapsed window and the preview, Load, Save and Set as
// default through the profile, and the export to a text file, compared with
// the command line's text export.
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QProcess>
#include <QPushButton>

#include "UEDlgTestSupport.h"
#include "dialogs/Profile.h"
#include "platform/StringTable.h"
#include "universal/TemplateChoice.h"
#include "universal/UETemplateFile.h"

using namespace tvk;
using namespace tvk::test;

namespace {

const QString kSection = QString::fromLatin1(kTemplateProfileSection);

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A template that uses every kind, widths, cutting, both alignments and a
// text with a tab and a line feed.
CUETemplate RichTemplate() {
    CUETemplate t;
    t.Fields = {CUEField(CUEField::kName, "", 6, 10, CUEField::kLeft),
                CUEField(CUEField::kText, " |\t", 0, 10, CUEField::kLeft),
                CUEField(CUEField::kNorth, "", 14, 3, CUEField::kRight),
                CUEField(CUEField::kEast, "", 0, 2, CUEField::kRight),
                CUEField(CUEField::kHeight, "", 8, 1, CUEField::kRight),
                CUEField(CUEField::kLatitude, "", 0, 3, CUEField::kLeft),
                CUEField(CUEField::kText, ";\n", 0, 10, CUEField::kLeft),
                CUEField(CUEField::kLongitude, "", 16, 2, CUEField::kRight)};
    t.NorthType = 0;
    t.EastType = 2;
    t.FalseEasting = 500000.0;
    t.Zone = 7;
    t.AngleFormat = "ddd.mm.ss.xxx";
    t.FileFilter = "*.csv";
    return t;
}

}  // namespace

class UEDialog : public UEDialogTest {
protected:
    // Loads `tmpl` into the dialog through a .ue file and the Load command.
    void LoadThroughFile(CUEDlg& dialog, const CUETemplate& tmpl, const QString& name) {
        WriteTemplateFile(folder.Path(name).toStdString(), tmpl);
        ui.openAnswers.push_back(folder.Path(name));
        dialog.OnUeLoad();
    }
    // Exports through the Export button into `name` and waits for the end.
    void ExportTo(CUEDlg& dialog, const QString& name) {
        ui.saveAnswers.push_back(folder.Path(name));
        dialog.Button("exportButton")->click();
        ASSERT_TRUE(WaitUntil([&] { return !dialog.IsBusy(); }));
    }
};

TEST_F(UEDialog, FirstStartOpensQuietlyOnTheBuiltInTemplate) {
    TestUEDlg dialog;
    Open(dialog);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_TRUE(CProfile::GetString(kSection, QString()).isEmpty());  // no default was set
    EXPECT_EQ(dialog.windowTitle(), "Universal export [INTERNAL TEMPLATE]");
    EXPECT_EQ(dialog.Template().Fields, CUETemplate::Internal().Fields);
    EXPECT_FALSE(dialog.Button("setDefaultButton")->isEnabled());

    // Opened collapsed; Preview expands and collapses without moving the window.
    EXPECT_FALSE(dialog.IsPreviewShown());
    EXPECT_FALSE(dialog.PreviewBox()->isVisible());
    const QSize collapsed = dialog.size();
    const QPoint position = dialog.pos();
    dialog.Button("previewButton")->click();
    EXPECT_TRUE(dialog.PreviewBox()->isVisible());
    EXPECT_GT(dialog.height(), collapsed.height() + 50);
    EXPECT_EQ(dialog.pos(), position);
    EXPECT_EQ(PreviewLines(dialog).size(), 16);
    dialog.Button("previewButton")->click();
    EXPECT_EQ(dialog.size(), collapsed);
    EXPECT_FALSE(dialog.PreviewBox()->isVisible());
}

TEST_F(UEDialog, BrokenOrMissingDefaultTemplateWarnsAndFallsBack) {
    // A default that is missing, and a "default.ue" that is not a template.
    CProfile::WriteString(kSection, QString(), folder.Path("gone.ue"));
    WriteAll(folder.Path("default.ue"), "not an archive");
    {
        TestUEDlg dialog;
        Open(dialog);
        EXPECT_EQ(ui.messages, (QStringList{"Can't open default template file (" + folder.Path("gone.ue") +
                                                ")\nAttempt to load default.ue",
                                            "Can't open default.ue\nIntern template will be used"}));
        EXPECT_EQ(ui.icons, std::vector<IUiServices::Icon>(2, IUiServices::Icon::Warning));
        EXPECT_EQ(dialog.TemplatePath(), kInternalTemplatePath);
    }
    // A readable "default.ue" is taken without a word.
    ui.messages.clear();
    WriteTemplateFile(folder.Path("default.ue").toStdString(), RichTemplate());
    {
        TestUEDlg dialog;
        Open(dialog);
        EXPECT_EQ(ui.messages.size(), 1);  // the missing profile default only
        EXPECT_EQ(dialog.TemplatePath(), "default.ue");
        EXPECT_EQ(dialog.Template(), RichTemplate());
        EXPECT_EQ(dialog.windowTitle(), "Universal export [default.ue]");
    }
    // With no default set, "default.ue" in the settings folder comes before
    // the one in the current folder, quietly.
    ui.messages.clear();
    CProfile::WriteString(kSection, QString(), QString());
    const QString inSettings = folder.Path("config/default.ue");
    WriteTemplateFile(inSettings.toStdString(), CUETemplate::Internal());
    TestUEDlg dialog;
    Open(dialog);
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_EQ(dialog.TemplatePath(), inSettings.toStdString());
    EXPECT_EQ(dialog.Template().Fields, CUETemplate::Internal().Fields);
}

TEST_F(UEDialog, SaveAndLoadGiveBackTheSameTemplate) {
    TestUEDlg dialog;
    Open(dialog);
    dialog.Template() = RichTemplate();
    dialog.DataToControls();

    ui.saveAnswers.push_back(folder.Path("saved.ue"));
    dialog.OnUeSave();
    ASSERT_EQ(ui.saveRequests.size(), 1);
    EXPECT_EQ(ui.saveRequests[0], "Export templates (*.ue)|ue|template.ue");
    EXPECT_EQ(dialog.TemplatePath(), folder.Path("saved.ue").toStdString());
    EXPECT_EQ(dialog.windowTitle(), "Universal export [" + folder.Path("saved.ue") + "]");
    EXPECT_EQ(CProfile::GetString(kSection, "Template directory"), folder.dir.path());
    EXPECT_EQ(ReadAll(folder.Path("saved.ue")).toStdString(), StoreTemplate(RichTemplate()));
    EXPECT_TRUE(dialog.Button("setDefaultButton")->isEnabled());

    dialog.Template() = CUETemplate::Internal();
    dialog.DataToControls();
    ui.openAnswers.push_back(folder.Path("saved.ue"));
    dialog.OnUeLoad();
    EXPECT_EQ(dialog.Template(), RichTemplate());
    EXPECT_EQ(dialog.Grid()->FieldCount(), 8);
    EXPECT_EQ(Cell(dialog, 2, 2), "\\s|\\t");
    // The second Save starts from the current path.
    ui.saveAnswers.push_back(QString());
    dialog.OnUeSave();
    EXPECT_EQ(ui.saveRequests[1], "Export templates (*.ue)|ue|" + folder.Path("saved.ue"));
}

TEST_F(UEDialog, SetAsDefaultIsUsedAtTheNextOpening) {
    {
        TestUEDlg dialog;
        Open(dialog);
        LoadThroughFile(dialog, RichTemplate(), "mine.ue");
        dialog.Button("setDefaultButton")->click();
        EXPECT_EQ(CProfile::GetString(kSection, QString()), folder.Path("mine.ue"));
    }
    ui.messages.clear();
    {
        TestUEDlg next;
        Open(next);
        EXPECT_TRUE(ui.messages.isEmpty());
        EXPECT_EQ(next.TemplatePath(), folder.Path("mine.ue").toStdString());
        EXPECT_EQ(next.Template(), RichTemplate());
        EXPECT_EQ(next.windowTitle(), "Universal export [" + folder.Path("mine.ue") + "]");
    }
}

TEST_F(UEDialog, SaveNeverWritesATemplateThatLoadWouldRefuse) {
    TestUEDlg dialog;
    Open(dialog);
    dialog.Template().Fields[1].Text = std::string(101, 'x');
    dialog.OnUeSave();
    EXPECT_EQ(ui.messages, QStringList{"The template was not saved: the text of row 2 is longer than 100 characters"});
    EXPECT_EQ(ui.icons.back(), IUiServices::Icon::Warning);
    EXPECT_TRUE(ui.saveRequests.isEmpty());  // nothing to choose a file for

    dialog.Template().Fields[1].Text = std::string(100, 'x');
    dialog.Template().Fields[2].Width = 101;
    ui.messages.clear();
    dialog.OnUeSave();
    EXPECT_EQ(ui.messages,
              QStringList{"The template was not saved: row 3 has a kind, width, precision or adjustment out of range"});

    dialog.Template().Fields[2].Width = 100;
    ui.messages.clear();
    ui.saveAnswers.push_back(folder.Path("longest.ue"));
    dialog.OnUeSave();
    EXPECT_TRUE(ui.messages.isEmpty());
    CUETemplate loaded;
    ReadTemplateFile(folder.Path("longest.ue").toStdString(), loaded);
    EXPECT_EQ(loaded, dialog.Template());
}

TEST_F(UEDialog, ExportEqualsTheTextCommandAndTheDialogStaysUsable) {
    TestUEDlg dialog;
    Open(dialog);
    LoadThroughFile(dialog, RichTemplate(), "rich.ue");
    ui.messages.clear();

    ExportTo(dialog, "out.csv");
    EXPECT_EQ(ui.saveRequests.last(), "External formats (*.csv);;All files (*)|csv|filename");
    EXPECT_EQ(ui.messages, QStringList{"Export succeed"});
    QByteArray written = ReadAll(folder.Path("out.csv"));
    EXPECT_TRUE(written.contains("\r\n"));
    {
        QProcess cli;
        cli.start(TLX_CLI, {"text", QString::fromStdString(SamplePath("building-site.tlx")), folder.Path("cli.csv"),
                            "--template", folder.Path("rich.ue")});
        ASSERT_TRUE(cli.waitForFinished(60000));
        ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        EXPECT_EQ(written, ReadAll(folder.Path("cli.csv")));
    }

    // The sink is given back and a second export runs; with the MS-DOS code
    // page it differs from the first only in the letters.
    EXPECT_EQ(dialog.Writer().GetOutput(), nullptr);
    dialog.Template().DosCodePage = true;
    ExportTo(dialog, "dos.csv");
    QByteArray dos = ReadAll(folder.Path("dos.csv"));
    EXPECT_EQ(dos.size(), written.size());
    EXPECT_NE(dos, written);
}

TEST_F(UEDialog, ExportChooserAndFailures) {
    TestUEDlg dialog;
    Open(dialog);
    ui.messages.clear();

    // The built-in template offers *.txt; Cancel starts nothing.
    dialog.OnUeExport();
    EXPECT_EQ(ui.saveRequests.last(), "External formats (*.txt);;All files (*)|txt|filename");
    EXPECT_FALSE(dialog.IsBusy());

    // A filter holding '|' or only a pattern gives just every file, no extension.
    dialog.Template().FileFilter = "a|b";
    dialog.OnUeExport();
    EXPECT_EQ(ui.saveRequests.last(), "All files (*)||filename");
    dialog.Template().FileFilter = "*.*";
    dialog.OnUeExport();
    EXPECT_EQ(ui.saveRequests.last(), "External formats (*.*);;All files (*)||filename");

    // A file that cannot be created is reported and no worker starts.
    ui.saveAnswers.push_back(folder.Path("no/such/folder/out.txt"));
    dialog.OnUeExport();
    EXPECT_FALSE(dialog.IsBusy());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith("Can't create " + folder.Path("no/such/folder/out.txt") + "\n"));
}

TEST_F(UEDialog, CloseDuringExportStopsAndRemovesThePartialFile) {
    TestUEDlg dialog;
    Open(dialog);
    ui.messages.clear();
    ui.saveAnswers.push_back(folder.Path("stopped.txt"));
    dialog.Writer().TryToStop();  // the export stops at its first point
    dialog.OnUeExport();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.IsBusy(); }));
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder.Path("stopped.txt")));
    EXPECT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
}

TEST_F(UEDialog, AnUnreadableFileIsReportedAndTheDialogCloses) {
    TestUEDlg dialog;
    std::string missing = folder.Path("missing.tlx").toStdString();
    dialog.SetFilePath(missing.c_str());
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(ui.messages.last(), "File input/output error");
}

TEST_F(UEDialog, NoColumnTitleIsCutInEitherLanguage) {
    for (auto language : {CStringTable::Language::English, CStringTable::Language::Russian}) {
        CStringTable::SetLanguage(language);
        TestUEDlg dialog;
        Open(dialog);
        dialog.resize(1, 1);  // as small as the dialog lets itself be
        QCoreApplication::processEvents();
        QHeaderView* header = dialog.Grid()->horizontalHeader();
        for (int column = 0; column < header->count(); ++column)
            EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
    }
    CStringTable::SetLanguage(CStringTable::Language::English);
}
