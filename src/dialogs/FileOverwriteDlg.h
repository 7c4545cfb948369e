// The question asked before an export replaces an existing file: the existing
// file, the new one, and five answers (Yes 1, No 2, Yes to all 3, No to all 4,
// Cancel 5).
#pragma once
#include <QDialog>

class QLabel;

namespace tvk {

class CFileOverwriteDlg : public QDialog {
    Q_OBJECT
public:
    explicit CFileOverwriteDlg(QWidget* parent);
    // Shows both texts modally and returns the code of the button pressed
    // (Cancel, 5, when the window is closed).
    int Ask(const QString& existingFile, const QString& newFile);

    QLabel* ExistingText() const { return existing_; }
    QLabel* NewText() const { return new_; }

private:
    QLabel* existing_;
    QLabel* new_;
};

// Installs the writers' overwrite question for the dialogs: asked through the
// UI services on the user-interface thread while the worker waits.
void InstallDialogOverwriteQuestion();

}  // namespace tvk
