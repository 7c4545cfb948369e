// Helpers of the universal export dialog tests: a clean folder that is also
// the current folder (where "default.ue" is looked for), the dialog opened on
// a sample, and in-place edits made through the grid's own cell editors.
#pragma once
#include <gtest/gtest.h>

#include <QAbstractItemDelegate>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyleOptionViewItem>
#include <functional>
#include <memory>

#include "DialogTestSupport.h"
#include "ScriptedUi.h"
#include "dialogs/UEDlg.h"
#include "dialogs/UEOptionsDlg.h"
#include "grid/UEGridCtrl.h"

namespace tvk::test {

// The dialog with its data exchange reachable and the options dialog run by
// the test instead of a modal loop.
class TestUEDlg : public CUEDlg {
public:
    using CUEDlg::ChangeVisibility;
    using CUEDlg::DataFromControls;
    using CUEDlg::DataToControls;
    using CUEDlg::SetBusy;
    std::function<int(CUEOptionsDlg&)> runOptions;

protected:
    int ExecOptions(CUEOptionsDlg& dialog) override {
        return runOptions ? runOptions(dialog) : CUEDlg::ExecOptions(dialog);
    }
};

class UEDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousFolder_ = QDir::currentPath();
        QDir::setCurrent(folder.dir.path());
    }
    void TearDown() override { QDir::setCurrent(previousFolder_); }

    // Shows `dialog` on `sample` and waits for the reading to end.
    static void Open(CUEDlg& dialog, const char* sample = "building-site.tlx") {
        std::string path = SamplePath(sample);
        dialog.SetFilePath(path.c_str());
        dialog.show();
        ASSERT_TRUE(WaitUntil([&] { return dialog.IsReadComplete() && !dialog.IsBusy(); }));
    }

    // Types `text` into a cell (grid coordinates) through the column's editor
    // and commits it as the view would.
    static void Edit(CUEDlg& dialog, int row, int column, const QString& text) {
        CUEGridCtrl* grid = dialog.Grid();
        QModelIndex index = grid->model()->index(row - 1, column - 1);
        QAbstractItemDelegate* cell = grid->itemDelegateForColumn(column - 1);
        QStyleOptionViewItem option;
        std::unique_ptr<QWidget> editor(cell->createEditor(grid->viewport(), option, index));
        ASSERT_TRUE(editor);
        cell->setEditorData(editor.get(), index);
        if (auto* line = qobject_cast<QLineEdit*>(editor.get())) {
            line->setText(text);
        } else {
            auto* combo = qobject_cast<QComboBox*>(editor.get());
            ASSERT_TRUE(combo);
            int at = combo->findText(text);
            ASSERT_GE(at, 0) << text.toStdString();
            combo->setCurrentIndex(at);
        }
        cell->setModelData(editor.get(), grid->model(), index);
    }

    static QString Cell(CUEDlg& dialog, int row, int column) {
        return dialog.Grid()->model()->index(row - 1, column - 1).data().toString();
    }

    static QStringList PreviewLines(CUEDlg& dialog) {
        QStringList lines = dialog.PreviewBox()->toPlainText().split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        return lines;
    }

    ScriptedUi ui;
    TestFolder folder;

private:
    QString previousFolder_;
};

}  // namespace tvk::test
