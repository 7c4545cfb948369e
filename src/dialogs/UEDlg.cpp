#include "dialogs/UEDlg.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <new>

#include "dialogs/DialogStrings.h"
#include "dialogs/UEDlgStrings.h"
#include "dialogs/UEOptionsDlg.h"
#include "dialogs/UEProfile.h"
#include "dialogs/UiServices.h"
#include "grid/UEGridCtrl.h"

namespace tvk {
namespace {

// The preview shows the first lines only: the sink stops after this limit.
const char* const kPreviewLineLimit = "15";

// The export chooser's default extension: the file filter after its first
// '.' up to the first ';' ("*.txt" gives "txt"); none when that is a pattern.
QString DefaultExtension(const QString& filter) {
    int dot = filter.indexOf('.');
    if (dot < 0) return QString();
    QString extension = filter.mid(dot + 1).section(';', 0, 0).trimmed();
    if (extension.contains('*') || extension.contains('?')) return QString();
    return extension;
}

// The export chooser's filters: the template's own patterns first, when it
// has usable ones, then every file.
QString ExportFilters(const QString& fileFilter) {
    QString filters;
    if (!fileFilter.trimmed().isEmpty() && !fileFilter.contains('|')) {
        QString patterns = fileFilter.trimmed();
        patterns.replace(';', ' ');
        filters = UETr(IDS_UED_EXTERNAL_FILTER).arg(patterns) + ";;";
    }
    return filters + UETr(IDS_UED_ALL_FILES_FILTER);
}

}  // namespace

// The writer member is built before the base uses it: the base keeps only a
// reference and touches it after construction.
CUEDlg::CUEDlg(QWidget* parent)
    : CExportDialog(writer_ue_, Kind::Universal, parent),
      templatePath_(kInternalTemplatePath),
      previewOutput_([this](const std::string& text) { ShowPreviewText(text); }) {
    writer_ue_.Init();
    BuildControls();
    CreateActions();
    UpdateTitle();
}

// The grid asks this object for its texts until it is gone: it goes first.
CUEDlg::~CUEDlg() {
    StopAndWait();
    grid_->disconnect(this);
    delete grid_;
}

QPushButton* CUEDlg::Button(const char* objectName) const { return findChild<QPushButton*>(objectName); }

// The controls are created in the order of the tab chain.
void CUEDlg::BuildControls() {
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    CreateButtons();
    grid_ = new CUEGridCtrl(this, this);
    grid_->setObjectName("templateGrid");
    CreatePreviewPane();
    LayOutControls();
    ConnectControls();
}

void CUEDlg::CreateButtons() {
    auto button = [this](const char* name, unsigned textId, unsigned tipId) {
        auto* b = new QPushButton(UETr(textId), this);
        b->setObjectName(name);
        b->setToolTip(UETr(tipId));
        b->setAutoDefault(false);
        return b;
    };
    load_ = button("loadButton", IDS_UED_LOAD, IDS_UED_TIP_LOAD);
    save_ = button("saveButton", IDS_UED_SAVE, IDS_UED_TIP_SAVE);
    setDefault_ = button("setDefaultButton", IDS_UED_SET_DEFAULT, IDS_UED_TIP_SET_DEFAULT);
    up_ = new QPushButton(style()->standardIcon(QStyle::SP_ArrowUp), QString(), this);
    up_->setObjectName("upButton");
    up_->setToolTip(UETr(IDS_UED_TIP_UP));
    down_ = new QPushButton(style()->standardIcon(QStyle::SP_ArrowDown), QString(), this);
    down_->setObjectName("downButton");
    down_->setToolTip(UETr(IDS_UED_TIP_DOWN));
    insert_ = button("insertButton", IDS_UED_INSERT, IDS_UED_TIP_INSERT);
    delete_ = button("deleteButton", IDS_UED_DELETE, IDS_UED_TIP_DELETE);
    options_ = button("optionsButton", IDS_UED_OPTIONS, IDS_UED_TIP_OPTIONS);
    preview_ = button("previewButton", IDS_UED_PREVIEW, IDS_UED_TIP_PREVIEW);
    export_ = button("exportButton", IDS_UED_EXPORT, IDS_UED_TIP_EXPORT);
    export_->setDefault(true);
    close_ = new QPushButton(Tr(IDS_BUTTON_CLOSE), this);
    close_->setObjectName("closeButton");
    close_->setToolTip(UETr(IDS_UED_TIP_CLOSE));
    close_->setAutoDefault(false);
    font_ = button("fontButton", IDS_UED_FONT, IDS_UED_TIP_FONT);
}

void CUEDlg::CreatePreviewPane() {
    separator_ = new QFrame(this);
    separator_->setObjectName("separator");
    separator_->setFrameShape(QFrame::HLine);
    separator_->setFrameShadow(QFrame::Sunken);

    previewPane_ = new QWidget(this);
    auto* pane = new QVBoxLayout(previewPane_);
    pane->setContentsMargins(0, 0, 0, 0);
    previewBox_ = new QPlainTextEdit(previewPane_);
    previewBox_->setObjectName("previewBox");
    previewBox_->setReadOnly(true);
    previewBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    previewBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    previewBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    previewBox_->setToolTip(UETr(IDS_UED_TIP_PREVIEW_BOX));
    QFont fixed(QStringLiteral("Courier New"), 8);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    previewBox_->setFont(fixed);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(font_);
    fontRow->addStretch(1);
    pane->addWidget(previewBox_, 1);
    pane->addLayout(fontRow);
}

// The command column beside the grid, the export at its foot.
QVBoxLayout* CUEDlg::CommandColumn() {
    auto* commands = new QVBoxLayout;
    commands->addWidget(load_);
    commands->addWidget(save_);
    commands->addWidget(setDefault_);
    auto* arrows = new QHBoxLayout;
    arrows->addWidget(up_);
    arrows->addWidget(down_);
    commands->addLayout(arrows);
    commands->addWidget(insert_);
    commands->addWidget(delete_);
    commands->addSpacing(8);
    commands->addWidget(options_);
    commands->addWidget(preview_);
    commands->addStretch(1);
    commands->addWidget(export_);
    commands->addWidget(close_);
    return commands;
}

void CUEDlg::LayOutControls() {
    auto* top = new QHBoxLayout;
    top->addWidget(grid_, 1);
    top->addLayout(CommandColumn());
    auto* main = new QVBoxLayout(this);
    // Extra height goes to the preview, so that the part above the separator
    // keeps its size when the window collapses.
    grid_->setMinimumHeight(240);
    main->addLayout(top, 0);
    main->addWidget(CreateProgressRow());
    status_->hide();
    // The row keeps its height while the progress comes and goes, so that
    // the window keeps the size it was given.
    for (QWidget* shown : {static_cast<QWidget*>(status_), static_cast<QWidget*>(progress_)}) {
        QSizePolicy policy = shown->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        shown->setSizePolicy(policy);
    }
    main->addWidget(separator_);
    main->addWidget(previewPane_, 1);
    resize(600, 560);
}

void CUEDlg::ConnectControls() {
    connect(load_, &QPushButton::clicked, this, &CUEDlg::OnUeLoad);
    connect(save_, &QPushButton::clicked, this, &CUEDlg::OnUeSave);
    connect(setDefault_, &QPushButton::clicked, this, &CUEDlg::OnUeSetDefault);
    connect(up_, &QPushButton::clicked, this, &CUEDlg::OnUeUp);
    connect(down_, &QPushButton::clicked, this, &CUEDlg::OnUeDown);
    connect(insert_, &QPushButton::clicked, this, &CUEDlg::OnUeInsert);
    connect(delete_, &QPushButton::clicked, this, &CUEDlg::OnUeDelete);
    connect(options_, &QPushButton::clicked, this, &CUEDlg::OnUeOptions);
    connect(preview_, &QPushButton::clicked, this, &CUEDlg::OnUePreview);
    connect(export_, &QPushButton::clicked, this, &CUEDlg::OnUeExport);
    connect(close_, &QPushButton::clicked, this, &CUEDlg::reject);
    connect(font_, &QPushButton::clicked, this, &CUEDlg::OnUeFont);
    connect(grid_, &CUEGridCtrl::SelectionChanged, this, &CUEDlg::UpdateEnabling);
    connect(grid_, &CUEGridCtrl::ContextMenuRequested, this, &CUEDlg::OnGridMenu);
}

// The common steps have run; the template is chosen before the grid is
// filled, and the window opens collapsed.
void CUEDlg::OnInitDialog() {
    CUETemplateProfile profile;
    templatePath_ = ChooseStartTemplate(profile, template_, [this](const std::string& warning) {
        UiServices().Message(this, QString::fromStdString(warning), IUiServices::Icon::Warning);
    });
    UpdateTitle();
    layout()->activate();
    fullSize_ = size();
    int collapsedHeight = separator_->geometry().bottom() + 1 + layout()->contentsMargins().bottom();
    collapsedSize_ = QSize(fullSize_.width(), collapsedHeight);
    SetCollapsed(true);
    export_->setFocus();
}

void CUEDlg::SetCollapsed(bool collapsed) {
    previewPane_->setVisible(!collapsed);
    layout()->activate();
    resize((collapsed ? collapsedSize_ : fullSize_).expandedTo(minimumSizeHint()));
}

void CUEDlg::UpdateTitle() { setWindowTitle(UETr(IDS_UED_TITLE) + " [" + QString::fromStdString(templatePath_) + "]"); }

void CUEDlg::DataToControls() {
    int count = static_cast<int>(template_.Fields.size());
    if (grid_->FieldCount() != count) {
        grid_->SetRedraw(false);
        grid_->SetFieldCount(count);
        grid_->SetRedraw(true);
    } else {
        grid_->Refresh();
    }
    for (int row = 1; row <= count; ++row) SetRowReadOnly(row);
    UpdateEnabling();
    RunPreview();
}

void CUEDlg::DataFromControls() {
    UpdateEnabling();
    RunPreview();
}

void CUEDlg::ChangeVisibility() { UpdateEnabling(); }

void CUEDlg::UpdateEnabling() {
    const bool idle = !IsBusy();
    const std::set<int> rows = grid_->SelectedRows();
    const bool any = !rows.empty();
    const bool canUp = idle && any && !rows.count(1);
    const bool canDown = idle && any && !rows.count(grid_->FieldCount());
    grid_->setEnabled(idle);
    export_->setEnabled(idle && IsReadComplete());
    up_->setEnabled(canUp);
    down_->setEnabled(canDown);
    delete_->setEnabled(idle && any);
    setDefault_->setEnabled(idle && templatePath_ != kInternalTemplatePath);
    for (QPushButton* always : {load_, save_, insert_, options_, preview_, font_}) always->setEnabled(idle);
    copyAction_->setEnabled(idle && any);
    cutAction_->setEnabled(idle && any);
    deleteAction_->setEnabled(idle && any);
    upAction_->setEnabled(canUp);
    downAction_->setEnabled(canDown);
    pasteAction_->setEnabled(idle);  // the clipboard is looked at when the menu opens
    insertAction_->setEnabled(idle);
    selectAllAction_->setEnabled(idle);
}

// The first lines of the export, made on this thread while no worker runs,
// with the progress display off.
void CUEDlg::RunPreview() {
    if (!IsReadComplete() || IsBusy()) return;
    SetProgressMuted(true);
    writer_ue_.SetTemplate(&template_);
    writer_ue_.SetOutput(&previewOutput_);
    writer_ue_.SetDosCodePage(false);
    previewOutput_.Open(kPreviewLineLimit);
    bool outOfMemory = false;
    if (!writer_ue_.IsMustDie()) {
        try {
            writer_ue_.Export("", nullptr);
        } catch (const CThreadStopSignal&) {
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
    }
    writer_ue_.SetOutput(nullptr);
    previewOutput_.Close();
    SetProgressMuted(false);
    if (outOfMemory) UiServices().Message(this, Tr(IDS_OUT_OF_MEMORY), IUiServices::Icon::None);
}

void CUEDlg::ShowPreviewText(const std::string& text1251) {
    QString text = FromModel(text1251);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    previewBox_->setPlainText(text);
}

void CUEDlg::OnUePreview() {
    if (!previewShown_) {
        SetCollapsed(false);
        previewShown_ = true;
        DataFromControls();
    } else {
        SetCollapsed(true);
        previewShown_ = false;
    }
}

void CUEDlg::OnUeFont() {
    QFont font = previewBox_->font();
    if (UiServices().ChooseFont(this, font)) previewBox_->setFont(font);
}

int CUEDlg::ExecOptions(CUEOptionsDlg& dialog) { return dialog.exec(); }

void CUEDlg::OnUeOptions() {
    if (IsBusy()) return;
    CUEOptionsDlg dialog(template_, this);
    if (ExecOptions(dialog) != QDialog::Accepted) return;
    dialog.WriteTo(template_);
    DataFromControls();
}

void CUEDlg::OnUeExport() {
    if (!IsReadComplete() || IsBusy()) return;
    QString fileFilter = FromModel(template_.FileFilter);
    QString path = UiServices().SaveFileName(this, ExportFilters(fileFilter), DefaultExtension(fileFilter),
                                             QStringLiteral("filename"));
    if (path.isEmpty()) return;
    DataFromControls();
    std::string file = path.toStdString();
    try {
        fileOutput_.Open(file);
    } catch (const CFileException& e) {
        UiServices().Message(this, UETr(IDS_UED_CANT_CREATE).arg(path, QString::fromStdString(e.SystemReason())),
                             IUiServices::Icon::Warning);
        return;
    }
    writer_ue_.SetTemplate(&template_);
    writer_ue_.SetOutput(&fileOutput_);
    writer_ue_.SetDosCodePage(template_.DosCodePage);
    exportTarget_ = file;
    close_->setFocus();
    StartExport(file);
}

void CUEDlg::OnReadcomplete() {
    SetBusy(false);
    SetReadComplete(true);
    DataToControls();
}

void CUEDlg::OnExportcomplete() {
    SetBusy(false);
    writer_ue_.SetOutput(nullptr);
    fileOutput_.EndExport(false);  // completed or abandoned by the run already
    DataToControls();
}

}  // namespace tvk
