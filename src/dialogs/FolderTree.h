// The folder picker of the MapInfo and shapefile dialogs: the folders of the
// file system from its root, without files.
#pragma once
#include <QTreeView>

class QFileSystemModel;

namespace tvk {

class CFolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit CFolderTree(QWidget* parent);
    // Starts the tree at the file-system root.
    void Initialise();
    // Selects the folder at `path`, expanding the tree down to it; false when
    // no such folder exists.
    bool SelectPath(const QString& path);
    // The selected folder's path, or empty when nothing is selected.
    QString SelectedPath() const;

signals:
    void SelectionChanged();

private:
    QFileSystemModel* model_;
};

}  // namespace tvk
