#pragma once
// The transfer dialog: reads, writes or verifies the pager by the program's transfer mode,
// shows progress, and in series programming waits for its Write button between pagers.
#include <QDialog>

#include "support/program_state.h"
#include "transfer/transfer_procedures.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zr730 {

class TransferDialog : public QDialog, public TransferView {
    Q_OBJECT
public:
    // lpt: the parallel-port board of that edition (the serial edition passes none).
    TransferDialog(ProgramState &state, PagerLink *link, TransferHost &host, QWidget *parent = nullptr, ParallelPortLink *lpt = nullptr);
    ~TransferDialog() override;

    // Shows the dialog modally and does its work as soon as it is shown; returns when it unloads.
    void showModal();

    // The work of the dialog by transfer mode. Returns with the dialog unloaded, except in
    // series programming, where it stays open and idle for cmdWrite / cmdExit.
    void startTransfer();
    void writeNextPager();
    void exitDialog();

    // True once the dialog has unloaded itself (or was closed).
    bool unloaded() const { return m_unloaded; }
    bool busy() const { return m_busy; }

    // Where the dialog's writes and reads are recorded.
    void setRecorder(LedgerRecorder *recorder) { m_procedures.setRecorder(recorder); }

    // TransferView
    void setMaximum(int maximum) override;
    void setPosition(int position) override;
    void useHighlightColour() override;
    void setStatus(const QString &text) override;
    void useReadColour() override;
    void letEventsRun() override;

    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblAuto1 = nullptr;
    QLabel *lblAuto2 = nullptr;
    QProgressBar *PB1 = nullptr;
    QPushButton *cmdWrite = nullptr;
    QPushButton *cmdExit = nullptr;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void unload();
    void setIdle(bool idle);

    ProgramState &m_state;
    PagerLink *m_link;
    TransferProcedures m_procedures;
    // True while the link is in use elsewhere (the board watch probing); the work then
    // starts on a later turn of the event loop.
    bool linkBusy() const { return m_link && m_link->busy(); }

    bool m_busy = false;
    bool m_unloaded = false;
    bool m_activated = false;
    bool m_writeDeferred = false;
};

} // namespace zr730
