#pragma once
// The window of a capcode plan being programmed (Pager ▸ "Program from Plan…"): its rows with
// their state from the ledger, the next row to write highlighted, the Write button, and the
// label sheet. It only shows and asks; the main window writes the pagers.
#include <QDialog>

#include "plan/capcode_plan.h"
#include "plan/plan_labels.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zr730 {

class PlanDialog : public QDialog {
    Q_OBJECT
public:
    explicit PlanDialog(CapcodePlan plan, QWidget *parent = nullptr);

    const CapcodePlan &plan() const { return m_plan; }
    // Shows each row's state; the row numbered progress.next is the one Write programs.
    void showProgress(const PlanProgress &progress);
    // The row Write programs (0: none is left here).
    int nextRow() const { return m_next; }
    // The rows selected in the list, by number, in plan order; none when nothing is selected.
    QList<int> selectedRows() const;
    LabelPage labelPage() const;
    // While false (a pager is being written), closing the window is refused.
    void setClosable(bool closable) { m_closable = closable; }

    QTableWidget *grdPlan = nullptr;
    QLabel *lblPlanNext = nullptr;
    QLabel *lblPlanLedger = nullptr;
    QPushButton *cmdPlanWrite = nullptr;
    QLabel *lblLabelPage = nullptr;
    QComboBox *cboLabelPage = nullptr;
    QPushButton *cmdPlanLabels = nullptr;
    QPushButton *cmdPlanClose = nullptr;

signals:
    void writeRequested();
    void labelsRequested();

public slots:
    void reject() override;

private:
    void fitColumns();

    CapcodePlan m_plan;
    QList<int> m_columnSlots; // capcode slot (0 … 5) of each capcode column
    int m_stateColumn = 0;
    int m_next = 0;
    bool m_closable = true;
};

} // namespace zr730
