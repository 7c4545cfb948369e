#include "grid/UEGridCtrl.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

#include "grid/UEGridCells.h"
#include "grid/UEGridModel.h"

namespace tvk {

CUEGridCtrl::CUEGridCtrl(IUEGridOwner* owner, QWidget* parent)
    : QTableView(parent), model_(new CUEGridModel(owner, this)) {
    setModel(model_);
    setItemDelegateForColumn(0, new CFieldTypeGridCell(owner, this));
    setItemDelegateForColumn(1, new CTextGridCell(owner, this));
    setItemDelegateForColumn(2, new CWidthGridCell(owner, this));
    setItemDelegateForColumn(3, new CAlignGridCell(owner, this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    verticalHeader()->setFixedWidth(kFixedColumnWidth);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setFixedHeight(kRowHeight);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { emit SelectionChanged(); });
}

void CUEGridCtrl::SetFieldCount(int count) {
    model_->SetFieldCount(count);
    for (int r = 0; r < count; ++r) setRowHeight(r, kRowHeight);
    LayoutColumns();
}

int CUEGridCtrl::FieldCount() const { return model_->rowCount(); }

void CUEGridCtrl::SetCellReadOnly(int row, int column, bool readOnly) { model_->SetReadOnly(row, column, readOnly); }
bool CUEGridCtrl::IsCellReadOnly(int row, int column) const { return model_->IsReadOnly(row, column); }

std::set<int> CUEGridCtrl::SelectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) rows.insert(index.row() + 1);
    return rows;
}

void CUEGridCtrl::SelectRows(const std::set<int>& rows) {
    QItemSelection selection;
    for (int row : rows)
        if (row >= 1 && row <= FieldCount())
            selection.select(model_->index(row - 1, 0), model_->index(row - 1, CUEGridModel::kColumns - 1));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void CUEGridCtrl::SelectAllRows() { selectAll(); }
void CUEGridCtrl::ClearSelectedRows() { selectionModel()->clearSelection(); }

int CUEGridCtrl::FocusRow() const {
    QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void CUEGridCtrl::SetFocusRow(int row) {
    if (row < 1 || row > FieldCount()) return;
    selectionModel()->setCurrentIndex(model_->index(row - 1, 0), QItemSelectionModel::NoUpdate);
}

void CUEGridCtrl::SetRedraw(bool redraw) {
    setUpdatesEnabled(redraw);
    if (redraw) viewport()->update();
}

void CUEGridCtrl::LayoutColumns() {
    int width = viewport()->width();
    int each = width / CUEGridModel::kColumns;
    for (int c = 0; c < CUEGridModel::kColumns; ++c)
        setColumnWidth(c, c == CUEGridModel::kColumns - 1 ? width - each * c : each);
}

void CUEGridCtrl::Refresh() { model_->Refresh(); }

// The columns share the width equally, so each needs room for the widest title.
QSize CUEGridCtrl::minimumSizeHint() const {
    int widest = 0;
    for (int c = 0; c < CUEGridModel::kColumns; ++c) widest = std::max(widest, horizontalHeader()->sectionSizeHint(c));
    int width = kFixedColumnWidth + CUEGridModel::kColumns * widest + 2 * frameWidth() +
                verticalScrollBar()->sizeHint().width();
    return QTableView::minimumSizeHint().expandedTo(QSize(width, 0));
}

void CUEGridCtrl::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    LayoutColumns();
}

void CUEGridCtrl::contextMenuEvent(QContextMenuEvent* event) { emit ContextMenuRequested(event->globalPos()); }

}  // namespace tvk
