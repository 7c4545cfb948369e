// The template grid inside the universal export dialog: what the commands
// allow for a selection, in-place edits with their checks and the live
// preview, the row commands and the clipboard.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

#include "dialogs/UEDlg.h"
#include "dialogs/UEDlgTestSupport.h"
#include "grid/UEGridModel.h"
#include "universal/TemplateGridText.h"

using namespace tvk;
using namespace tvk::test;

namespace {

constexpr int kType = 1, kText = 2, kWidth = 3, kAlign = 4;

// The menu items by their place: Copy, Cut, Paste, Insert, Delete, Up, Down,
// Select all (separators left out).
std::vector<bool> MenuEnabling(CUEDlg& dialog) {
    std::unique_ptr<QMenu> menu = dialog.CreateGridMenu();
    std::vector<bool> enabled;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) enabled.push_back(action->isEnabled());
    return enabled;
}

}  // namespace

class UEGrid : public UEDialogTest {
protected:
    void SetUp() override {
        UEDialogTest::SetUp();
        QApplication::clipboard()->clear();
        Open(dialog);
        ui.messages.clear();
        ui.icons.clear();
    }
    bool Enabled(const char* button) { return dialog.Button(button)->isEnabled(); }

    TestUEDlg dialog;
};

TEST_F(UEGrid, CommandsFollowTheSelectedRows) {
    ASSERT_EQ(dialog.TemplatePath(), kInternalTemplatePath);
    ASSERT_EQ(dialog.Grid()->FieldCount(), 7);
    EXPECT_FALSE(Enabled("setDefaultButton"));  // the built-in template
    EXPECT_TRUE(Enabled("exportButton"));

    // Nothing selected: no Delete, Up, Down; Copy, Cut, Paste and Delete grey.
    EXPECT_FALSE(Enabled("deleteButton"));
    EXPECT_FALSE(Enabled("upButton"));
    EXPECT_FALSE(Enabled("downButton"));
    EXPECT_EQ(MenuEnabling(dialog), (std::vector<bool>{false, false, false, true, false, false, false, true}));

    dialog.Grid()->SelectRows({1});
    EXPECT_TRUE(Enabled("deleteButton"));
    EXPECT_FALSE(Enabled("upButton"));
    EXPECT_TRUE(Enabled("downButton"));
    EXPECT_EQ(MenuEnabling(dialog), (std::vector<bool>{true, true, false, true, true, false, true, true}));

    dialog.Grid()->SelectRows({3, 7});
    EXPECT_TRUE(Enabled("upButton"));
    EXPECT_FALSE(Enabled("downButton"));

    dialog.Grid()->SelectRows({4});
    EXPECT_TRUE(Enabled("upButton"));
    EXPECT_TRUE(Enabled("downButton"));

    // Paste is offered once the clipboard holds template rows.
    dialog.OnUeCopy();
    EXPECT_TRUE(MenuEnabling(dialog)[2]);
    QApplication::clipboard()->setText("not rows");
    EXPECT_FALSE(MenuEnabling(dialog)[2]);
}

