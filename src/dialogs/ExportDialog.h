// What the four export dialogs share: the writer they own, the reading and
// export workers with their completion handling, the busy flag, the progress
// bar and status text driven by the writer's progress callbacks, Close that
// stops running work, and the About item.
#pragma once
#include <QCursor>
#include <QDialog>
#include <QPointer>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class QLabel;
class QMenu;
class QProgressBar;

namespace tvk {

class CWriter;

class CExportDialog : public QDialog {
    Q_OBJECT
public:
    // One dialog of each kind exists at a time; the kind selects the
    // module-wide progress state and the texts.
    enum class Kind { Dxf = 0, Mif = 1, Shp = 2, Universal = 3 };

    CExportDialog(CWriter& writer, Kind kind, QWidget* parent);
    ~CExportDialog() override;

    // Stores the exchange-file path (a null path leaves it empty).
    void SetFilePath(const char* path);
    const std::string& FilePath() const { return filePath_; }
    bool IsBusy() const { return busy_; }
    bool IsReadComplete() const;
    // Starts the reading worker.
    void ReadTLX();
    QProgressBar* ProgressBar() const { return progress_; }
    QLabel* StatusText() const { return status_; }
    // Close, Escape and the window's close: closes when idle, otherwise only
    // asks the running work to stop (its completion then closes the dialog).
    void reject() override;
    // The dialog's own context menu: the About item.
    std::unique_ptr<QMenu> CreateAboutMenu();

signals:
    // Emitted after the completion handlers ran (tests wait for them).
    void ReadCompleted();
    void ExportCompleted();

protected:
    // Dialog-specific set-up, run once before the dialog is first shown.
    virtual void OnInitDialog() {}
    // Exchange data towards the controls (fills the lists) and back.
    virtual void DataToControls() = 0;
    virtual void DataFromControls() = 0;
    // Enables or disables the controls by the busy flag.
    virtual void ChangeVisibility() = 0;
    // Handlers of the two completion messages.
    virtual void OnReadcomplete();
    virtual void OnExportcomplete() { OnReadcomplete(); }
    // The export worker's call: Export(target, log) of the writer; the text
    // dialog replaces it to attach its file output.
    virtual void RunExport(const std::string& target);
    // The reading worker sets the read-complete flag itself, except in the
    // universal dialog, whose handler does.
    virtual bool WorkerMarksReadComplete() const { return true; }
    void SetReadComplete(bool complete);

    // Sets busy and starts the export worker with `target`.
    void StartExport(const std::string& target);
    void SetBusy(bool busy);
    // Stops running work and waits for its completion; derived destructors
    // call it first, while their handlers still exist.
    void StopAndWait();
    void ShowAbout();
    // Adds the progress bar and status text to the bottom of `layout`'s owner.
    QWidget* CreateProgressRow();
    // Progress callbacks do nothing while this is set (the live preview).
    void SetProgressMuted(bool muted);

    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    CWriter& writer_;
    Kind kind_;
    std::string filePath_;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;

private:
    void RunWorker(bool reading, std::string target);
    void JoinWorker();
    // The message `textId`, followed by `more` when it is not empty.
    void ShowFromWorker(unsigned textId, int icon, const QString& more = QString());
    // The changes the last export made to fit its format, as lines after an
    // empty one; empty when there are none.
    QString ChangesText() const;
    void ShowWaitCursor(bool wait);
    friend struct ProgressRelay;

    bool busy_ = false;
    bool initialised_ = false;
    // Controls whose own cursor gave way to the wait cursor.
    std::vector<std::pair<QPointer<QWidget>, QCursor>> ownCursors_;
    std::thread worker_;
};

}  // namespace tvk
