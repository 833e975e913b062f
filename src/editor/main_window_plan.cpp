// Pager ▸ "Program from Plan…": a capcode plan's rows written one pager each through Pager ▸
// Write's own path, each recorded in the ledger with the plan's name and row.
#include "editor/main_window.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QScreen>
#include <QScopedValueRollback>
#include <QTimer>

#include "editor/dialogs/plan_dialog.h"
#include "image/capcodes.h"
#include "ledger/ledger.h"
#include "plan/capcode_plan.h"
#include "plan/plan_labels.h"
#include "support/program_paths.h"
#include "support/texts.h"
#include "transfer/ledger_recorder.h"
#include "transfer/pager_link.h"

namespace zr730 {

namespace {

QString problem_lines(const QList<PlanProblem> &problems)
{
    QStringList lines;
    for (const PlanProblem &p : problems) lines << plan_problem_text(p);
    return lines.join(QLatin1Char('\n'));
}

// The screen's configuration with the plan's capcode records as they were when it was opened,
// so a row that leaves a record empty gets the base configuration's, not the previous row's.
PagerImage with_base_records(const PagerImage &screen, const PagerImage &base, const CapcodePlan &plan)
{
    PagerImage image = screen;
    for (int i : plan.capcodeSlots())
        for (int a = kCapcodeBase + 3 * i; a < kCapcodeBase + 3 * i + 3; ++a) image[a] = base[a];
    return image;
}

} // namespace

PlanDialog *MainWindow::planDialog() const { return m_planDialog; }

void MainWindow::programFromPlan()
{
    if (!m_state.files || inputHeld()) return;
    const QString path = m_state.files->openFile(user_file_folder(m_state), QString::fromLatin1(text::kPlanFilter));
    if (path.isEmpty() || m_closing) return;
    CapcodePlan plan = read_capcode_plan(path);
    if (!plan.ok()) {
        m_state.messages.showDetailed(
            QString::fromUtf8(text::kPlanHasProblems).arg(plan.name).arg(plan.problems.size()),
            problem_lines(plan.problems), MsgIcon::Warning);
        return;
    }
    const QList<PlanProblem> written = check_plan_against_ledger(plan, ledger());
    if (!written.isEmpty()
        && m_state.messages.showDetailed(QString::fromUtf8(text::kPlanCapcodesWritten).arg(written.size()),
                                         problem_lines(written), MsgIcon::Question, MsgButtons::YesNo)
               != MsgAnswer::Yes)
        return;
    if (m_closing) return;
    // Which rows are done is the ledger's to say: without all of it, rows written elsewhere
    // would be offered again.
    if (const PlanProgress progress = plan_progress(plan, ledger()); progress.reach != LedgerReach::Whole
        && m_state.messages.showDetailed(QString::fromUtf8(text::kPlanLedgerPartial), progress.problem, MsgIcon::Question,
                                         MsgButtons::YesNo)
               != MsgAnswer::Yes)
        return;
    if (m_closing) return;

    // One plan at a time: a plan open before gives its capcodes back first.
    closePlan();
    m_planBase = m_state.image;
    auto *dialog = new PlanDialog(std::move(plan), this);
    m_planDialog = dialog;
    connect(dialog, &PlanDialog::writeRequested, this, &MainWindow::writePlanRow);
    connect(dialog, &PlanDialog::labelsRequested, this, &MainWindow::savePlanLabels);
    connect(dialog, &QDialog::finished, this, [this, dialog] {
        if (m_planDialog == dialog) closePlan();
    });
    refreshPlan();
    dialog->show();
    placePlanDialog(dialog);
}

void MainWindow::placePlanDialog(QWidget *dialog)
{
    // Below the capcodes, which follow the rows, rather than over them; inside the screen.
    const QPoint below = optAuto1->mapToGlobal(QPoint(0, optAuto1->height() + 12));
    QRect r(QPoint(mapToGlobal(QPoint(0, 0)).x() + (width() - dialog->frameGeometry().width()) / 2, below.y()),
            dialog->frameGeometry().size());
    if (const QScreen *screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        r.moveBottom(qMin(r.bottom(), room.bottom()));
        r.moveRight(qMin(r.right(), room.right()));
        r.moveTopLeft(QPoint(qMax(r.left(), room.left()), qMax(r.top(), room.top())));
    }
    dialog->move(r.topLeft());
}

void MainWindow::refreshPlan()
{
    PlanDialog *dialog = m_planDialog;
    if (!dialog) return;
    const PlanProgress progress = plan_progress(dialog->plan(), ledger());
    dialog->showProgress(progress);
    // The capcodes on screen are the next row's: what the user sees is what goes into the pager.
    if (const PlanRow *row = dialog->plan().row(dialog->nextRow())) {
        m_state.image = apply_plan_row(with_base_records(m_state.image, m_planBase, dialog->plan()), *row);
        init_ctl();
    }
}

void MainWindow::planBaseReplaced()
{
    if (!m_planDialog) return;
    m_planBase = m_state.image;
    refreshPlan();
}

void MainWindow::closePlan()
{
    PlanDialog *dialog = m_planDialog;
    if (!dialog) return;
    m_planDialog = nullptr;
    // The capcodes on screen are those from before the plan again, so a later Pager ▸ Write
    // cannot put the last row's capcode #1 into a second pager.
    if (!m_closing) {
        m_state.image = with_base_records(m_state.image, m_planBase, dialog->plan());
        init_ctl();
    }
    dialog->hide();
    dialog->deleteLater();
}

void MainWindow::writePlanRow()
{
    if (!m_planDialog || m_closing || m_pagerCommandRunning || inputHeld()) return;
    // While the board watch asks an adapter for a board, the write waits for it (a later turn).
    if (PagerLink *link = transferLink(); link && link->busy()) {
        if (!m_planWriteDeferred) {
            m_planWriteDeferred = true;
            QTimer::singleShot(50, this, [this] {
                m_planWriteDeferred = false;
                writePlanRow();
            });
        }
        return;
    }
    {
        // An edit in progress is committed before the row's capcodes are put on screen. A second
        // Space meanwhile finds a command being prepared and is ignored, as for Pager ▸ Write;
        // otherwise it would write this row and this call the next one into the same pager.
        const QScopedValueRollback preparing(m_pagerCommandRunning, true);
        commitFocus();
        QCoreApplication::processEvents();
    }
    if (m_state.frequency_rejected) {
        m_state.frequency_rejected = false;
        return;
    }
    PlanDialog *dialog = m_planDialog;
    if (!dialog || m_closing) return;
    // Taken before the write's event loops: the dialog may not outlive them.
    const CapcodePlan plan = dialog->plan();
    const PlanRow *row = plan.row(dialog->nextRow());
    if (!row) {
        m_state.messages.show(QString::fromUtf8(text::kPlanAllWritten).arg(plan.name), MsgIcon::Information);
        return;
    }
    m_state.image = apply_plan_row(with_base_records(m_state.image, m_planBase, plan), *row);
    init_ctl();

    LedgerRecorder *recorder = ledgerRecorder();
    recorder->setPlanRow(plan.name, row->number, row->label);
    dialog->setClosable(false);
    {
        // The plan gives each pager its capcodes: no series increment on top.
        const QScopedValueRollback first(m_state.auto_increase_1st, false);
        const QScopedValueRollback second(m_state.auto_increase_2nd, false);
        run_pager_command(1);
    }
    recorder->setPlanRow(QString(), 0, QString());
    if (m_closing || m_state.program_ending) return;
    if (m_planDialog) m_planDialog->setClosable(true);
    if (const auto &taken = recorder->rowTaken())
        m_state.messages.show(QString::fromUtf8(text::kPlanRowTaken)
                                  .arg(row->number)
                                  .arg(taken->outcome == LedgerOutcome::Writing ? plan_row_state_text(PlanRowState::Writing)
                                                                                 : plan_row_state_text(PlanRowState::Written),
                                       taken->station),
                              MsgIcon::Information);
    if (m_closing) return;
    refreshPlan();
}

void MainWindow::savePlanLabels()
{
    PlanDialog *dialog = m_planDialog;
    if (!dialog || !m_state.files || inputHeld()) return;
    const CapcodePlan plan = dialog->plan();
    const QList<int> rows = dialog->selectedRows();
    const LabelPage page = dialog->labelPage();
    QString path = m_state.files->saveFile(user_file_folder(m_state), QString::fromLatin1(text::kPdfFilter));
    if (path.isEmpty() || m_closing) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    if (QFileInfo::exists(path)
        && m_state.messages.show(QString::fromLatin1(text::kOverwriteFile), MsgIcon::None, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    if (const QString problem = write_label_sheet(plan, rows, page, path); !problem.isEmpty()) {
        m_state.messages.show(QString::fromUtf8(text::kLabelsFailed).arg(problem), MsgIcon::Warning);
        return;
    }
    m_state.messages.show(QString::fromUtf8(text::kLabelsWritten).arg(rows.isEmpty() ? plan.rows.size() : rows.size()).arg(path),
                          MsgIcon::Information);
}

} // namespace zr730
