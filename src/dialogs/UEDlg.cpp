#include "dialogs/UEDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogStrings.h"

namespace tvk {

// Until the template editor lands this shows the file it was opened on.
CUEDlg::CUEDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Tr(IDS_TITLE_UE));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(this));
    auto* close = new QPushButton(Tr(IDS_BUTTON_CLOSE), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(close);
}

void CUEDlg::SetFilePath(const char* path) {
    if (!path) return;
    filePath_ = path;
    findChild<QLabel*>()->setText(QString::fromStdString(filePath_));
}

}  // namespace tvk
