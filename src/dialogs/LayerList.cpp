#include "dialogs/LayerList.h"

#include <QHeaderView>
#include <QLineEdit>

namespace tvk {

// Hands every finished edit of column 0 to the list's check before storing it.
class CLayerNameDelegate : public QStyledItemDelegate {
public:
    explicit CLayerNameDelegate(CLayerList* list) : QStyledItemDelegate(list), list_(list) {}
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line) list_->CommitEdit(index.row(), line->text());
    }

private:
    CLayerList* list_;
};

CLayerList::CLayerList(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setSortingEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setItemDelegateForColumn(0, new CLayerNameDelegate(this));
    setColumnCount(0);
}

void CLayerList::SetColumns(const QString& title0, const QString& title1) {
    if (columnCount() == 2 && headerItem()->text(0) == title0) return;
    setColumnCount(2);
    setHeaderLabels({title0, title1});
    header()->setSectionsClickable(false);
    header()->setStretchLastSection(true);
}

void CLayerList::FitColumnsOnce() {
    if (fitted_ || topLevelItemCount() == 0) return;
    fitted_ = true;
    resizeColumnToContents(0);
    resizeColumnToContents(1);
}

void CLayerList::AddRow(const QString& name, const QString& layer) {
    auto* item = new QTreeWidgetItem(this, {name, layer});
    item->setFlags(item->flags() | Qt::ItemIsEditable);
}

QString CLayerList::RowText(int row) const {
    QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(0) : QString();
}

int CLayerList::FindRowNoCase(const QString& text) const {
    for (int row = 0; row < topLevelItemCount(); ++row)
        if (topLevelItem(row)->text(0).compare(text, Qt::CaseInsensitive) == 0) return row;
    return -1;
}

bool CLayerList::CommitEdit(int row, QString text) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item) return false;
    if (check_ && !check_(row, text)) return false;
    item->setText(0, text);
    return true;
}

}  // namespace tvk
