// What the template grid asks of its owner, the universal export dialog: the
// lists its drop-downs offer, the checks of typed values, and the cell texts,
// which the grid never stores itself. Rows and columns are grid coordinates:
// row 0 is the header row and column 0 the fixed column; field k is row k + 1.
#pragma once
#include <QString>
#include <QStringList>
#include <optional>

namespace tvk {

class IUEGridOwner {
public:
    virtual ~IUEGridOwner() = default;
    // The five field kinds a row may be given ("Text", "Name", "N", "E", "H").
    virtual QStringList FieldTypeList() = 0;
    // A typed text with blanks trimmed at both ends; nothing when the text
    // it stands for is too long for a field.
    virtual std::optional<QString> CheckText(const QString& typed) = 0;
    // The value as text when it lies in 0..100 (width) or 0..20 (precision).
    virtual std::optional<QString> CheckWidth(const QString& typed) = 0;
    virtual std::optional<QString> CheckPrecision(const QString& typed) = 0;
    // Whether the row's "Field type" reads "Text".
    virtual bool IsTextRow(int row) = 0;
    // "Left", "Right".
    virtual QStringList AlignmentList() = 0;
    // Lays the columns out again and refills the grid.
    virtual void Relayout() = 0;
    // The text of a cell, or a column title for row 0; false outside the grid.
    virtual bool GetCellText(int row, int column, QString& text) = 0;
    // Stores an edited cell into its field.
    virtual void SetCellText(int row, int column, const QString& text) = 0;
    // Shows a refusal of the in-place editor (exclamation icon).
    virtual void WarnInvalidInput(const QString& message) = 0;
    // A cell edit was finished (the dialog renews its preview).
    virtual void CellEdited(int row, int column) = 0;
};

}  // namespace tvk
