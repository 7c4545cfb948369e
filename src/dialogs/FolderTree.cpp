#include "dialogs/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>

namespace tvk {

CFolderTree::CFolderTree(QWidget* parent) : QTreeView(parent), model_(new QFileSystemModel(this)) {
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setReadOnly(true);
    setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { emit SelectionChanged(); });
}

// Nothing is selected at first: the root stands for "all drives", which is no
// export folder, so the folder text stays as the user left it.
void CFolderTree::Initialise() {
    QModelIndex root = model_->setRootPath(QDir::rootPath());
    setRootIndex(model_->index(QDir::rootPath()).parent());
    expand(root);
}

bool CFolderTree::SelectPath(const QString& path) {
    QFileInfo info(path.trimmed());
    if (path.trimmed().isEmpty() || !info.isDir()) return false;
    QModelIndex index = model_->index(info.absoluteFilePath());
    if (!index.isValid()) return false;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
    setCurrentIndex(index);
    scrollTo(index);
    return true;
}

QString CFolderTree::SelectedPath() const {
    QModelIndex index = currentIndex();
    return index.isValid() ? model_->filePath(index) : QString();
}

}  // namespace tvk
