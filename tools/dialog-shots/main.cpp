// dialog-shots [--lang en|ru] KIND IN.tlx OUT.png: opens one export dialog
// offscreen on IN.tlx, waits for the reading and saves a picture of it. KIND
// is dxf, mif or shp; text for the universal dialog with a surveyor's
// template loaded and the preview shown; options for that template's export
// options. The profile, the home folder and the current folder are fresh, so
// the pictures do not depend on the machine.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "dialogs/ACEDlg.h"
#include "dialogs/MIEDlg.h"
#include "dialogs/SHEDlg.h"
#include "dialogs/UEDlg.h"
#include "dialogs/UEOptionsDlg.h"
#include "dialogs/UiServices.h"
#include "universal/UETemplateFile.h"

namespace {

const char* const kUsage =
    "Usage: dialog-shots [--lang en|ru] dxf|mif|shp|text|options IN.tlx OUT.png\n"
    "Renders an export dialog offscreen after reading IN.tlx (English texts unless --lang ru).\n";

// No human is there: messages go to standard error, the open chooser answers
// with the prepared template, the others are cancelled.
class SilentUi : public tvk::IUiServices {
public:
    QString openAnswer;
    void Message(QWidget*, const QString& text, Icon) override {
        std::fprintf(stderr, "dialog-shots: message: %s\n", qPrintable(QString(text).replace('\n', ' ')));
    }
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return QString(); }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return openAnswer; }
    bool ChooseFont(QWidget*, QFont&) override { return false; }
    int AskOverwrite(const QString&, const QString&) override { return 5; }
};

// The offscreen platform warns about every window it cannot size.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains("propagateSizeHints") || message.contains("XDG_RUNTIME_DIR")) return;
    qt_message_output(type, context, message);
}

// A coordinate list as a surveyor hands it on: name, N, E and H to the
// millimetre, latitude and longitude in degrees, minutes and seconds.
tvk::CUETemplate SurveyorTemplate() {
    using tvk::CUEField;
    tvk::CUETemplate t;
    t.Fields = {CUEField(CUEField::kName, "", 12),    CUEField(CUEField::kNorth, "", 13, 3),
                CUEField(CUEField::kEast, "", 13, 3), CUEField(CUEField::kHeight, "", 9, 3),
                CUEField(CUEField::kText, "  "),      CUEField(CUEField::kLatitude, "", 0, 3),
                CUEField(CUEField::kText, "  "),      CUEField(CUEField::kLongitude, "", 0, 3)};
    t.NorthType = 0;
    t.EastType = 0;
    t.AngleUnit = 0;
    t.LinearUnit = 0;
    t.AngleFormat = "ddd\xB0mm'ss.xxx\"";  // code page 1251: the degree sign
    t.FileFilter = "*.txt";
    return t;
}

std::unique_ptr<QDialog> MakeDialog(const char* kind) {
    if (!std::strcmp(kind, "dxf")) return std::make_unique<tvk::CACEDlg>();
    if (!std::strcmp(kind, "mif")) return std::make_unique<tvk::CMIEDlg>();
    if (!std::strcmp(kind, "shp")) return std::make_unique<tvk::CSHEDlg>();
    if (!std::strcmp(kind, "text")) return std::make_unique<tvk::CUEDlg>();
    if (!std::strcmp(kind, "options")) return std::make_unique<tvk::CUEOptionsDlg>(SurveyorTemplate(), nullptr);
    return nullptr;
}

// Made-up folders of the fresh home folder, so that the folder tree has
// something to show.
void MakeHome(const QString& home) {
    for (const char* folder : {"surveys/building-site/export", "surveys/road-2023", "Documents", "Desktop"})
        QDir().mkpath(home + "/" + folder);
}

// Runs the event loop until the reading has ended; false when it failed.
bool WaitForReading(tvk::CExportDialog& dialog, const QString& input) {
    QElapsedTimer timer;
    timer.start();
    while (!(dialog.IsReadComplete() && !dialog.IsBusy()) && dialog.isVisible()) {
        if (timer.elapsed() > 120000) {
            std::fprintf(stderr, "dialog-shots: reading %s did not end\n", qPrintable(input));
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (dialog.isVisible()) return true;
    std::fprintf(stderr, "dialog-shots: the dialog closed: %s could not be read\n", qPrintable(input));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const char* language = "en";
    if (argc == 6 && !std::strcmp(argv[1], "--lang") && (!std::strcmp(argv[2], "en") || !std::strcmp(argv[2], "ru"))) {
        language = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc != 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    qInstallMessageHandler(QuietHandler);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TLXEXPORT_LANG", language, 1);
    const QString input = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[2]));
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[3]));
    QTemporaryDir scratch;
    qputenv("TLXEXPORT_CONFIG_DIR", scratch.filePath("config").toUtf8());
    qputenv("HOME", scratch.filePath("home").toUtf8());
    QDir::setCurrent(scratch.path());
    MakeHome(scratch.filePath("home"));

    QApplication app(argc, argv);
    SilentUi ui;
    tvk::SetUiServices(&ui);
    std::unique_ptr<QDialog> dialog = MakeDialog(argv[1]);
    if (!dialog) {
        std::fprintf(stderr, "dialog-shots: unknown dialog '%s'\n%s", argv[1], kUsage);
        return 2;
    }
    if (auto* exportDialog = dynamic_cast<tvk::CExportDialog*>(dialog.get())) {
        QByteArray path = input.toLocal8Bit();
        exportDialog->SetFilePath(path.constData());
        exportDialog->show();
        if (!WaitForReading(*exportDialog, input)) return 1;
    } else {
        dialog->show();
    }
    if (auto* universal = dynamic_cast<tvk::CUEDlg*>(dialog.get())) {
        tvk::WriteTemplateFile("survey.ue", SurveyorTemplate());
        ui.openAnswer = "survey.ue";
        universal->OnUeLoad();
        universal->OnUePreview();
    }
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!dialog->grab().save(output, "PNG")) {
        std::fprintf(stderr, "dialog-shots: cannot write %s\n", qPrintable(output));
        return 1;
    }
    dialog.reset();
    tvk::SetUiServices(nullptr);
    return 0;
}
