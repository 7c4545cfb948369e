#include "dialogs/FolderExportDialog.h"

#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "dialogs/DialogStrings.h"
#include "dialogs/FileOverwriteDlg.h"
#include "dialogs/FolderTree.h"
#include "dialogs/LayerList.h"
#include "dialogs/Profile.h"
#include "dialogs/UiServices.h"
#include "platform/HomeFolder.h"

namespace tvk {

CFolderExportDialog::CFolderExportDialog(CWriter& writer, Kind kind, const QString& profileSection, QWidget* parent)
    : CLayerListDialog(writer, kind, parent), profileSection_(profileSection) {
    folderGroup_ = new QGroupBox(Tr(IDS_FOLDER_GROUP), this);
    folderCombo_ = new QComboBox(folderGroup_);
    folderCombo_->setObjectName("folderCombo");
    folderCombo_->setEditable(true);
    folderCombo_->setInsertPolicy(QComboBox::NoInsert);
    folderCombo_->setMaxCount(kHistorySize);
    // Folders that differ in case are different folders.
    folderCombo_->completer()->setCaseSensitivity(Qt::CaseSensitive);
    folderTree_ = new CFolderTree(folderGroup_);
    folderTree_->setObjectName("folderTree");
    // The tree hides while an export runs; the combo above it stays put.
    QSizePolicy treePolicy = folderTree_->sizePolicy();
    treePolicy.setRetainSizeWhenHidden(true);
    folderTree_->setSizePolicy(treePolicy);
    auto* folderLayout = new QVBoxLayout(folderGroup_);
    folderLayout->addWidget(folderCombo_);
    folderLayout->addWidget(folderTree_, 1);

    connect(exportButton_, &QPushButton::clicked, this, &CFolderExportDialog::OnExportbutton);
    connect(folderTree_, &CFolderTree::SelectionChanged, this, &CFolderExportDialog::OnSelchangedFoldertree);
    connect(folderCombo_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        // A pick also changes the edit text; only typing is an edit.
        if (folderCombo_->lineEdit() && folderCombo_->lineEdit()->hasFocus()) OnEditchangeFoldercombo(text);
    });
    connect(folderCombo_, QOverload<int>::of(&QComboBox::activated), this,
            &CFolderExportDialog::OnSelchangeFoldercombo);
    layerList_->SetEditCheck([this](int row, QString& text) { return OnEndlabeleditLayerlist(row, text); });
}

void CFolderExportDialog::BuildLayout(QWidget* options) {
    auto* main = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(listGroup_, 1);
    top->addWidget(folderGroup_, 1);
    main->addLayout(top, 1);
    if (options) main->addWidget(options);
    AddButtonsAndProgress(main);
    resize(640, 420);
}

void CFolderExportDialog::OnInitDialog() {
    LoadHistory();
    folderTree_->Initialise();
    OpenTreeOn(ResolveFolder(folderCombo_->currentText()));
}

// The tree shows the combo's folder, or the nearest folder above it that
// exists, or else the home folder; the combo keeps its text.
void CFolderExportDialog::OpenTreeOn(const QString& folder) {
    changeFromCombo_ = true;
    bool shown = false;
    for (QString up = folder; !shown && !up.isEmpty() && up != "/"; up = QFileInfo(up).path())
        shown = folderTree_->SelectPath(up);
    if (!shown) folderTree_->SelectPath(CFolderTree::HomePath());
    changeFromCombo_ = false;
}

QString CFolderExportDialog::ResolveFolder(const QString& text) {
    QString folder = text.trimmed();
    if (folder.isEmpty()) return folder;
    folder.replace('\\', '/');
    folder = QString::fromStdString(ExpandTilde(folder.toStdString()));
    if (!folder.startsWith('/')) folder = CFolderTree::HomePath() + '/' + folder;
    return QDir::cleanPath(folder);
}

void CFolderExportDialog::LoadHistory() {
    for (int k = 1; k <= kHistorySize; ++k) {
        QString folder = CProfile::GetString(profileSection_, QStringLiteral("MRU%1").arg(k));
        if (!folder.isEmpty()) folderCombo_->addItem(folder);
    }
}

