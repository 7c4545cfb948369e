// The grid's model: the cells are virtual, every text comes from the owner.
// Model row r is grid row r + 1 (the header row is the view's header).
#pragma once
#include <QAbstractTableModel>
#include <set>

namespace tvk {

class IUEGridOwner;

class CUEGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;  // Field type, Text/Precision, Width, Adjustment

    explicit CUEGridModel(IUEGridOwner* owner, QObject* parent = nullptr);

    void SetFieldCount(int count);
    // Read-only cells show the pale yellow background and take no edits.
    void SetReadOnly(int row, int column, bool readOnly);
    bool IsReadOnly(int row, int column) const;
    // Every cell's text may have changed.
    void Refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    IUEGridOwner* owner_;
    int fields_ = 0;
    std::set<std::pair<int, int>> readOnly_;  // grid coordinates
};

}  // namespace tvk
