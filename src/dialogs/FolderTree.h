// The folder picker of the MapInfo and shapefile dialogs, laid out as a Linux
// file dialog's places: the home folder, the mounted media, then the whole
// file system. Folders are listed when first opened; hidden ones only when a
// chosen path goes through them.
#pragma once
#include <QTreeWidget>

namespace tvk {

class CFolderTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit CFolderTree(QWidget* parent);
    // Lists the places, nothing selected.
    void Initialise();
    // Selects the folder at `path` (absolute), expanding the tree down to it
    // and the folder itself, and scrolls to it; false when no such folder
    // exists.
    bool SelectPath(const QString& path);
    // The selected folder's path, or empty when nothing is selected.
    QString SelectedPath() const;
    // The folders of the places, top to bottom.
    QStringList Places() const;
    // The user's home folder, without a trailing separator.
    static QString HomePath();

signals:
    void SelectionChanged();

private:
    QTreeWidgetItem* AddPlace(const QString& path, const QString& label, const QIcon& icon);
    QTreeWidgetItem* AddFolder(QTreeWidgetItem* parent, const QString& name);
    // Lists the subfolders of `item` once.
    void ListChildren(QTreeWidgetItem* item);
    QTreeWidgetItem* ChildFolder(QTreeWidgetItem* item, const QString& name);
};

}  // namespace tvk
