// dialog-shots KIND IN.tlx OUT.png: opens one export dialog (dxf, mif, shp or
// text) offscreen on IN.tlx, waits for the reading, shows the universal
// dialog's preview, and saves a picture of the dialog. The profile and the
// current folder are fresh, so the pictures do not depend on the machine.
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
#include "dialogs/UiServices.h"

namespace {

const char* const kUsage =
    "Usage: dialog-shots dxf|mif|shp|text IN.tlx OUT.png\n"
    "Renders an export dialog offscreen after reading IN.tlx (English texts).\n";

// No human is there: messages go to standard error, choosers are cancelled.
class SilentUi : public tvk::IUiServices {
public:
    void Message(QWidget*, const QString& text, Icon) override {
        std::fprintf(stderr, "dialog-shots: message: %s\n", qPrintable(QString(text).replace('\n', ' ')));
    }
    bool AskYesNo(QWidget*, const QString&) override { return false; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return QString(); }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return QString(); }
    bool ChooseFont(QWidget*, QFont&) override { return false; }
    int AskOverwrite(const QString&, const QString&) override { return 5; }
};

// The offscreen platform warns about every window it cannot size.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains("propagateSizeHints") || message.contains("XDG_RUNTIME_DIR")) return;
    qt_message_output(type, context, message);
}

std::unique_ptr<tvk::CExportDialog> MakeDialog(const char* kind) {
    if (!std::strcmp(kind, "dxf")) return std::make_unique<tvk::CACEDlg>();
    if (!std::strcmp(kind, "mif")) return std::make_unique<tvk::CMIEDlg>();
    if (!std::strcmp(kind, "shp")) return std::make_unique<tvk::CSHEDlg>();
    if (!std::strcmp(kind, "text")) return std::make_unique<tvk::CUEDlg>();
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    qInstallMessageHandler(QuietHandler);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TLXEXPORT_LANG", "en", 1);
    const QString input = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[2]));
    const QString output = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[3]));
    QTemporaryDir scratch;
    qputenv("TLXEXPORT_CONFIG_DIR", scratch.filePath("config").toUtf8());
    QDir::setCurrent(scratch.path());

    QApplication app(argc, argv);
    SilentUi ui;
    tvk::SetUiServices(&ui);
    std::unique_ptr<tvk::CExportDialog> dialog = MakeDialog(argv[1]);
    if (!dialog) {
        std::fprintf(stderr, "dialog-shots: unknown dialog '%s'\n%s", argv[1], kUsage);
        return 2;
    }
    QByteArray path = input.toLocal8Bit();
    dialog->SetFilePath(path.constData());
    dialog->show();
    QElapsedTimer timer;
    timer.start();
    while (!(dialog->IsReadComplete() && !dialog->IsBusy()) && dialog->isVisible()) {
        if (timer.elapsed() > 120000) {
            std::fprintf(stderr, "dialog-shots: reading %s did not end\n", qPrintable(input));
            return 1;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (!dialog->isVisible()) {
        std::fprintf(stderr, "dialog-shots: the dialog closed: %s could not be read\n", qPrintable(input));
        return 1;
    }
    if (auto* universal = dynamic_cast<tvk::CUEDlg*>(dialog.get())) universal->OnUePreview();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!dialog->grab().save(output, "PNG")) {
        std::fprintf(stderr, "dialog-shots: cannot write %s\n", qPrintable(output));
        return 1;
    }
    dialog.reset();
    tvk::SetUiServices(nullptr);
    return 0;
}
