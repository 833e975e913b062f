#include "editor/dialogs/transfer_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "editor/controls.h"
#include "support/texts.h"

namespace zr730 {

namespace {

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, const QString &accessible)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAccessibleName(accessible);
    label->setProperty("idleName", accessible); // the name while the label shows nothing
    return label;
}

// A label whose current text is also what a screen reader announces.
void show_text(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setAccessibleName(text.trimmed().isEmpty() ? label->property("idleName").toString() : text.trimmed());
}

} // namespace

TransferDialog::TransferDialog(ProgramState &state, PagerLink *link, TransferHost &host, QWidget *parent, ParallelPortLink *lpt)
    : QDialog(parent), m_state(state), m_link(link), m_procedures(state, link, host, this, lpt)
{
    setObjectName(QStringLiteral("Form2"));
    // A title of its own, so screen readers name the window (the big caption says the same).
    setWindowTitle(QString::fromLatin1(text::kPagerProgram));
    setModal(true);

    Label2 = makeLabel(this, "Label2", QString::fromLatin1(text::kPagerProgram), QString::fromLatin1(text::kPagerProgram));
    QFont big = Label2->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    Label2->setFont(big);
    Label2->setAlignment(Qt::AlignCenter);
    Label1 = makeLabel(this, "Label1", QString(), QStringLiteral("Status"));
    lblAuto1 = makeLabel(this, "lblAuto1", QString::fromLatin1(text::kAuto1st), QStringLiteral("1st capcode"));
    lblAuto2 = makeLabel(this, "lblAuto2", QString::fromLatin1(text::kAuto2nd), QStringLiteral("2nd capcode"));
    PB1 = new QProgressBar(this);
    PB1->setObjectName(QStringLiteral("PB1"));
    PB1->setAccessibleName(QStringLiteral("Progress"));
    PB1->setRange(0, 100);
    PB1->setValue(0);
    PB1->setTextVisible(false);
    cmdWrite = makeDialogButton(this, "cmdWrite", QStringLiteral("Write"));
    cmdExit = makeDialogButton(this, "cmdExit", QStringLiteral("Exit"));
    cmdWrite->setEnabled(false);
    cmdExit->setEnabled(false);
    // The capcode labels belong to series programming only.
    lblAuto1->hide();
    lblAuto2->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdWrite);
    buttons->addWidget(cmdExit);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(Label1);
    layout->addWidget(lblAuto1);
    layout->addWidget(lblAuto2);
    layout->addWidget(PB1);
    layout->addLayout(buttons);
    setMinimumWidth(360);

    connect(cmdWrite, &QPushButton::clicked, this, &TransferDialog::writeNextPager);
    connect(cmdExit, &QPushButton::clicked, this, &TransferDialog::exitDialog);

    if (m_link) m_link->setProgress(this);
}

TransferDialog::~TransferDialog()
{
    if (m_link) m_link->setProgress(nullptr);
}

void TransferDialog::showModal()
{
    QTimer::singleShot(0, this, &TransferDialog::startTransfer);
    if (!m_unloaded) exec();
}

void TransferDialog::startTransfer()
{
    if (m_activated || m_unloaded) return;
    if (linkBusy()) {
        QTimer::singleShot(50, this, &TransferDialog::startTransfer);
        return;
    }
    m_activated = true;
    m_busy = true;
    // The parallel-port board is looked for before every transfer.
    if (!m_procedures.probe_board()) {
        m_busy = false;
        unload();
        return;
    }

    switch (m_state.transfer_mode) {
    case 0:
        m_procedures.read_pager();
        break;
    case 2:
        m_procedures.tbl_verify(0, kImageLastIndex);
        break;
    case 1:
        if (!m_procedures.writeAllowed()) break;
        lblAuto1->setVisible(m_state.auto_increase_1st);
        lblAuto2->setVisible(m_state.auto_increase_2nd);
        if (!m_state.auto_increase_1st && !m_state.auto_increase_2nd) {
            m_procedures.write_and_verify();
            break;
        }
        // Series programming: each press of Write programs one pager.
        m_busy = false;
        setIdle(true);
        return;
    default:
        break;
    }
    m_busy = false;
    unload();
}

void TransferDialog::writeNextPager()
{
    if (m_busy || m_unloaded) return;
    if (linkBusy()) {
        if (!m_writeDeferred)
            QTimer::singleShot(50, this, [this] {
                m_writeDeferred = false;
                writeNextPager();
            });
        m_writeDeferred = true;
        return;
    }
    m_busy = true;
    setIdle(false);
    show_text(lblAuto1, QString::fromLatin1(text::kAuto1st) + m_procedures.capcodeText(0));
    show_text(lblAuto2, QString::fromLatin1(text::kAuto2nd) + m_procedures.capcodeText(1));
    m_procedures.write_one_pager();
    m_busy = false;
    setIdle(true);
    setPosition(0);
    setStatus(QString());
}

void TransferDialog::exitDialog()
{
    if (m_busy) return;
    unload();
}

void TransferDialog::unload()
{
    m_unloaded = true;
    setIdle(false);
    if (isVisible()) done(QDialog::Rejected);
}

void TransferDialog::setIdle(bool idle)
{
    cmdWrite->setEnabled(idle);
    cmdExit->setEnabled(idle);
}

void TransferDialog::reject()
{
    if (m_busy) return;
    m_unloaded = true;
    QDialog::reject();
}

void TransferDialog::closeEvent(QCloseEvent *event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    m_unloaded = true;
    QDialog::closeEvent(event);
}

void TransferDialog::setMaximum(int maximum) { PB1->setMaximum(std::max(maximum, PB1->minimum())); }

void TransferDialog::setPosition(int position)
{
    // The bar ignores values outside its range; transfers run a little past the maximum.
    PB1->setValue(std::clamp(position, PB1->minimum(), PB1->maximum()));
}

void TransferDialog::useHighlightColour()
{
    QPalette palette = PB1->palette();
    palette.setColor(QPalette::Highlight, QApplication::palette().color(QPalette::Highlight));
    PB1->setPalette(palette);
}

void TransferDialog::useReadColour()
{
    QPalette palette = PB1->palette();
    palette.setColor(QPalette::Highlight, QColor(128, 0, 128));
    PB1->setPalette(palette);
}

void TransferDialog::setStatus(const QString &text) { show_text(Label1, text); }

void TransferDialog::letEventsRun() { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); }

} // namespace zr730
