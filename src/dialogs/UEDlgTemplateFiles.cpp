// CUEDlg: the template commands Load, Save and Set as default.
#include <QPushButton>
#include <new>

#include "dialogs/DialogStrings.h"
#include "dialogs/UEDlg.h"
#include "dialogs/UEDlgStrings.h"
#include "dialogs/UEProfile.h"
#include "dialogs/UiServices.h"
#include "grid/UEGridCtrl.h"
#include "platform/Exceptions.h"
#include "universal/ArchiveException.h"
#include "universal/UETemplateFile.h"

namespace tvk {
namespace {

// `name` in the remembered template folder, unless it names a folder itself.
QString InTemplateFolder(const QString& name) {
    QString folder = QString::fromStdString(CUETemplateProfile().TemplateDirectory());
    if (folder.isEmpty() || name.contains('/') || name.contains('\\')) return name;
    return folder + "/" + name;
}

// Why Load would refuse `tmpl`; empty when it is valid.
QString TemplateFault(const CUETemplate& tmpl) {
    if (tmpl.IsValid()) return QString();
    for (size_t i = 0; i < tmpl.Fields.size(); ++i) {
        const CUEField& field = tmpl.Fields[i];
        if (field.IsValid()) continue;
        bool tooLong = field.Text.size() > static_cast<size_t>(CUEField::kMaxTextLength);
        return UETr(tooLong ? IDS_UED_FAULT_TEXT : IDS_UED_FAULT_ROW).arg(i + 1);
    }
    return UETr(IDS_UED_FAULT_SETTINGS);
}

}  // namespace

void CUEDlg::OnUeLoad() {
    if (IsBusy()) return;
    QString path = UiServices().OpenFileNameAt(this, UETr(IDS_UED_TEMPLATE_FILTER), QStringLiteral("ue"),
                                               InTemplateFolder(QStringLiteral("template")));
    if (path.isEmpty()) return;
    grid_->SetRedraw(false);
    grid_->SetFieldCount(0);
    std::string file = path.toStdString();
    QString failure;
    try {
        ReadTemplateFile(file, template_);
        templatePath_ = file;
    } catch (const CArchiveException& e) {
        failure = QString::fromStdString(e.Reason());
    } catch (const CFileException& e) {
        failure = QString::fromStdString(e.SystemReason());
    } catch (const std::bad_alloc&) {
        failure = Tr(IDS_OUT_OF_MEMORY);
    }
    if (!failure.isEmpty()) {
        template_.SetInternal();
        templatePath_ = kInternalTemplatePath;
    }
    UpdateTitle();
    DataToControls();
    grid_->SetRedraw(true);
    if (!failure.isEmpty())
        UiServices().Message(this, UETr(IDS_UED_CANT_LOAD).arg(path, failure), IUiServices::Icon::Warning);
}

// A template that Load would refuse is never written.
void CUEDlg::OnUeSave() {
    if (IsBusy()) return;
    if (QString fault = TemplateFault(template_); !fault.isEmpty()) {
        UiServices().Message(this, UETr(IDS_UED_NOT_SAVED).arg(fault), IUiServices::Icon::Warning);
        return;
    }
    QString initial =
        templatePath_ == kInternalTemplatePath ? QStringLiteral("template.ue") : QString::fromStdString(templatePath_);
    QString path =
        UiServices().SaveFileName(this, UETr(IDS_UED_TEMPLATE_FILTER), QStringLiteral("ue"), InTemplateFolder(initial));
    if (path.isEmpty()) return;
    std::string file = path.toStdString();
    std::string folder = TemplateFolderOf(file);
    if (!folder.empty()) CUETemplateProfile().SetTemplateDirectory(folder);
    DataFromControls();
    try {
        WriteTemplateFile(file, template_);
    } catch (const CFileException& e) {
        UiServices().Message(this, UETr(IDS_UED_CANT_SAVE).arg(path, QString::fromStdString(e.SystemReason())),
                             IUiServices::Icon::Warning);
        return;
    }
    templatePath_ = file;
    UpdateTitle();
    UpdateEnabling();
}

void CUEDlg::OnUeSetDefault() {
    if (IsBusy() || templatePath_ == kInternalTemplatePath) return;
    CUETemplateProfile().SetDefaultTemplate(templatePath_);
}

}  // namespace tvk
