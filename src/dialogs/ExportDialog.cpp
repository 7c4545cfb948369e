#include "dialogs/ExportDialog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <cstdlib>
#include <new>

#include "dialogs/DialogStrings.h"
#include "dialogs/UiServices.h"
#include "export/Writer.h"
#include "platform/Exceptions.h"

namespace tvk {

// Module-wide state of one dialog kind: the progress callbacks are plain
// functions without a context, so they reach their dialog through it. Only
// the worker touches the counters; widgets are updated on the UI thread.
struct ProgressRelay {
    std::atomic<CExportDialog*> dialog{nullptr};
    std::atomic<bool> readComplete{false};
    std::atomic<bool> muted{false};
    long long position = 0, pending = 0, top = 0, threshold = 0;

    static ProgressRelay& Of(CExportDialog::Kind kind);

    void Begin(int low, int high) {
        CExportDialog* dlg = dialog.load();
        if (muted || !dlg) return;
        unsigned textId = !readComplete                            ? IDS_READING_OBJECT_DATA
                          : dlg->kind_ == CExportDialog::Kind::Dxf ? IDS_EXPORTING_DXF
                          : dlg->kind_ == CExportDialog::Kind::Mif ? IDS_EXPORTING_MIF
                          : dlg->kind_ == CExportDialog::Kind::Shp ? IDS_EXPORTING_SHP
                                                                   : IDS_EXPORTING;
        QMetaObject::invokeMethod(
            dlg,
            [dlg, low, high, textId] {
                if (!dlg->status_ || !dlg->progress_) return;
                dlg->status_->setText(Tr(textId));
                dlg->status_->show();
                dlg->progress_->setRange(low, high);
                dlg->progress_->setValue(low);
                dlg->progress_->show();
            },
            Qt::QueuedConnection);
        position = low;
        pending = 0;
        top = high;
        threshold = std::llabs(static_cast<long long>(high) - low) / 100;
    }
    void Step(int delta) {
        CExportDialog* dlg = dialog.load();
        if (muted || !dlg) return;
        position += delta;
        pending += delta;
        if (pending < threshold && position < top) return;
        pending = 0;
        long long value = position;
        QMetaObject::invokeMethod(
            dlg,
            [dlg, value] {
                if (dlg->progress_) dlg->progress_->setValue(static_cast<int>(value));
            },
            Qt::QueuedConnection);
    }
    void End() {
        CExportDialog* dlg = dialog.load();
        if (muted || !dlg) return;
        bool universal = dlg->kind_ == CExportDialog::Kind::Universal;
        QMetaObject::invokeMethod(
            dlg,
            [dlg, universal] {
                if (!dlg->status_ || !dlg->progress_) return;
                if (universal) {
                    dlg->status_->hide();
                    dlg->status_->setText(Tr(IDS_READY));
                } else {
                    dlg->status_->clear();
                }
                dlg->progress_->hide();
            },
            Qt::QueuedConnection);
    }
};

namespace {
ProgressRelay g_relays[4];

template <int K>
void BeginOf(int low, int high) {
    g_relays[K].Begin(low, high);
}
template <int K>
void StepOf(int delta) {
    g_relays[K].Step(delta);
}
template <int K>
void EndOf() {
    g_relays[K].End();
}

template <int K>
void Install(CWriter& writer) {
    writer.OnProgressBegin = &BeginOf<K>;
    writer.OnProgressStep = &StepOf<K>;
    writer.OnProgressEnd = &EndOf<K>;
}

void InstallCallbacks(CWriter& writer, CExportDialog::Kind kind) {
    switch (kind) {
    case CExportDialog::Kind::Dxf: Install<0>(writer); break;
    case CExportDialog::Kind::Mif: Install<1>(writer); break;
    case CExportDialog::Kind::Shp: Install<2>(writer); break;
    case CExportDialog::Kind::Universal: Install<3>(writer); break;
    }
}
}  // namespace

ProgressRelay& ProgressRelay::Of(CExportDialog::Kind kind) { return g_relays[static_cast<int>(kind)]; }

CExportDialog::CExportDialog(CWriter& writer, Kind kind, QWidget* parent)
    : QDialog(parent), writer_(writer), kind_(kind) {
    RegisterDialogStrings();
    ProgressRelay& relay = ProgressRelay::Of(kind);
    relay.dialog = this;
    relay.readComplete = false;
    relay.muted = false;
}

CExportDialog::~CExportDialog() {
    JoinWorker();
    ProgressRelay& relay = ProgressRelay::Of(kind_);
    CExportDialog* self = this;
    relay.dialog.compare_exchange_strong(self, nullptr);
}

void CExportDialog::SetFilePath(const char* path) {
    if (path) filePath_ = path;
}

bool CExportDialog::IsReadComplete() const { return ProgressRelay::Of(kind_).readComplete; }
void CExportDialog::SetReadComplete(bool complete) { ProgressRelay::Of(kind_).readComplete = complete; }
void CExportDialog::SetProgressMuted(bool muted) { ProgressRelay::Of(kind_).muted = muted; }

QWidget* CExportDialog::CreateProgressRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    status_ = new QLabel(row);
    status_->setObjectName("statusText");
    progress_ = new QProgressBar(row);
    progress_->setObjectName("progressBar");
    progress_->hide();
    layout->addWidget(status_, 1);
    layout->addWidget(progress_, 2);
    return row;
}

void CExportDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (initialised_) return;
    initialised_ = true;
    // Callbacks are installed after the writer's Init, and again here because
    // a failed Read's Free drops them.
    InstallCallbacks(writer_, kind_);
    if (filePath_.empty()) filePath_ = "C:\\my.tlx";
    OnInitDialog();
    DataToControls();
    if (!filePath_.empty() && !IsReadComplete()) {
        repaint();
        ReadTLX();
    }
}

void CExportDialog::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    ShowWaitCursor(busy);
}

// The wait cursor covers this dialog only, so that the questions and messages
// shown meanwhile keep the normal one. Controls with a cursor of their own
// (the edit fields) take the wait cursor too and get theirs back afterwards.
void CExportDialog::ShowWaitCursor(bool wait) {
    if (!wait) {
        for (auto& [control, cursor] : ownCursors_)
            if (control) control->setCursor(cursor);
        ownCursors_.clear();
        unsetCursor();
        return;
    }
    setCursor(Qt::WaitCursor);
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control->isWindow() || !control->testAttribute(Qt::WA_SetCursor)) continue;
        ownCursors_.emplace_back(control, control->cursor());
        control->setCursor(Qt::WaitCursor);
    }
}

void CExportDialog::ReadTLX() {
    JoinWorker();
    SetBusy(true);
    ChangeVisibility();
    InstallCallbacks(writer_, kind_);
    worker_ = std::thread(&CExportDialog::RunWorker, this, true, std::string());
}

void CExportDialog::StartExport(const std::string& target) {
    JoinWorker();
    SetBusy(true);
    ChangeVisibility();
    InstallCallbacks(writer_, kind_);
    worker_ = std::thread(&CExportDialog::RunWorker, this, false, target);
}

void CExportDialog::StopAndWait() {
    if (!worker_.joinable()) return;
    if (busy_) writer_.TryToStop();
    // The worker's last calls wait for this thread; serve them until it ends.
    while (busy_) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    JoinWorker();
}

void CExportDialog::JoinWorker() {
    if (worker_.joinable()) worker_.join();
}

void CExportDialog::RunExport(const std::string& target) { writer_.Export(target.c_str(), nullptr); }

void CExportDialog::ShowFromWorker(unsigned textId, int icon, const QString& more) {
    QMetaObject::invokeMethod(
        this,
        [this, textId, icon, more] {
            UiServices().Message(this, Tr(textId) + more, static_cast<IUiServices::Icon>(icon));
        },
        Qt::BlockingQueuedConnection);
}