void CFolderExportDialog::SaveHistory() {
    if (historySaved_) return;
    historySaved_ = true;
    for (int k = 0; k < folderCombo_->count() && k < kHistorySize; ++k)
        CProfile::WriteString(profileSection_, QStringLiteral("MRU%1").arg(k + 1), folderCombo_->itemText(k));
}

void CFolderExportDialog::done(int result) {
    SaveHistory();
    CLayerListDialog::done(result);
}

void CFolderExportDialog::ChangeVisibility() {
    bool idle = !IsBusy();
    folderTree_->setEnabled(idle);
    folderTree_->setVisible(idle);
    listGroup_->setEnabled(idle);
    folderGroup_->setEnabled(idle);
    folderCombo_->setEnabled(idle);
    layerList_->setEnabled(idle);
    exportButton_->setEnabled(idle);
}

void CFolderExportDialog::OnSelchangedFoldertree() {
    if (changeFromCombo_) return;  // the combo's own change, shown in the tree
    QString path = folderTree_->SelectedPath();
    if (path.isEmpty()) return;
    folderText_ = QDir::toNativeSeparators(path);
    folderCombo_->setEditText(folderText_);
}

void CFolderExportDialog::OnEditchangeFoldercombo(const QString& text) {
    folderText_ = text;
    OpenTreeOn(ResolveFolder(text));
}

void CFolderExportDialog::OnSelchangeFoldercombo(int index) {
    if (index < 0) return;
    folderText_ = folderCombo_->itemText(index);
    OpenTreeOn(ResolveFolder(folderText_));
}

void CFolderExportDialog::CreateFolderPath(const QString& folder) {
    QString text = folder.trimmed();
    auto isSeparator = [](QChar c) { return c == '/' || c == '\\'; };
    QString built;
    int start = 0;
    if (text.size() >= 2 && isSeparator(text[0]) && isSeparator(text[1])) {
        // A network server name stays whole.
        int next = 2;
        while (next < text.size() && !isSeparator(text[next])) ++next;
        built = text.left(next);
        start = next;
    } else if (!text.isEmpty() && isSeparator(text[0])) {
        built = "/";
        start = 1;
    }
    const QStringList parts = text.mid(start).split(QRegularExpression("[\\\\/]"), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (!built.isEmpty() && !built.endsWith('/')) built += '/';
        built += part;
        QDir().mkdir(built);  // failures are left to the export
    }
}

bool CFolderExportDialog::IsCreatableFileName(const QString& name) {
    QTemporaryDir scratch(QDir::tempPath() + "/MIEXXXXXX");
    if (!scratch.isValid()) return true;  // nothing to try it in: accept
    if (name.contains('/') || name == "." || name == "..") return false;
    QFile file(scratch.filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return false;
    file.close();
    file.remove();
    return true;
}

bool CFolderExportDialog::OnEndlabeleditLayerlist(int, QString& text) {
    std::string model;
    if (!ToModel(text, model) || !IsCreatableFileName(text)) {
        UiServices().Message(this, Tr(IDS_INVALID_FILE_NAME), IUiServices::Icon::None);
        return false;
    }
    return true;
}

void CFolderExportDialog::PutOnTopOfHistory(const QString& folder) {
    int found = folderCombo_->findText(folder, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0) {
        folderCombo_->removeItem(found);
        folderCombo_->insertItem(0, folder);
    } else {
        while (folderCombo_->count() > kHistorySize - 1) folderCombo_->removeItem(folderCombo_->count() - 1);
        folderCombo_->insertItem(0, folder);
    }
    folderCombo_->setCurrentIndex(0);
}

void CFolderExportDialog::OnExportbutton() {
    if (!IsReadComplete()) return;
    folderText_ = ResolveFolder(folderCombo_->currentText());
    if (folderText_.isEmpty()) {
        // Like a relative folder, no folder at all means the home folder.
        if (!UiServices().AskYesNo(this, Tr(IDS_EXPORT_TO_DIRECTORY).replace("%s", CFolderTree::HomePath()))) return;
    }
    DataFromControls();
    if (!folderText_.isEmpty()) {
        CreateFolderPath(folderText_);
        PutOnTopOfHistory(folderText_);
    }
    // The dialog asks its own question, however it was built.
    InstallDialogOverwriteQuestion();
    StartExport((folderText_.isEmpty() ? CFolderTree::HomePath() : folderText_).toStdString());
}

}  // namespace tvk
