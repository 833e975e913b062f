#include "editor/dialogs/function_bit_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "editor/controls.h"
#include "editor/main_window.h"

namespace zr730 {

namespace {
const QStringList kTypes{"Personal", "Mail Drop 1", "Mail Drop 2", "Mail Drop 3", "Mail Drop 4", "Mail Drop 5"};
const QStringList kDisplays{"Numeric", "PRC Num", "Alpha", "Ideo"};
QString funBit(int k) { return QStringLiteral("Fun. Bit %1").arg(QChar('A' + k)); }
} // namespace

FunctionBitDialog::FunctionBitDialog(ProgramState &state, MainWindow &main, QWidget *parent)
    : QDialog(parent), m_state(state), m_main(main), m_set(function_bit_set(state.func_set_index))
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Function Bit"));
    setFixedSize(560, 330);
    const int s = state.func_set_index;

    QLabel *l2 = makeLabel(this, "Label2", "Capcode   Function Bit", {20, 12, 180, 24});
    Label3 = makeLabel(this, "Label3", s == 3 ? QStringLiteral("#1") : QStringLiteral("#%1").arg(s + 2),
                       {200, 12, 40, 24});
    QLabel *l4 = makeLabel(this, "Label4", "Capcode Function Bit Setting", {260, 12, 260, 24});
    for (QLabel *l : {l2, Label3, l4}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }

    QGroupBox *type = makeFrame(this, "fraType", "Message Type", {12, 44, 260, 130});
    QGroupBox *disp = makeFrame(this, "fraDisp", "Message Display", {288, 44, 260, 130});
    QGroupBox *pri = makeFrame(this, "fraPri", "Priority Alert Control", {12, 182, 260, 96});
    QGroupBox *en = makeFrame(this, "fraEn", "Enable Control", {288, 182, 260, 96});
    for (int k = 0; k < 4; ++k) {
        const int y = 22 + 26 * k;
        QLabel *tl = makeLabel(type, indexed("lblTypeBit", k), funBit(k), {10, y, 80, 22});
        cboType[k] = makeCombo(type, indexed("cboType", k), kTypes, {90, y, 150, 22},
                               QStringLiteral("Message Type ") + funBit(k));
        tl->setBuddy(cboType[k]);
        QLabel *dl = makeLabel(disp, indexed("lblDispBit", k), funBit(k), {10, y, 80, 22});
        cboDisp[k] = makeCombo(disp, indexed("cboDisp", k), kDisplays, {90, y, 150, 22},
                               QStringLiteral("Message Display ") + funBit(k));
        dl->setBuddy(cboDisp[k]);
        const int cx = 10 + (k % 2) * 120, cy = 24 + (k / 2) * 30;
        chkPri[k] = makeCheck(pri, indexed("chkPri", k), funBit(k), {cx, cy, 110, 24},
                              QStringLiteral("Priority Alert Control ") + funBit(k));
        chkFunEn[k] = makeCheck(en, indexed("chkFunEn", k), funBit(k), {cx, cy, 110, 24},
                                QStringLiteral("Enable Control ") + funBit(k));
    }
    Command1 = makeButton(this, "Command1", "OK", {230, 290, 100, 28});
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    load();
    for (int k = 0; k < 4; ++k) {
        connect(cboType[k], &QComboBox::currentIndexChanged, this, [this, k] { onMessageTypeChosen(k); });
        connect(cboDisp[k], &QComboBox::currentIndexChanged, this, [this, k] { onDisplayChosen(k); });
        connect(chkPri[k], &QCheckBox::toggled, this, [this, k] { onPriorityToggled(k); });
        connect(chkFunEn[k], &QCheckBox::toggled, this, [this, k] { onFunctionEnableToggled(k); });
    }
}

void FunctionBitDialog::load()
{
    m_loading = true;
    const PagerImage &img = m_state.image;
    for (int k = 0; k < 4; ++k) {
        // Stored values without a list entry (type 1, 2, 255; display 4 …) show no selection.
        const int nib = display_nibble(img, m_set, k);
        cboDisp[k]->setCurrentIndex(nib < cboDisp[k]->count() ? nib : -1);
        const int t = img[m_set.typeAddress + k];
        cboType[k]->setCurrentIndex(t == 0 ? 0 : (t >= 3 && t <= 7 ? t - 2 : -1));
        chkFunEn[k]->setChecked(img.field_get(m_set.enableAddress, k, 1) != 0);
        chkPri[k]->setChecked(img.field_get(m_set.priorityAddress, 7 - k, 1) != 0);
    }
    m_loading = false;
}

void FunctionBitDialog::onDisplayChosen(int k)
{
    const int sel = cboDisp[k]->currentIndex();
    if (m_loading || sel < 0) return;
    set_display_nibble(m_state.image, m_set, k, sel);
    m_main.read_Disp();
}

void FunctionBitDialog::onMessageTypeChosen(int k)
{
    const int sel = cboType[k]->currentIndex();
    if (m_loading || sel < 0) return;
    m_state.image[m_set.typeAddress + k] = static_cast<std::uint8_t>(sel == 0 ? 0 : sel + 2);
    m_main.read_Type();
}

void FunctionBitDialog::onPriorityToggled(int k)
{
    m_state.image.field_set(m_set.priorityAddress, 7 - k, chkPri[k]->isChecked() ? 1 : 0, 1);
    m_main.read_Pri();
}

void FunctionBitDialog::onFunctionEnableToggled(int k)
{
    m_state.image.field_set(m_set.enableAddress, k, chkFunEn[k]->isChecked() ? 1 : 0, 1);
    m_main.read_FunEn();
}

void FunctionBitDialog::done(int result)
{
    m_main.refresh_enable_notes();
    QDialog::done(result);
}

void FunctionBitDialog::paintEvent(QPaintEvent *) { paint_dialog_background(this); }

} // namespace zr730
