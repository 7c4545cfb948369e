// survey-host SURVEY.tlx [--close-when-shown]
//
// A host application with its own Qt application object opens tlxexport's
// universal export dialog on a survey through the exported function
// ShowUEDialog, which returns when the user closes the dialog. With
// --close-when-shown nobody needs to be there: once the dialog has read the
// survey and its preview shows the first line of the export, the host prints
// that line and closes the dialog (exit status 1 when that does not happen
// within a minute).
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "dialogs/EntryPoints.h"

namespace {

void CloseDialogs() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) dialog->reject();
}

// Watches the host's event loop, which keeps running inside the modal dialog.
void CloseWhenShown(bool& shown) {
    auto* timer = new QTimer(qApp);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, &shown] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        for (auto* preview : dialog ? dialog->findChildren<QPlainTextEdit*>() : QList<QPlainTextEdit*>()) {
            QString text = preview->toPlainText();
            if (text.isEmpty()) continue;
            std::printf("%s\n%s\n", qPrintable(dialog->windowTitle()), qPrintable(text.section('\n', 0, 0)));
            shown = true;
            timer->stop();
            dialog->reject();
            return;
        }
        if (clock.elapsed() > 60000) {
            std::fprintf(stderr, "survey-host: the dialog showed no export line within a minute\n");
            timer->stop();
            CloseDialogs();
        }
    });
    timer->start(100);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2 || (argc == 3 && std::strcmp(argv[2], "--close-when-shown") != 0) || argc > 3) {
        std::fprintf(stderr, "Usage: survey-host SURVEY.tlx [--close-when-shown]\n");
        return 2;
    }
    bool unattended = argc == 3;
    bool shown = false;
    if (unattended) CloseWhenShown(shown);
    std::string path = argv[1];
    ShowUEDialog(path.data());
    return !unattended || shown ? 0 : 1;
}
