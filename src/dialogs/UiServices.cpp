#include "dialogs/UiServices.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <atomic>

#include "dialogs/DialogStrings.h"
#include "dialogs/FileOverwriteDlg.h"

namespace tvk {
namespace {

// A modal file dialog that saves (any name, `start` proposed) or opens (an
// existing file, from `start`); the chosen file, or an empty text.
QString RunFileDialog(QWidget* parent, const QString& filter, const QString& suffix, const QString& start, bool save) {
    QFileDialog dlg(parent, QString(), start, filter);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(suffix);
    if (save) dlg.selectFile(start);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().first();
}

class QtUiServices : public IUiServices {
public:
    void Message(QWidget* parent, const QString& text, Icon icon) override {
        QMessageBox box(icon == Icon::Information ? QMessageBox::Information
                        : icon == Icon::Warning   ? QMessageBox::Warning
                        : icon == Icon::Question  ? QMessageBox::Question
                                                  : QMessageBox::NoIcon,
                        parent ? parent->windowTitle() : QString(), text, QMessageBox::Ok, parent);
        box.exec();
    }
    bool AskYesNo(QWidget* parent, const QString& text) override {
        return QMessageBox::question(parent, parent ? parent->windowTitle() : QString(), text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
    QString SaveFileName(QWidget* parent, const QString& filter, const QString& suffix,
                         const QString& initialName) override {
        return RunFileDialog(parent, filter, suffix, initialName, true);
    }
    QString OpenFileName(QWidget* parent, const QString& filter, const QString& suffix) override {
        return OpenFileNameAt(parent, filter, suffix, QString());
    }
    QString OpenFileNameAt(QWidget* parent, const QString& filter, const QString& suffix,
                           const QString& initialPath) override {
        return RunFileDialog(parent, filter, suffix, initialPath, false);
    }
    bool ChooseFont(QWidget* parent, QFont& font) override {
        bool ok = false;
        QFont chosen = QFontDialog::getFont(&ok, font, parent, QString(), QFontDialog::MonospacedFonts);
        if (ok) font = chosen;
        return ok;
    }
    int AskOverwrite(const QString& existingFile, const QString& newFile) override {
        CFileOverwriteDlg dlg(nullptr);
        return dlg.Ask(existingFile, newFile);
    }
};

QtUiServices g_qtServices;
std::atomic<IUiServices*> g_services{&g_qtServices};

}  // namespace

IUiServices& UiServices() { return *g_services.load(); }
void SetUiServices(IUiServices* services) { g_services.store(services ? services : &g_qtServices); }

}  // namespace tvk
