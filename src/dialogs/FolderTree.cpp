#include "dialogs/FolderTree.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

#include "dialogs/DialogStrings.h"
#include "platform/HomeFolder.h"

namespace tvk {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kListedRole = Qt::UserRole + 1;

QString PathOf(const QTreeWidgetItem* item) { return item->data(0, kPathRole).toString(); }

// Whether `path` is `folder` or lies inside it.
bool IsWithin(const QString& path, const QString& folder) {
    if (folder == "/") return path.startsWith('/');
    return path == folder || path.startsWith(folder + '/');
}

// Removable and user-mounted media live under these folders; what is mounted
// elsewhere belongs to the system and is reached through the file system.
bool IsMedium(const QStorageInfo& volume) {
    const QString root = volume.rootPath();
    return volume.isValid() && volume.isReady() && (root.startsWith("/media/") || root.startsWith("/run/media/"));
}

// A medium is called by its label, else by the folder it is mounted on.
QString MediumLabel(const QStorageInfo& volume) {
    return volume.name().isEmpty() ? QFileInfo(volume.rootPath()).fileName() : volume.name();
}

}  // namespace

CFolderTree::CFolderTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, &CFolderTree::ListChildren);
    connect(this, &QTreeWidget::currentItemChanged, this, [this] { emit SelectionChanged(); });
}

void CFolderTree::Initialise() {
    clear();
    AddPlace(HomePath(), Tr(IDS_PLACE_HOME), style()->standardIcon(QStyle::SP_DirHomeIcon));
    QList<QStorageInfo> media = QStorageInfo::mountedVolumes();
    std::sort(media.begin(), media.end(),
              [](const QStorageInfo& a, const QStorageInfo& b) { return a.rootPath() < b.rootPath(); });
    for (const QStorageInfo& volume : media)
        if (IsMedium(volume))
            AddPlace(volume.rootPath(), MediumLabel(volume), style()->standardIcon(QStyle::SP_DriveHDIcon));
    AddPlace("/", Tr(IDS_PLACE_FILE_SYSTEM), style()->standardIcon(QStyle::SP_DriveHDIcon));
}

QTreeWidgetItem* CFolderTree::AddPlace(const QString& path, const QString& label, const QIcon& icon) {
    auto* item = new QTreeWidgetItem(this, {label});
    item->setIcon(0, icon);
    item->setToolTip(0, path);
    item->setData(0, kPathRole, path);
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

// Whether a folder has subfolders is found out when it is opened.
QTreeWidgetItem* CFolderTree::AddFolder(QTreeWidgetItem* parent, const QString& name) {
    auto* child = new QTreeWidgetItem(parent, {name});
    child->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    child->setData(0, kPathRole, QDir(PathOf(parent)).filePath(name));
    child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return child;
}

void CFolderTree::ListChildren(QTreeWidgetItem* item) {
    if (item->data(0, kListedRole).toBool()) return;
    item->setData(0, kListedRole, true);
    const QFileInfoList folders =
        QDir(PathOf(item)).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& folder : folders) AddFolder(item, folder.fileName());
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QTreeWidgetItem* CFolderTree::ChildFolder(QTreeWidgetItem* item, const QString& name) {
    ListChildren(item);
    for (int i = 0; i < item->childCount(); ++i)
        if (item->child(i)->text(0) == name) return item->child(i);
    return AddFolder(item, name);  // a hidden folder, listed once a path goes through it
}

bool CFolderTree::SelectPath(const QString& path) {
    const QString folder = QDir::cleanPath(path.trimmed());
    if (!folder.startsWith('/') || !QFileInfo(folder).isDir()) return false;
    // The place nearest to the folder: the home folder or a medium before "/".
    QTreeWidgetItem* item = nullptr;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* place = topLevelItem(i);
        if (IsWithin(folder, PathOf(place)) && (!item || PathOf(place).size() > PathOf(item).size())) item = place;
    }
    if (!item) return false;
    const QString rest = folder.mid(PathOf(item).size());
    for (const QString& name : rest.split('/', Qt::SkipEmptyParts)) {
        expandItem(item);
        item = ChildFolder(item, name);
    }
    expandItem(item);
    setCurrentItem(item);
    scrollToItem(item);
    return true;
}

QString CFolderTree::SelectedPath() const {
    QTreeWidgetItem* item = currentItem();
    return item ? PathOf(item) : QString();
}

QString CFolderTree::HomePath() { return QDir::cleanPath(QString::fromStdString(HomeFolder())); }

QStringList CFolderTree::Places() const {
    QStringList places;
    for (int i = 0; i < topLevelItemCount(); ++i) places << PathOf(topLevelItem(i));
    return places;
}

}  // namespace tvk
