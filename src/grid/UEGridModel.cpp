#include "grid/UEGridModel.h"

#include <QColor>

#include "grid/UEGridOwner.h"

namespace tvk {

CUEGridModel::CUEGridModel(IUEGridOwner* owner, QObject* parent) : QAbstractTableModel(parent), owner_(owner) {}

void CUEGridModel::SetFieldCount(int count) {
    beginResetModel();
    fields_ = count;
    readOnly_.clear();
    endResetModel();
}

void CUEGridModel::SetReadOnly(int row, int column, bool readOnly) {
    if (readOnly) readOnly_.insert({row, column});
    else readOnly_.erase({row, column});
    if (row >= 1 && column >= 1) {
        QModelIndex index = this->index(row - 1, column - 1);
        emit dataChanged(index, index);
    }
}

bool CUEGridModel::IsReadOnly(int row, int column) const { return readOnly_.count({row, column}) > 0; }

void CUEGridModel::Refresh() {
    if (fields_ > 0) emit dataChanged(index(0, 0), index(fields_ - 1, kColumns - 1));
}

int CUEGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : fields_; }
int CUEGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant CUEGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return QVariant();
    int row = index.row() + 1, column = index.column() + 1;
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        QString text;
        return owner_->GetCellText(row, column, text) ? QVariant(text) : QVariant();
    }
    if (role == Qt::BackgroundRole && IsReadOnly(row, column)) return QColor(255, 255, 224);
    return QVariant();
}

QVariant CUEGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return QVariant();  // the fixed column stays blank
    QString text;
    return owner_->GetCellText(0, section + 1, text) ? QVariant(text) : QVariant();
}

Qt::ItemFlags CUEGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && !IsReadOnly(index.row() + 1, index.column() + 1)) f |= Qt::ItemIsEditable;
    return f;
}

bool CUEGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    int row = index.row() + 1, column = index.column() + 1;
    if (IsReadOnly(row, column)) return false;
    owner_->SetCellText(row, column, value.toString());
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), kColumns - 1));
    owner_->CellEdited(row, column);
    return true;
}

}  // namespace tvk
