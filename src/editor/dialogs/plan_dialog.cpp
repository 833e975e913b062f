#include "editor/dialogs/plan_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "editor/controls.h"
#include "image/capcodes.h"
#include "support/texts.h"

namespace zr730 {

namespace {

QString capcode_cell(const PlanRow &row, int slot)
{
    const auto &c = row.capcodes[std::size_t(slot)];
    const auto &on = row.enabled[std::size_t(slot)];
    QString text = c ? QString::fromStdString(capcode_text(*c)) : QString();
    if (on && !*on) text += text.isEmpty() ? QStringLiteral("off") : QStringLiteral(" off");
    return text;
}

} // namespace

PlanDialog::PlanDialog(CapcodePlan plan, QWidget *parent) : QDialog(parent), m_plan(std::move(plan))
{
    setObjectName(QStringLiteral("frmPlan"));
    setWindowTitle(QString::fromUtf8(text::kPlanWindowTitle).arg(m_plan.name));
    setModal(false);

    // The capcode columns the plan sets, so the list stays narrow for the usual one or two.
    m_columnSlots = m_plan.capcodeSlots();
    QStringList headers{QStringLiteral("Row"), QStringLiteral("Label")};
    for (int slot : m_columnSlots) headers << QStringLiteral("Capcode #%1").arg(slot + 1);
    m_stateColumn = int(headers.size());
    headers << QStringLiteral("State") << QStringLiteral("Station") << QStringLiteral("Time (UTC)");

    grdPlan = new QTableWidget(int(m_plan.rows.size()), int(headers.size()), this);
    grdPlan->setObjectName(QStringLiteral("grdPlan"));
    grdPlan->setAccessibleName(QStringLiteral("Plan rows"));
    grdPlan->setHorizontalHeaderLabels(headers);
    grdPlan->verticalHeader()->hide();
    grdPlan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdPlan->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPlan->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grdPlan->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < int(m_plan.rows.size()); ++i) {
        const PlanRow &r = m_plan.rows[i];
        auto set = [&](int column, const QString &text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
            auto *item = new QTableWidgetItem(text);
            item->setTextAlignment(align);
            grdPlan->setItem(i, column, item);
        };
        set(0, QString::number(r.number), Qt::AlignRight | Qt::AlignVCenter);
        set(1, r.label);
        for (int c = 0; c < int(m_columnSlots.size()); ++c)
            set(2 + c, capcode_cell(r, m_columnSlots[c]), Qt::AlignRight | Qt::AlignVCenter);
        for (int c = m_stateColumn; c < int(headers.size()); ++c) set(c, QString());
    }

    lblPlanNext = new QLabel(this);
    lblPlanNext->setObjectName(QStringLiteral("lblPlanNext"));
    QFont bold = lblPlanNext->font();
    bold.setBold(true);
    lblPlanNext->setFont(bold);
    lblPlanLedger = new QLabel(this);
    lblPlanLedger->setObjectName(QStringLiteral("lblPlanLedger"));
    lblPlanLedger->setWordWrap(true);
    lblPlanLedger->setStyleSheet(QStringLiteral("color: #b00000"));
    lblPlanLedger->hide();

