#include "grid/UEGridCells.h"

#include <QComboBox>
#include <QLineEdit>

#include "grid/GridStrings.h"
#include "grid/UEGridOwner.h"

namespace tvk {

QWidget* CListGridCell::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
    auto* combo = new QComboBox(parent);
    combo->addItems(Items());
    return combo;
}

void CListGridCell::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = static_cast<QComboBox*>(editor);
    QString current = index.data(Qt::EditRole).toString();
    int at = combo->findText(current);
    // A value the list does not offer (a Latitude row from a file) stays
    // choosable, so that opening the list and leaving it changes nothing.
    if (at < 0 && !current.isEmpty()) {
        combo->addItem(current);
        at = combo->count() - 1;
    }
    combo->setCurrentIndex(at < 0 ? 0 : at);
}

void CListGridCell::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
}

QStringList CFieldTypeGridCell::Items() const { return owner_->FieldTypeList(); }
QStringList CAlignGridCell::Items() const { return owner_->AlignmentList(); }

void CTextGridCell::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    QString typed = static_cast<QLineEdit*>(editor)->text();
    const bool textRow = owner_->IsTextRow(GridRow(index));
    if (auto checked = textRow ? owner_->CheckText(typed) : owner_->CheckPrecision(typed)) {
        model->setData(index, *checked, Qt::EditRole);
        return;
    }
    owner_->WarnInvalidInput(GridText(textRow ? IDS_INVALID_TEXT : IDS_INVALID_PRECISION));
}

void CWidthGridCell::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto checked = owner_->CheckWidth(static_cast<QLineEdit*>(editor)->text())) {
        model->setData(index, *checked, Qt::EditRole);
        return;
    }
    owner_->WarnInvalidInput(GridText(IDS_INVALID_WIDTH));
}

}  // namespace tvk