TEST_F(UEGrid, EditedCellRenewsThePreviewAtOnce) {
    dialog.OnUePreview();
    ASSERT_TRUE(dialog.IsPreviewShown());
    QStringList before = PreviewLines(dialog);
    ASSERT_EQ(before.size(), 16);  // the sample has more points than the preview shows
    ASSERT_TRUE(before[0].contains(", "));

    Edit(dialog, 2, kText, "  ;\\s ");  // trimmed, then "\s" is a blank
    EXPECT_EQ(dialog.Template().Fields[1].Text, "; ");
    EXPECT_EQ(Cell(dialog, 2, kText), ";\\s");
    QStringList after = PreviewLines(dialog);
    ASSERT_EQ(after.size(), 16);
    EXPECT_EQ(after[0], QString(before[0]).replace(before[0].indexOf(", "), 2, "; "));

    // The name field turned into N: its Text/Precision cell becomes editable
    // and shows the precision.
    EXPECT_FALSE(dialog.Grid()->Model()->flags(dialog.Grid()->model()->index(0, 1)) & Qt::ItemIsEditable);
    Edit(dialog, 1, kType, "N");
    EXPECT_EQ(dialog.Template().Fields[0].FieldType, CUEField::kNorth);
    EXPECT_EQ(Cell(dialog, 1, kText), "10");
    EXPECT_TRUE(dialog.Grid()->Model()->flags(dialog.Grid()->model()->index(0, 1)) & Qt::ItemIsEditable);
    QString line = PreviewLines(dialog)[0];
    EXPECT_EQ(line.section("; ", 0, 0), line.section("; ", 1).section(", ", 0, 0));

    Edit(dialog, 3, kWidth, "5");
    Edit(dialog, 3, kAlign, "Right");
    EXPECT_EQ(dialog.Template().Fields[2].Width, 5);
    EXPECT_EQ(dialog.Template().Fields[2].Alignment, CUEField::kRight);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(UEGrid, InvalidWidthPrecisionAndTextAreRefusedAndTheOldValueStays) {
    dialog.OnUePreview();
    QString preview = dialog.PreviewBox()->toPlainText();

    Edit(dialog, 3, kWidth, "150");
    Edit(dialog, 3, kWidth, "-1");
    Edit(dialog, 3, kText, "25");
    Edit(dialog, 2, kText, QString(101, 'x'));
    ASSERT_EQ(ui.messages, (QStringList{"Invalid width. Please repeat input", "Invalid width. Please repeat input",
                                        "Invalid precision. Please repeat input",
                                        "Text too long: at most 100 characters. Please repeat input"}));
    EXPECT_EQ(ui.icons, std::vector<IUiServices::Icon>(4, IUiServices::Icon::Warning));
    EXPECT_EQ(Cell(dialog, 3, kWidth), "0");
    EXPECT_EQ(Cell(dialog, 3, kText), "10");
    EXPECT_EQ(dialog.Template().Fields[2], CUEField(CUEField::kNorth, "", 0, 10, CUEField::kLeft));
    EXPECT_EQ(Cell(dialog, 2, kText), ",\\s");
    EXPECT_EQ(dialog.PreviewBox()->toPlainText(), preview);

    // The limits themselves are taken; a text counts the characters it
    // stands for, so 100 blanks typed as "\s" are 100 characters.
    Edit(dialog, 3, kWidth, "100");
    Edit(dialog, 3, kText, "0");
    QString blanks;
    for (int i = 0; i < 100; ++i) blanks += "\\s";
    Edit(dialog, 2, kText, blanks);
    EXPECT_EQ(dialog.Template().Fields[2].Width, 100);
    EXPECT_EQ(dialog.Template().Fields[2].Precision, 0);
    EXPECT_EQ(dialog.Template().Fields[1].Text, std::string(100, ' '));
    EXPECT_EQ(ui.messages.size(), 4);
    EXPECT_NE(dialog.PreviewBox()->toPlainText(), preview);
}

TEST_F(UEGrid, TwoCopiedRowsPasteIntoAnEmptyGrid) {
    auto& fields = dialog.Template().Fields;
    fields = {CUEField(CUEField::kName), CUEField(CUEField::kText, "a\tb\\c d\n", 7, 10, CUEField::kRight),
              CUEField(CUEField::kHeight, "", 12, 3, CUEField::kLeft), CUEField(CUEField::kEast)};
    dialog.DataToControls();
    dialog.Grid()->SelectRows({2, 3});
    dialog.OnUeCopy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data && data->hasFormat(CUEDlg::ClipboardMimeFormat()));
    QByteArray block = data->data(CUEDlg::ClipboardMimeFormat());
    EXPECT_EQ(std::string(block.constData(), block.size()), BuildClipboardBlock({fields[1], fields[2]}));

    dialog.OnUeSelectAll();
    EXPECT_EQ(dialog.Grid()->SelectedRows().size(), 4u);
    dialog.OnUeDelete();
    ASSERT_TRUE(fields.empty());
    EXPECT_EQ(dialog.Grid()->FieldCount(), 0);

    dialog.OnUePaste();
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[0], CUEField(CUEField::kText, "a\tb\\c d\n", 7, 10, CUEField::kRight));
    EXPECT_EQ(fields[1], CUEField(CUEField::kHeight, "", 12, 3, CUEField::kLeft));
    EXPECT_EQ(dialog.Grid()->FieldCount(), 2);
    EXPECT_EQ(dialog.Grid()->SelectedRows(), (std::set<int>{1, 2}));
    EXPECT_EQ(Cell(dialog, 1, kText), "a\\tb\\\\c\\sd\\n");
}

TEST_F(UEGrid, RowCommandsMoveInsertCutAndPaste) {
    auto& fields = dialog.Template().Fields;
    const std::vector<CUEField> original = fields;  // Name , N , E , H

    // Up and Down carry the selection with the rows.
    dialog.Grid()->SelectRows({3, 5});
    dialog.OnUeUp();
    EXPECT_EQ(fields[1], original[2]);
    EXPECT_EQ(fields[3], original[4]);
    EXPECT_EQ(dialog.Grid()->SelectedRows(), (std::set<int>{2, 4}));
    dialog.OnUeDown();
    EXPECT_EQ(fields, original);
    EXPECT_EQ(dialog.Grid()->SelectedRows(), (std::set<int>{3, 5}));
    dialog.Grid()->SelectRows({7});
    dialog.OnUeDown();  // the last row cannot go down
    EXPECT_EQ(fields, original);

    // Insert goes after the focus row, or to the end without one.
    dialog.Grid()->SetFocusRow(2);
    dialog.OnUeInsert();
    ASSERT_EQ(fields.size(), 8u);
    EXPECT_EQ(fields[2], CUEField());
    EXPECT_EQ(dialog.Grid()->FocusRow(), 3);
    dialog.Grid()->setCurrentIndex(QModelIndex());
    dialog.OnUeInsert();
    EXPECT_EQ(fields.size(), 9u);
    EXPECT_EQ(fields.back(), CUEField());

    // Delete takes the selected rows and selects the row that took their place.
    fields = original;
    dialog.DataToControls();
    dialog.Grid()->SelectRows({2, 4});
    dialog.OnUeCut();
    ASSERT_EQ(fields.size(), 5u);
    EXPECT_EQ(fields[1], original[2]);
    EXPECT_EQ(fields[2], original[4]);
    EXPECT_EQ(dialog.Grid()->SelectedRows(), (std::set<int>{3}));

    // Paste goes after the focus row; at the top when no row has the focus.
    dialog.Grid()->setCurrentIndex(QModelIndex());
    dialog.OnUePaste();
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(fields[0], original[1]);
    EXPECT_EQ(fields[1], original[3]);
    EXPECT_EQ(fields[2], original[0]);
}
