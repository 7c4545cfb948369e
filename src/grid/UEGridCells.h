// The in-place editors of the template grid, one class per column, on the
// common CUEGridCell. Each asks the grid's owner for its list or its check.
#pragma once
#include <QStyledItemDelegate>

namespace tvk {

class IUEGridOwner;

class CUEGridCell : public QStyledItemDelegate {
    Q_OBJECT
public:
    CUEGridCell(IUEGridOwner* owner, QObject* parent) : QStyledItemDelegate(parent), owner_(owner) {}

protected:
    static int GridRow(const QModelIndex& index) { return index.row() + 1; }
    IUEGridOwner* owner_;
};

// A drop-down list of items given by the owner.
class CListGridCell : public CUEGridCell {
    Q_OBJECT
public:
    using CUEGridCell::CUEGridCell;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    virtual QStringList Items() const = 0;
};

// "Field type": Text, Name, N, E, H.
class CFieldTypeGridCell : public CListGridCell {
    Q_OBJECT
public:
    using CListGridCell::CListGridCell;

protected:
    QStringList Items() const override;
};

// "Adjustment": Left, Right.
class CAlignGridCell : public CListGridCell {
    Q_OBJECT
public:
    using CListGridCell::CListGridCell;

protected:
    QStringList Items() const override;
};

// "Text/Precision": a checked text on a Text row, a checked precision otherwise.
class CTextGridCell : public CUEGridCell {
    Q_OBJECT
public:
    using CUEGridCell::CUEGridCell;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

// "Width": a checked width.
class CWidthGridCell : public CUEGridCell {
    Q_OBJECT
public:
    using CUEGridCell::CUEGridCell;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

}  // namespace tvk
