// The MapInfo and shapefile dialogs: layer file names checked against the file
// system, and an export folder chosen in a folder tree or a combo with the
// recent folders, remembered in the profile.
#pragma once
#include "dialogs/LayerListDialog.h"

class QComboBox;

namespace tvk {

class CFolderTree;

class CFolderExportDialog : public CLayerListDialog {
    Q_OBJECT
public:
    static constexpr int kHistorySize = 8;

    CFolderExportDialog(CWriter& writer, Kind kind, const QString& profileSection, QWidget* parent);

    QComboBox* FolderCombo() const { return folderCombo_; }
    CFolderTree* FolderTree() const { return folderTree_; }
    const QString& FolderText() const { return folderText_; }

    // Handlers, public for the tests' sake.
    void OnExportbutton();
    bool OnEndlabeleditLayerlist(int row, QString& text);
    void OnSelchangedFoldertree();
    void OnEditchangeFoldercombo(const QString& text);
    void OnSelchangeFoldercombo(int index);
    // Saves the folder history (the window's destruction).
    void SaveHistory();

    // The folder a typed text names: "~" and "~user" expanded, a relative
    // folder taken in the home folder, a backslash read as '/', and "." and ".."
    // steps and doubled separators removed; empty for a blank text.
    static QString ResolveFolder(const QString& text);
    // Creates `folder` with every missing level; failures are left to the
    // export, which reports the folder it cannot write to.
    static void CreateFolderPath(const QString& folder);
    // Whether `name` can be created as a file (tried in a fresh temporary folder).
    static bool IsCreatableFileName(const QString& name);

protected:
    void OnInitDialog() override;
    void ChangeVisibility() override;
    void done(int result) override;
    // Lays out the controls; `options` (may be null) goes under the list.
    void BuildLayout(QWidget* options);

private:
    void OpenTreeOn(const QString& folder);
    void LoadHistory();
    void PutOnTopOfHistory(const QString& folder);

    QString profileSection_;
    QString folderText_;
    bool changeFromCombo_ = false;
    bool historySaved_ = false;
    QComboBox* folderCombo_;
    CFolderTree* folderTree_;
    class QGroupBox* folderGroup_;
};

}  // namespace tvk
