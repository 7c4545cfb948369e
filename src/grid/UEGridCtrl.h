// The template grid: a fixed header row and fixed first column, whole-row
// selection kept as a set of row numbers, a cell editor class per column,
// 20-pixel rows and four columns sharing the width.
#pragma once
#include <QTableView>
#include <set>

namespace tvk {

class IUEGridOwner;
class CUEGridModel;

class CUEGridCtrl : public QTableView {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 20;
    static constexpr int kFixedColumnWidth = 20;

    CUEGridCtrl(IUEGridOwner* owner, QWidget* parent);

    CUEGridModel* Model() const { return model_; }
    // Sets the number of field rows (the grid has one more, the header).
    void SetFieldCount(int count);
    int FieldCount() const;
    // Read-only cells have the pale yellow background (grid coordinates).
    void SetCellReadOnly(int row, int column, bool readOnly);
    bool IsCellReadOnly(int row, int column) const;
    // Selected grid rows (1 = the first field).
    std::set<int> SelectedRows() const;
    void SelectRows(const std::set<int>& rows);
    void SelectAllRows();
    void ClearSelectedRows();
    // The grid row with the focus, or 0 when no field row has it.
    int FocusRow() const;
    // Gives the focus cell to the first cell of `row`.
    void SetFocusRow(int row);
    // Suspends repainting while rows are rebuilt (false) and repaints (true).
    void SetRedraw(bool redraw);
    // Lays the four columns out again over the client width.
    void LayoutColumns();
    // Every cell text may have changed.
    void Refresh();
    // Wide enough that no column title is cut, in any language.
    QSize minimumSizeHint() const override;

signals:
    void SelectionChanged();
    void ContextMenuRequested(const QPoint& globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CUEGridModel* model_;
};

}  // namespace tvk
