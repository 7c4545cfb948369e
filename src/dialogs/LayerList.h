// The two-column layer list of the format dialogs: column 0 (the output name)
// is edited in place, and every finished edit passes a check that may change
// the text or refuse it (the old text then stays). The columns fit the names
// when the list is first filled; after that they stay as the user sets them.
#pragma once
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <functional>

namespace tvk {

class CLayerList : public QTreeWidget {
    Q_OBJECT
public:
    // Returns false to refuse the edit of `row`; may rewrite `text`.
    using EditCheck = std::function<bool(int row, QString& text)>;

    explicit CLayerList(QWidget* parent);
    // Inserts the two columns once.
    void SetColumns(const QString& title0, const QString& title1);
    void AddRow(const QString& name, const QString& layer);
    // Sizes the columns to their texts, the first time there are rows.
    void FitColumnsOnce();
    QString RowText(int row) const;
    // The first row whose column 0 equals `text` ignoring case, or -1.
    int FindRowNoCase(const QString& text) const;
    void SetEditCheck(EditCheck check) { check_ = std::move(check); }
    // Finishes an edit as the in-place editor would (tests, keyboard-free use).
    bool CommitEdit(int row, QString text);

private:
    friend class CLayerNameDelegate;
    EditCheck check_;
    bool fitted_ = false;
};

}  // namespace tvk
