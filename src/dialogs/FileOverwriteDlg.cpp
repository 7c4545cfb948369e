#include "dialogs/FileOverwriteDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QThread>

#include "dialogs/DialogStrings.h"
#include "dialogs/UiServices.h"
#include "export/OverwriteDecision.h"

namespace tvk {

CFileOverwriteDlg::CFileOverwriteDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(Tr(IDS_OVERWRITE_TITLE));
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    grid->addWidget(icon, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(Tr(IDS_OVERWRITE_EXISTING), this), 0, 1);
    existing_ = new QLabel(this);
    grid->addWidget(existing_, 1, 1);
    grid->addWidget(new QLabel(Tr(IDS_OVERWRITE_NEW), this), 2, 1);
    new_ = new QLabel(this);
    grid->addWidget(new_, 3, 1);
    auto* buttons = new QHBoxLayout;
    const struct {
        unsigned text;
        int code;
    } kButtons[] = {{IDS_YES, 1}, {IDS_YES_TO_ALL, 3}, {IDS_NO, 2}, {IDS_NO_TO_ALL, 4}, {IDS_CANCEL, 5}};
    for (const auto& b : kButtons) {
        auto* button = new QPushButton(Tr(b.text), this);
        button->setObjectName(QStringLiteral("answer%1").arg(b.code));
        if (b.code == 1) button->setDefault(true);
        connect(button, &QPushButton::clicked, this, [this, code = b.code] { done(code); });
        buttons->addWidget(button);
    }
    grid->addLayout(buttons, 4, 0, 1, 2);
}

int CFileOverwriteDlg::Ask(const QString& existingFile, const QString& newFile) {
    existing_->setText(existingFile);
    new_->setText(newFile);
    int code = exec();
    return code >= 1 && code <= 5 ? code : 5;
}

void InstallDialogOverwriteQuestion() {
    SetOverwriteQuestion([](const ExistingFileStatus& existing, const std::string& newPath) {
        QString existingText = QString::fromStdString(ExistingFileText(existing));
        QString newText = QString::fromStdString(NewFileText(newPath));
        int answer = 5;
        auto ask = [&] { answer = UiServices().AskOverwrite(existingText, newText); };
        if (QThread::currentThread() == qApp->thread()) ask();
        else QMetaObject::invokeMethod(qApp, ask, Qt::BlockingQueuedConnection);
        return answer;
    });
}

}  // namespace tvk
