#include "dialogs/FolderExportDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
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

namespace tvk {

CFolderExportDialog::CFolderExportDialog(CWriter& writer, Kind kind, const QString& profileSection, QWidget* parent)
    : CLayerListDialog(writer, kind, parent), profileSection_(profileSection) {
    folderGroup_ = new QGroupBox(Tr(IDS_FOLDER_GROUP), this);
    folderCombo_ = new QComboBox(folderGroup_);
    folderCombo_->setObjectName("folderCombo");
    folderCombo_->setEditable(true);
    folderCombo_->setInsertPolicy(QComboBox::NoInsert);
    folderCombo_->setMaxCount(kHistorySize);
    folderTree_ = new CFolderTree(folderGroup_);
    folderTree_->setObjectName("folderTree");
    auto* folderLayout = new QVBoxLayout(folderGroup_);
    folderLayout->addWidget(folderCombo_);
    folderLayout->addWidget(folderTree_, 1);

    connect(exportButton_, &QPushButton::clicked, this, &CFolderExportDialog::OnExportbutton);
    connect(folderTree_, &CFolderTree::SelectionChanged, this, &CFolderExportDialog::OnSelchangedFoldertree);
    connect(folderCombo_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        // A pick also changes the edit text; only typing is an edit.
        if (folderCombo_->lineEdit() && folderCombo_->lineEdit()->hasFocus()) OnEditchangeFoldercombo(text);
    });
    connect(folderCombo_, QOverload<int>::of(&QComboBox::activated), this, &CFolderExportDialog::OnSelchangeFoldercombo);
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
    if (changeFromCombo_) {
        changeFromCombo_ = false;
        return;
    }
    QString path = folderTree_->SelectedPath();
    if (path.isEmpty()) return;
    folderText_ = QDir::toNativeSeparators(path);
    folderCombo_->setEditText(folderText_);
}

void CFolderExportDialog::OnEditchangeFoldercombo(const QString& text) {
    folderText_ = text;
    changeFromCombo_ = true;
    folderTree_->SelectPath(text);
    changeFromCombo_ = false;
}

void CFolderExportDialog::OnSelchangeFoldercombo(int index) {
    if (index < 0) return;
    folderText_ = folderCombo_->itemText(index);
    changeFromCombo_ = true;
    folderTree_->SelectPath(folderText_);
    changeFromCombo_ = false;
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
    int found = -1;
    for (int k = 0; k < folderCombo_->count(); ++k)
        if (folderCombo_->itemText(k).compare(folder, Qt::CaseInsensitive) == 0) found = k;
    if (found >= 0) {
        QString existing = folderCombo_->itemText(found);
        folderCombo_->removeItem(found);
        folderCombo_->insertItem(0, existing);
    } else {
        while (folderCombo_->count() > kHistorySize - 1) folderCombo_->removeItem(folderCombo_->count() - 1);
        folderCombo_->insertItem(0, folder);
    }
    folderCombo_->setCurrentIndex(0);
}

void CFolderExportDialog::OnExportbutton() {
    if (!IsReadComplete()) return;
    folderText_ = folderCombo_->currentText().trimmed();
    if (folderText_.isEmpty()) {
        QString current = QDir::currentPath();
        if (!UiServices().AskYesNo(this, Tr(IDS_EXPORT_TO_DIRECTORY).replace("%s", current.isEmpty() ? " " : current)))
            return;
    }
    DataFromControls();
    if (!folderText_.isEmpty()) CreateFolderPath(folderText_);
    // An empty folder text means the folder the question named, the current one.
    std::string target = (folderText_.isEmpty() ? QDir::currentPath() : folderText_).toStdString();
    if (!folderText_.isEmpty()) PutOnTopOfHistory(folderText_);
    // The dialog asks its own question, however it was built.
    InstallDialogOverwriteQuestion();
    StartExport(target);
}

}  // namespace tvk
