// Every modal interaction of the dialogs goes through this one interface, so
// tests drive the dialogs without a human and without real modal loops.
// All calls are made on the user-interface thread.
#pragma once
#include <QFont>
#include <QString>

class QWidget;

namespace tvk {

class IUiServices {
public:
    enum class Icon { None, Information, Question, Warning };
    virtual ~IUiServices() = default;

    // A message with an OK button.
    virtual void Message(QWidget* parent, const QString& text, Icon icon) = 0;
    // A Yes/No question with the question icon; true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // Save and open choosers; an empty result means Cancel. `filter` is a Qt
    // name filter ("DXF (*.dxf)").
    virtual QString SaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                 const QString& initialName) = 0;
    virtual QString OpenFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix) = 0;
    // The open chooser starting at `initialPath` (a folder, a file name or
    // both); services without a starting place show the plain one.
    virtual QString OpenFileNameAt(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                   const QString& initialPath) {
        (void)initialPath;
        return OpenFileName(parent, filter, defaultSuffix);
    }
    // Fixed-pitch fonts only; false on Cancel.
    virtual bool ChooseFont(QWidget* parent, QFont& font) = 0;
    // The overwrite question with its two texts; answers 1..5.
    virtual int AskOverwrite(const QString& existingFile, const QString& newFile) = 0;
};

// The services in force: real Qt dialogs unless a test installed others.
IUiServices& UiServices();
// Installs `services` (not owned); nullptr restores the real dialogs.
void SetUiServices(IUiServices* services);

}  // namespace tvk