    cmdPlanWrite = makeDialogButton(this, "cmdPlanWrite", QString::fromUtf8(text::kPlanWriteButton));
    lblLabelPage = new QLabel(QStringLiteral("Label sheet:"), this);
    lblLabelPage->setObjectName(QStringLiteral("lblLabelPage"));
    cboLabelPage = new QComboBox(this);
    cboLabelPage->setObjectName(QStringLiteral("cboLabelPage"));
    cboLabelPage->addItems({QStringLiteral("A4 (3 × 8)"), QStringLiteral("Letter (3 × 10)")});
    cboLabelPage->setCurrentIndex(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? 1 : 0);
    lblLabelPage->setBuddy(cboLabelPage);
    cboLabelPage->setAccessibleName(QStringLiteral("Label sheet"));
    cmdPlanLabels = makeDialogButton(this, "cmdPlanLabels", QString::fromUtf8(text::kPlanLabelsButton));
    cmdPlanLabels->setToolTip(QStringLiteral("Saves the labels of the selected rows (of every row when none is selected) as a PDF file"));
    cmdPlanClose = makeDialogButton(this, "cmdPlanClose", QStringLiteral("Close"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdPlanWrite);
    buttons->addStretch();
    buttons->addWidget(lblLabelPage);
    buttons->addWidget(cboLabelPage);
    buttons->addWidget(cmdPlanLabels);
    buttons->addSpacing(12);
    buttons->addWidget(cmdPlanClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblPlanNext);
    layout->addWidget(grdPlan, 1);
    layout->addWidget(lblPlanLedger);
    layout->addLayout(buttons);

    fitColumns();
    int width = 40;
    for (int c = 0; c < grdPlan->columnCount(); ++c) width += grdPlan->columnWidth(c);
    // Up to ten rows in sight: the window sits below the capcodes on the main window.
    const int rowsShown = qBound(3, int(m_plan.rows.size()), 10);
    const int tableHeight = grdPlan->horizontalHeader()->sizeHint().height() + rowsShown * grdPlan->verticalHeader()->defaultSectionSize() + 4;
    grdPlan->setMinimumHeight(tableHeight);
    resize(qBound(560, width, 1000), sizeHint().height());

    connect(cmdPlanWrite, &QPushButton::clicked, this, &PlanDialog::writeRequested);
    connect(cmdPlanLabels, &QPushButton::clicked, this, &PlanDialog::labelsRequested);
    connect(cmdPlanClose, &QPushButton::clicked, this, &PlanDialog::reject);
}

void PlanDialog::showProgress(const PlanProgress &progress)
{
    m_next = progress.next;
    const QColor nextColour = palette().color(QPalette::Highlight).lighter(170);
    for (int i = 0; i < int(m_plan.rows.size()) && i < int(progress.rows.size()); ++i) {
        const PlanRowProgress &s = progress.rows[i];
        const bool seen = !s.entry.uid.isEmpty();
        grdPlan->item(i, m_stateColumn)->setText(plan_row_state_text(s.state));
        grdPlan->item(i, m_stateColumn + 1)->setText(seen ? s.entry.station : QString());
        grdPlan->item(i, m_stateColumn + 2)->setText(
            seen ? s.entry.time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : QString());
        const bool next = m_plan.rows[i].number == m_next;
        for (int c = 0; c < grdPlan->columnCount(); ++c) {
            QTableWidgetItem *item = grdPlan->item(i, c);
            QFont f = item->font();
            f.setBold(next);
            item->setFont(f);
            item->setBackground(next ? QBrush(nextColour) : QBrush());
            item->setForeground(s.state == PlanRowState::Failed ? QBrush(QColor(0xb0, 0, 0)) : QBrush());
        }
        if (next) grdPlan->scrollToItem(grdPlan->item(i, 0));
    }
    fitColumns();
    const PlanRow *row = m_plan.row(m_next);
    if (row)
        lblPlanNext->setText(QString::fromUtf8(text::kPlanNextRow)
                                 .arg(row->number)
                                 .arg(row->label.isEmpty() ? QString() : QStringLiteral("\"%1\"").arg(row->label)).trimmed());
    else {
        bool allWritten = true;
        for (const PlanRowProgress &s : progress.rows) allWritten = allWritten && s.state == PlanRowState::Written;
        lblPlanNext->setText(allWritten ? QString::fromUtf8(text::kPlanAllWritten).arg(m_plan.name)
                                        : QString::fromUtf8(text::kPlanRowsBusy));
    }
    lblPlanNext->setAccessibleName(lblPlanNext->text());
    cmdPlanWrite->setEnabled(row != nullptr);
    lblPlanLedger->setText(progress.problem);
    lblPlanLedger->setVisible(!progress.problem.isEmpty());
}

void PlanDialog::fitColumns()
{
    // Wide enough for the bold next row and every state's text.
    QFont bold = grdPlan->font();
    bold.setBold(true);
    const QFontMetrics fm(bold);
    for (int c = 0; c < grdPlan->columnCount(); ++c) {
        int w = grdPlan->horizontalHeader()->sectionSizeHint(c);
        for (int i = 0; i < grdPlan->rowCount(); ++i) w = qMax(w, fm.horizontalAdvance(grdPlan->item(i, c)->text()) + 12);
        if (c == m_stateColumn) w = qMax(w, fm.horizontalAdvance(plan_row_state_text(PlanRowState::Written)) + 12);
        if (c == m_stateColumn + 2) w = qMax(w, fm.horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) + 12);
        grdPlan->setColumnWidth(c, w);
    }
}

QList<int> PlanDialog::selectedRows() const
{
    QList<int> rows;
    for (int i = 0; i < grdPlan->rowCount(); ++i)
        if (grdPlan->item(i, 0)->isSelected()) rows << m_plan.rows[i].number;
    return rows;
}

LabelPage PlanDialog::labelPage() const { return cboLabelPage->currentIndex() == 1 ? LabelPage::Letter : LabelPage::A4; }

void PlanDialog::reject()
{
    if (!m_closable) return;
    QDialog::reject();
}

} // namespace zr730