QString CExportDialog::ChangesText() const {
    const CChangeReport& changes = writer_.GetChanges();
    if (changes.Empty()) return QString();
    QString text = "\n\n" + FromModel(CChangeReport::Heading());
    for (const std::string& line : changes.Lines(CChangeReport::kShortLines)) text += "\n" + FromModel(line);
    return text;
}

// The body of both workers. Widgets are reached only through queued calls;
// the completion handler runs on the UI thread while this thread waits.
void CExportDialog::RunWorker(bool reading, std::string target) {
    bool stopped = false;
    const int none = static_cast<int>(IUiServices::Icon::None);
    if (reading) {
        try {
            writer_.Read(filePath_.c_str(), nullptr);
            if (WorkerMarksReadComplete()) SetReadComplete(true);
        } catch (const CFileException&) {
            ShowFromWorker(IDS_FILE_IO_ERROR, none);
            writer_.Free();
            stopped = true;
        } catch (const std::bad_alloc&) {
            ShowFromWorker(IDS_OUT_OF_MEMORY, none);
            writer_.Free();
            stopped = true;
        } catch (const CThreadStopSignal&) {
            stopped = true;
        }
        QMetaObject::invokeMethod(
            this,
            [this] {
                OnReadcomplete();
                emit ReadCompleted();
            },
            Qt::BlockingQueuedConnection);
    } else {
        try {
            RunExport(target);
            ShowFromWorker(IDS_EXPORT_SUCCEED, static_cast<int>(IUiServices::Icon::Information), ChangesText());
        } catch (const CFileException&) {
            ShowFromWorker(IDS_FILE_IO_ERROR, none);
        } catch (const std::bad_alloc&) {
            ShowFromWorker(IDS_OUT_OF_MEMORY, none);
        } catch (const CUserBreakSignal&) {
            ShowFromWorker(IDS_USER_BREAK, none);
        } catch (const CThreadStopSignal&) {
            stopped = true;
        }
        writer_.FreeExportData();
        QMetaObject::invokeMethod(
            this,
            [this] {
                OnExportcomplete();
                emit ExportCompleted();
            },
            Qt::BlockingQueuedConnection);
    }
    if (stopped || writer_.IsMustDie())
        QMetaObject::invokeMethod(
            this, [this] { close(); }, Qt::QueuedConnection);
}

void CExportDialog::OnReadcomplete() {
    SetBusy(false);
    DataToControls();
}

void CExportDialog::reject() {
    if (busy_) {
        writer_.TryToStop();
        return;
    }
    QDialog::reject();
}

void CExportDialog::ShowAbout() {
    unsigned nameId = kind_ == Kind::Dxf   ? IDS_TITLE_DXF
                      : kind_ == Kind::Mif ? IDS_TITLE_MIF
                      : kind_ == Kind::Shp ? IDS_TITLE_SHP
                                           : IDS_TITLE_UE;
    UiServices().Message(this, Tr(IDS_ABOUT_TEXT).replace("%s", Tr(nameId)), IUiServices::Icon::Information);
}

std::unique_ptr<QMenu> CExportDialog::CreateAboutMenu() {
    unsigned aboutId = kind_ == Kind::Dxf   ? IDS_ABOUT_DXF
                       : kind_ == Kind::Mif ? IDS_ABOUT_MIF
                       : kind_ == Kind::Shp ? IDS_ABOUT_SHP
                                            : IDS_ABOUT_UE;
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(Tr(aboutId), this, &CExportDialog::ShowAbout);
    return menu;
}

// The desktop may offer no system menu: the About item lives in the dialog's
// own context menu and on F1.
void CExportDialog::contextMenuEvent(QContextMenuEvent* event) { CreateAboutMenu()->exec(event->globalPos()); }

void CExportDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        ShowAbout();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tvk
