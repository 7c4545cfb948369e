#include "dialogs/EntryPoints.h"

#include <QApplication>
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

template <class Dialog>
void ShowDialog(const char* path) {
    EnsureApplication();
    auto dialog = std::make_unique<Dialog>(nullptr);
    dialog->SetFilePath(path);
    dialog->exec();
}

}  // namespace

extern "C" {
void ShowACEDialog(char* path) { ShowDialog<tvk::CACEDlg>(path); }
void ShowMIEDialog(char* path) { ShowDialog<tvk::CMIEDlg>(path); }
void ShowSHEDialog(char* path) { ShowDialog<tvk::CSHEDlg>(path); }
void ShowUEDialog(char* path) { ShowDialog<tvk::CUEDlg>(path); }
}
