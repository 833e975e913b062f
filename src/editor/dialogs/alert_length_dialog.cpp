#include "editor/dialogs/alert_length_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "editor/alerts_page.h"
#include "editor/controls.h"

namespace zr730 {

namespace {
template <std::size_t N> QStringList entries(const std::array<Choice, N> &table)
{
    QStringList l;
    for (const Choice &c : table) l << QString::fromUtf8(c.entry.data(), int(c.entry.size()));
    return l;
}
} // namespace

AlertLengthDialog::AlertLengthDialog(ProgramState &state, AlertsPage &page, QWidget *parent)
    : QDialog(parent), m_state(state), m_page(page)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Personal and Mail Alert Control"));
    setFixedSize(360, 316);

    QGroupBox *personal = makeFrame(this, "fraPersonal", "Personal and Group Alert Length", {12, 10, 336, 60});
    QLabel *pl = makeLabel(personal, "lblPersonalLength", "Personal Alert Length", {14, 26, 170, 24});
    cboPersonal = makeCombo(personal, "cboPersonal", entries(kPersonalAlert), {190, 27, 130, 22}, pl->text());
    pl->setBuddy(cboPersonal);

    QGroupBox *mail = makeFrame(this, "fraMail", "Mail Drop Alert Length", {12, 78, 336, 184});
    for (int i = 0; i < kMailDropCount; ++i) {
        const int y = 26 + 30 * i;
        QLabel *l = makeLabel(mail, indexed("lblMailDrop", i), QStringLiteral("Mail Drop %1").arg(i + 1), {14, y, 170, 24});
        cboMailAler[std::size_t(i)] = makeCombo(mail, indexed("cboMailAler", i), entries(kMailAlert),
                                                {190, y + 1, 130, 22}, l->text());
        l->setBuddy(cboMailAler[std::size_t(i)]);
    }
    Command1 = makeButton(this, "Command1", "OK", {130, 274, 100, 30});
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    // Loading selects the lists as a user would, so each shown selection is stored again (and
    // the continuous flag comes into line with the personal alert length).
    connect(cboPersonal, &QComboBox::currentIndexChanged, this, [this] { onPersonalAlertChosen(); });
    for (int i = 0; i < kMailDropCount; ++i)
        connect(cboMailAler[std::size_t(i)], &QComboBox::currentIndexChanged, this, [this, i] { onMailDropAlertChosen(i); });
    cboPersonal->setCurrentIndex(personal_alert_index(m_state.image).value_or(-1));
    for (int i = 0; i < kMailDropCount; ++i)
        cboMailAler[std::size_t(i)]->setCurrentIndex(mail_alert_index(m_state.image, i).value_or(-1));
}

void AlertLengthDialog::onPersonalAlertChosen()
{
    if (cboPersonal->currentIndex() < 0) return;
    set_personal_alert(m_state.image, cboPersonal->currentIndex());
    m_page.personal_alert_changed();
}

void AlertLengthDialog::onMailDropAlertChosen(int i)
{
    const int sel = cboMailAler[std::size_t(i)]->currentIndex();
    if (sel < 0) return;
    set_mail_alert(m_state.image, i, sel);
    m_page.read_Alert();
}

void AlertLengthDialog::paintEvent(QPaintEvent *) { paint_dialog_background(this); }

} // namespace zr730
