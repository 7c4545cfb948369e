#include "dialogs/EntryPoints.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <exception>
#include <memory>

#include "dialogs/ACEDlg.h"
#include "dialogs/MIEDlg.h"
#include "dialogs/SHEDlg.h"
#include "dialogs/UEDlg.h"

namespace {

// The host may be a plain program without Qt: give it an application object
// for the life of the process.
void EnsureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tlxexport";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// The last word on a failure the dialog did not report itself: a host may be
// a C program, and an exception leaving an extern "C" function ends it.
void ReportUnhandled(const char* what) noexcept {
    std::fprintf(stderr, "tlxexport dialogs: %s\n", what);
    try {
        if (QApplication::instance())
            QMessageBox::critical(nullptr, QStringLiteral("tlxexport"), QString::fromUtf8(what));
    } catch (...) {
    }
}

template <class Dialog>
void ShowDialog(const char* path) noexcept {
    try {
        EnsureApplication();
        auto dialog = std::make_unique<Dialog>(nullptr);
        dialog->SetFilePath(path);
        dialog->exec();
    } catch (const std::exception& e) {
        ReportUnhandled(e.what());
    } catch (...) {
        ReportUnhandled("unexpected failure");
    }
}

}  // namespace

extern "C" {
void ShowACEDialog(char* path) { ShowDialog<tvk::CACEDlg>(path); }
void ShowMIEDialog(char* path) { ShowDialog<tvk::CMIEDlg>(path); }
void ShowSHEDialog(char* path) { ShowDialog<tvk::CSHEDlg>(path); }
void ShowUEDialog(char* path) { ShowDialog<tvk::CUEDlg>(path); }
}
