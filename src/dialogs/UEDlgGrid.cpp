// CUEDlg: the template grid's questions, the row commands, the clipboard and
// the grid's pop-up menu.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <algorithm>

#include "dialogs/DialogStrings.h"
#include "dialogs/UEDlg.h"
#include "dialogs/UEDlgStrings.h"
#include "dialogs/UiServices.h"
#include "grid/UEGridCtrl.h"
#include "platform/NumberText.h"
#include "universal/TemplateGridText.h"

namespace tvk {
namespace {

constexpr int kFixedColumn = 0;
constexpr int kTextPrecisionColumn = 1 + static_cast<int>(TemplateColumn::TextPrecision);

QStringList FromModelList(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts) list << FromModel(text);
    return list;
}

// The decimal value of a typed text (C runtime prefix rules) when it lies in
// low..high.
std::optional<QString> CheckedNumber(const QString& typed, int low, int high) {
    int value = AtoI(typed.toStdString().c_str());
    if (value < low || value > high) return std::nullopt;
    return QString::number(value);
}

}  // namespace

QString CUEDlg::ClipboardMimeFormat() {
#ifdef Q_OS_WIN
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(kUEClipboardFormat);
#else
    return QString::fromLatin1(kUEClipboardFormat);
#endif
}

// --- the grid's questions ---

QStringList CUEDlg::FieldTypeList() {
    static const QStringList names = FromModelList(GridKindNames());
    return names;
}

QStringList CUEDlg::AlignmentList() {
    static const QStringList names = FromModelList(AlignmentNames());
    return names;
}

// The length counts the characters the escaped text stands for. A text code
// page 1251 cannot hold passes here and is refused when it is stored.
std::optional<QString> CUEDlg::CheckText(const QString& typed) {
    QString trimmed = typed.trimmed();
    std::string text1251;
    if (ToModel(trimmed, text1251) && UnescapeText(text1251).size() > static_cast<size_t>(CUEField::kMaxTextLength))
        return std::nullopt;
    return trimmed;
}

std::optional<QString> CUEDlg::CheckWidth(const QString& typed) { return CheckedNumber(typed, 0, CUEField::kMaxWidth); }

std::optional<QString> CUEDlg::CheckPrecision(const QString& typed) {
    return CheckedNumber(typed, 0, CUEField::kMaxPrecision);
}

bool CUEDlg::IsTextRow(int row) {
    return row >= 1 && row <= static_cast<int>(template_.Fields.size()) &&
           template_.Fields[static_cast<size_t>(row - 1)].FieldType == CUEField::kText;
}

void CUEDlg::Relayout() {
    grid_->LayoutColumns();
    grid_->Refresh();
}

bool CUEDlg::GetCellText(int row, int column, QString& text) {
    if (row < 0 || row > static_cast<int>(template_.Fields.size()) || column < 0 || column > kTemplateColumnCount)
        return false;
    auto templateColumn = static_cast<TemplateColumn>(column - 1);
    if (column == kFixedColumn) text.clear();
    else if (row == 0) text = FromModel(ColumnTitle(templateColumn));
    else text = FromModel(ShownCellText(template_.Fields[static_cast<size_t>(row - 1)], templateColumn));
    return true;
}

void CUEDlg::SetCellText(int row, int column, const QString& text) {
    if (row < 1 || row > static_cast<int>(template_.Fields.size()) || column < 1 || column > kTemplateColumnCount)
        return;
    std::string text1251;
    if (!ToModel(text, text1251)) {
        UiServices().Message(this, UETr(IDS_UED_NOT_1251), IUiServices::Icon::Warning);
        return;
    }
    TakeCellText(template_.Fields[static_cast<size_t>(row - 1)], static_cast<TemplateColumn>(column - 1), text1251);
}

void CUEDlg::WarnInvalidInput(const QString& message) {
    UiServices().Message(this, message, IUiServices::Icon::Warning);
}

void CUEDlg::CellEdited(int row, int) {
    SetRowReadOnly(row);
    DataFromControls();
}

void CUEDlg::SetRowReadOnly(int row) {
    if (row < 1 || row > static_cast<int>(template_.Fields.size())) return;
    grid_->SetCellReadOnly(row, kFixedColumn, true);
    grid_->SetCellReadOnly(row, kTextPrecisionColumn,
                           template_.Fields[static_cast<size_t>(row - 1)].FieldType == CUEField::kName);
}

// --- the row commands ---

void CUEDlg::RefreshRows(const std::set<int>& rows) {
    grid_->SetRedraw(false);
    DataToControls();
    grid_->SelectRows(rows);
    if (!rows.empty()) grid_->SetFocusRow(*rows.begin());
    grid_->SetRedraw(true);
    UpdateEnabling();
}

void CUEDlg::OnUeInsert() {
    if (IsBusy()) return;
    int focus = grid_->FocusRow();
    size_t at = focus > 0 ? static_cast<size_t>(focus) : template_.Fields.size();
    template_.Fields.insert(template_.Fields.begin() + static_cast<ptrdiff_t>(at), CUEField());
    RefreshRows({});
    grid_->SetFocusRow(static_cast<int>(at) + 1);
}

void CUEDlg::OnUeDelete() {
    std::set<int> rows = grid_->SelectedRows();
    if (IsBusy() || rows.empty()) return;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) template_.Fields.erase(template_.Fields.begin() + (*it - 1));
    // The row now standing where the rows were taken out is selected.
    int next = std::min(*rows.rbegin() - static_cast<int>(rows.size()) + 1, static_cast<int>(template_.Fields.size()));
    RefreshRows(next >= 1 ? std::set<int>{next} : std::set<int>{});
}

