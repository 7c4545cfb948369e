// The universal export dialog: the template editor (a grid of fields), a
// live preview of the first lines the template gives, the template commands
// (Load, Save, Set as default, the row commands and the clipboard), the
// export options, the preview font, and the export to a text file on the
// export worker.
#pragma once
#include <QRect>
#include <memory>
#include <set>
#include <string>

#include "dialogs/ExportDialog.h"
#include "grid/UEGridOwner.h"
#include "universal/UEOutput.h"
#include "universal/UETemplate.h"
#include "universal/UEWriter.h"

class QAction;
class QFrame;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QVBoxLayout;

namespace tvk {

class CUEGridCtrl;
class CUEOptionsDlg;

class CUEDlg : public CExportDialog, public IUEGridOwner {
    Q_OBJECT
public:
    // The MIME format of the clipboard block ("UEClipboardFormat").
    static QString ClipboardMimeFormat();

    explicit CUEDlg(QWidget* parent = nullptr);
    ~CUEDlg() override;

    CUEWriter& Writer() { return writer_ue_; }
    // The current template and its path (kInternalTemplatePath for the
    // built-in one).
    CUETemplate& Template() { return template_; }
    const std::string& TemplatePath() const { return templatePath_; }
    const std::string& ExportTarget() const { return exportTarget_; }
    bool IsPreviewShown() const { return previewShown_; }

    CUEGridCtrl* Grid() const { return grid_; }
    QPlainTextEdit* PreviewBox() const { return previewBox_; }
    QPushButton* Button(const char* objectName) const;
    // The grid's pop-up menu with its items enabled as when it opens.
    std::unique_ptr<QMenu> CreateGridMenu();

    // Command handlers, public for the tests' sake.
    void OnUeLoad();
    void OnUeSave();
    void OnUeSetDefault();
    void OnUeInsert();
    void OnUeDelete();
    void OnUeUp();
    void OnUeDown();
    void OnUeCopy();
    void OnUeCut();
    void OnUePaste();
    void OnUeSelectAll();
    void OnUeOptions();
    void OnUePreview();
    void OnUeFont();
    void OnUeExport();

    // The grid's questions (IUEGridOwner).
    QStringList FieldTypeList() override;
    std::optional<QString> CheckText(const QString& typed) override;
    std::optional<QString> CheckWidth(const QString& typed) override;
    std::optional<QString> CheckPrecision(const QString& typed) override;
    bool IsTextRow(int row) override;
    QStringList AlignmentList() override;
    void Relayout() override;
    bool GetCellText(int row, int column, QString& text) override;
    void SetCellText(int row, int column, const QString& text) override;
    void WarnInvalidInput(const QString& message) override;
    void CellEdited(int row, int column) override;

protected:
    void OnInitDialog() override;
    void DataToControls() override;
    void DataFromControls() override;
    void ChangeVisibility() override;
    void OnReadcomplete() override;
    void OnExportcomplete() override;
    bool WorkerMarksReadComplete() const override { return false; }
    // Runs the options dialog modally; tests replace it.
    virtual int ExecOptions(CUEOptionsDlg& dialog);

private:
    void BuildControls();
    void CreateButtons();
    void CreatePreviewPane();
    QVBoxLayout* CommandColumn();
    void LayOutControls();
    void ConnectControls();
    void CreateActions();
    void UpdateTitle();
    void UpdateEnabling();
    void RunPreview();
    void ShowPreviewText(const std::string& text1251);
    // Makes the read-only state of `row`'s cells follow its kind.
    void SetRowReadOnly(int row);
    // Refills the grid from the template after rows changed, selects `rows`.
    void RefreshRows(const std::set<int>& rows);
    bool ClipboardHasBlock() const;
    void SetCollapsed(bool collapsed);
    void OnGridMenu(const QPoint& globalPos);

    CUEWriter writer_ue_;
    CUETemplate template_;
    std::string templatePath_;
    std::string exportTarget_;
    CUEPreviewOutput previewOutput_;
    CUEFileOutput fileOutput_;
    bool previewShown_ = false;
    QSize fullSize_, collapsedSize_;

    CUEGridCtrl* grid_ = nullptr;
    QPlainTextEdit* previewBox_ = nullptr;
    QFrame* separator_ = nullptr;
    QWidget* previewPane_ = nullptr;
    QPushButton *load_, *save_, *setDefault_, *up_, *down_, *insert_, *delete_, *options_, *preview_, *export_, *close_,
        *font_;
    QAction *copyAction_, *cutAction_, *pasteAction_, *insertAction_, *deleteAction_, *upAction_, *downAction_,
        *selectAllAction_;
};

}  // namespace tvk