void CUEDlg::OnUeUp() {
    std::set<int> rows = grid_->SelectedRows();
    if (IsBusy() || rows.empty() || rows.count(1)) return;
    std::set<int> moved;
    for (int row : rows) {
        std::swap(template_.Fields[static_cast<size_t>(row - 2)], template_.Fields[static_cast<size_t>(row - 1)]);
        moved.insert(row - 1);
    }
    RefreshRows(moved);
}

void CUEDlg::OnUeDown() {
    std::set<int> rows = grid_->SelectedRows();
    int last = static_cast<int>(template_.Fields.size());
    if (IsBusy() || rows.empty() || rows.count(last)) return;
    std::set<int> moved;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        std::swap(template_.Fields[static_cast<size_t>(*it - 1)], template_.Fields[static_cast<size_t>(*it)]);
        moved.insert(*it + 1);
    }
    RefreshRows(moved);
}

void CUEDlg::OnUeSelectAll() {
    if (!IsBusy()) grid_->SelectAllRows();
}

// --- the clipboard ---

void CUEDlg::OnUeCopy() {
    std::set<int> rows = grid_->SelectedRows();
    if (IsBusy() || rows.empty()) return;
    std::vector<CUEField> fields;
    for (int row : rows) fields.push_back(template_.Fields[static_cast<size_t>(row - 1)]);
    std::string block = BuildClipboardBlock(fields);
    auto* data = new QMimeData;
    data->setData(ClipboardMimeFormat(), QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    QApplication::clipboard()->setMimeData(data);
}

void CUEDlg::OnUeCut() {
    if (IsBusy() || grid_->SelectedRows().empty()) return;
    OnUeCopy();
    OnUeDelete();
}

bool CUEDlg::ClipboardHasBlock() const {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && data->hasFormat(ClipboardMimeFormat());
}

void CUEDlg::OnUePaste() {
    if (IsBusy() || !ClipboardHasBlock()) return;
    QByteArray block = QApplication::clipboard()->mimeData()->data(ClipboardMimeFormat());
    std::vector<CUEField> fields = ParseClipboardBlock(std::string_view(block.constData(), block.size()));
    if (fields.empty()) return;
    // After the focus row; at the top when no field row has the focus.
    size_t at = static_cast<size_t>(grid_->FocusRow());
    template_.Fields.insert(template_.Fields.begin() + static_cast<ptrdiff_t>(at), fields.begin(), fields.end());
    std::set<int> pasted;
    for (size_t i = 0; i < fields.size(); ++i) pasted.insert(static_cast<int>(at + i) + 1);
    RefreshRows(pasted);
}

// --- the pop-up menu and its keys ---

void CUEDlg::CreateActions() {
    auto action = [this](unsigned textId, const QKeySequence& key, void (CUEDlg::*handler)()) {
        auto* a = new QAction(UETr(textId), this);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        a->setShortcutVisibleInContextMenu(true);
        connect(a, &QAction::triggered, this, handler);
        grid_->addAction(a);  // the keys act on the grid without the menu too
        return a;
    };
    copyAction_ = action(IDS_UED_MENU_COPY, QKeySequence(Qt::CTRL | Qt::Key_C), &CUEDlg::OnUeCopy);
    cutAction_ = action(IDS_UED_MENU_CUT, QKeySequence(Qt::CTRL | Qt::Key_X), &CUEDlg::OnUeCut);
    pasteAction_ = action(IDS_UED_MENU_PASTE, QKeySequence(Qt::CTRL | Qt::Key_V), &CUEDlg::OnUePaste);
    insertAction_ = action(IDS_UED_MENU_INSERT, QKeySequence(Qt::Key_Insert), &CUEDlg::OnUeInsert);
    deleteAction_ = action(IDS_UED_MENU_DELETE, QKeySequence(Qt::Key_Delete), &CUEDlg::OnUeDelete);
    upAction_ = action(IDS_UED_MENU_UP, QKeySequence(Qt::Key_Plus), &CUEDlg::OnUeUp);
    downAction_ = action(IDS_UED_MENU_DOWN, QKeySequence(Qt::Key_Minus), &CUEDlg::OnUeDown);
    selectAllAction_ = action(IDS_UED_MENU_SELECT_ALL, QKeySequence(Qt::CTRL | Qt::Key_A), &CUEDlg::OnUeSelectAll);
}

std::unique_ptr<QMenu> CUEDlg::CreateGridMenu() {
    UpdateEnabling();
    pasteAction_->setEnabled(!IsBusy() && ClipboardHasBlock());
    auto menu = std::make_unique<QMenu>(this);
    menu->addActions({copyAction_, cutAction_, pasteAction_});
    menu->addSeparator();
    menu->addActions({insertAction_, deleteAction_});
    menu->addSeparator();
    menu->addActions({upAction_, downAction_});
    menu->addSeparator();
    menu->addAction(selectAllAction_);
    return menu;
}

void CUEDlg::OnGridMenu(const QPoint& globalPos) {
    if (IsBusy()) return;
    std::unique_ptr<QMenu> menu = CreateGridMenu();
    menu->exec(globalPos);
    UpdateEnabling();
}

}  // namespace tvk
