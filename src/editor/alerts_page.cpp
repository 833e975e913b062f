#include "editor/alerts_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "editor/controls.h"
#include "editor/dialogs/alert_length_dialog.h"
#include "editor/main_window.h"
#include "editor/slider/slider_control.h"
#include "support/texts.h"

namespace zr730 {

namespace {

QString s(std::string_view v) { return QString::fromUtf8(v.data(), int(v.size())); }

// The caption of the contrast slider, which also announces the number beside it.
constexpr auto kContrastCaption = "Screen Contrast";

template <std::size_t N> QStringList entries(const std::array<std::string_view, N> &table)
{
    QStringList l;
    for (auto e : table) l << s(e);
    return l;
}

// A label and its list side by side; the label announces the list.
QComboBox *labelledList(QWidget *parent, const QString &labelName, const QString &caption, const QString &listName,
                        const QStringList &items, QPoint at, int labelWidth, int listWidth)
{
    QLabel *l = makeLabel(parent, labelName, caption, {at.x(), at.y(), labelWidth, layout::kRow});
    QComboBox *c = makeCombo(parent, listName, items, {at.x() + labelWidth, at.y() + 1, listWidth, layout::kListHeight},
                             caption);
    l->setBuddy(c);
    return c;
}

// Summary and caption labels of the alert-length frame.
QLabel *panelLabel(QWidget *parent, const QString &name, const QString &text, QRect r, bool sunken)
{
    QLabel *l = makeLabel(parent, name, text, r);
    l->setAlignment(Qt::AlignCenter);
    if (sunken) {
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setAutoFillBackground(true);
        l->setBackgroundRole(QPalette::Base);
    }
    return l;
}

} // namespace

AlertsPage::AlertsPage(ProgramState &state, MainWindow &main) : QObject(nullptr), m_state(state), m_main(main) {}

// ---- building ---------------------------------------------------------------------------

void AlertsPage::buildAlertLengthFrame(QWidget *frame)
{
    cmdAlert = makeButton(frame, "cmdAlert", "Msg  Alert\nLength Set", {16, 24, 110, 56});
    cmdAlert->setAccessibleName(QStringLiteral("Msg Alert Length Set"));
    connect(cmdAlert, &QPushButton::clicked, this, [this] { editAlertLengths(); });
    for (int i = 0; i < 6; ++i) {
        const int x = 160 + 76 * i;
        const QString caption = i == 0 ? QStringLiteral("P") : QStringLiteral("M%1").arg(i);
        const QString tip = i == 0 ? QStringLiteral("Personal Alert Selection")
                                   : QStringLiteral("Mail Drop %1 Alert Selection").arg(i);
        QLabel *head = panelLabel(frame, i == 0 ? QStringLiteral("lblPersonal") : indexed("lblMail", i - 1), caption,
                                  {x, 24, 60, 22}, false);
        head->setToolTip(tip);
        if (i == 0)
            lblPersonal = head;
        else
            lblMail[std::size_t(i - 1)] = head;
        lblLength[std::size_t(i)] = panelLabel(frame, indexed("lblLength", i), QStringLiteral("00"), {x, 50, 60, 28}, true);
        lblLength[std::size_t(i)]->setToolTip(tip);
        show_readout(lblLength[std::size_t(i)], caption, lblLength[std::size_t(i)]->text());
    }
}

void AlertsPage::buildStatusControls(QWidget *alertsFrame, QWidget *menuFrame, QWidget *manualFrame)
{
    using namespace layout;
    // Timers below the list column of the generic options.
    cboORC = labelledList(alertsFrame, "lblORC", "Out-of Service", "cboORC", entries(kOutOfRangeEntries), {490, 114},
                          190, 140);
    alertsFrame->findChild<QLabel *>("lblORC")->setToolTip(QStringLiteral(
        "When out of range for the time selected, the Out-of-Range indicator displays on the pager LCD."));
    cboSLC = labelledList(alertsFrame, "lblSLC", "Sequential Lockout Control", "cboSLC", entries(kLockoutEntries),
                          {490, 144}, 190, 140);
    alertsFrame->findChild<QLabel *>("lblSLC")->setToolTip(
        QStringLiteral("The pager ignores duplicate transmissions that occur within the selected time period."));

    // Battery gauge: high on top, low at the bottom.
    QStringList levels;
    for (const Choice &c : kBatteryLevels) levels << s(c.entry);
    static const char *const kLevelNames[kBatteryListCount] = {"Low", "Med", "High"};
    for (int i = kBatteryListCount - 1; i >= 0; --i) {
        const int y = 158 + 28 * (kBatteryListCount - 1 - i);
        QComboBox *list = labelledList(alertsFrame, indexed("lblBatLev", i),
                                       QStringLiteral("Battery Gauge Level-%1").arg(QLatin1String(kLevelNames[i])),
                                       indexed("cboBatLev", i), {}, {16, y}, 190, 90);
        for (const Choice &c : kBatteryLevels) list->addItem(s(c.entry), c.value);
        list->setCurrentIndex(-1);
        cboBatLev[std::size_t(i)] = list;
        connect(list, &QComboBox::currentIndexChanged, this, [this, i] { onBatteryLevelChosen(i); });
    }

    // Screen contrast.
    QLabel *contrastLabel = makeLabel(alertsFrame, "lblScreenContrast", kContrastCaption, {490, 186, 120, kRow});
    contrastLabel->setToolTip(QStringLiteral("Screen contrast level."));
    Slider1 = new SliderControl(alertsFrame);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setGeometry(610, 186, 120, kRow);
    Slider1->setAccessibleName(contrastLabel->text());
    Slider1->setToolTip(contrastLabel->toolTip());
    PropertyBag design;
    design.writeProperty("Min", kContrastMin, SliderControl::kDefaultMin);
    design.writeProperty("Max", kContrastMax, SliderControl::kDefaultMax);
    design.writeProperty("Value", kContrastMax, SliderControl::kDefaultValue);
    design.writeProperty("SliderWidth", 150, SliderControl::kDefaultSliderWidth);
    Slider1->readProperties(design);
    lblValue = makeLabel(alertsFrame, "lblValue", QString(), {738, 186, 24, kRow});
    lblValue->setAlignment(Qt::AlignCenter);
    showContrastValue();
    lblContrast = makeLabel(alertsFrame, "lblContrast", "Screen", {766, 186, 60, kRow});
    QFont bold = lblContrast->font();
    bold.setBold(true);
    lblContrast->setFont(bold);
    connect(Slider1, &SliderControl::changed, this, [this] { onContrastChanged(); });

    connect(cboORC, &QComboBox::currentIndexChanged, this, [this] { onOutOfRangeTimeChosen(); });
    connect(cboSLC, &QComboBox::currentIndexChanged, this, [this] { onSequentialLockoutChosen(); });

    // Menu of the pager: a checked box disables the item; the tone list sits beside "Set Alert Disable".
    static const int kColumns[4] = {16, 320, 520, 720};
    for (int i = 0; i < kMenuItemCount; ++i) {
        const int x = kColumns[i < 4 ? i : i - 4], y = i < 4 ? 24 : 56;
        chkMenu[std::size_t(i)]
            = makeCheck(menuFrame, indexed("chkMenu", i), s(kMenuItems[std::size_t(i)].entry), {x, y, 180, kRow});
        connect(chkMenu[std::size_t(i)], &QCheckBox::toggled, this, [this, i] { onMenuItemToggled(i); });
    }
    chkMenu[0]->resize(150, kRow);
    QStringList tones;
    for (const Choice &c : kTones) tones << s(c.entry);
    cboTone = makeCombo(menuFrame, "cboTone", tones, {170, 25, 110, kListHeight}, QStringLiteral("Alert Tone"));
    cboTone->hide();
    // The list stands beside "Set Alert Disable" without a caption of its own on screen.
    unseenCaption(cboTone, QStringLiteral("lblTone"), cboTone->accessibleName());
    connect(cboTone, &QComboBox::currentIndexChanged, this, [this] { onToneChosen(); });

    // Password, in the "Manual Write" frame.
    QLabel *passLabel = makeLabel(manualFrame, "lblPass", "Password of Pager(4 Dec)", {590, 22, 180, kRow});
    const QString passTip = QStringLiteral("The password may be required for writed or manual writed.");
    passLabel->setToolTip(passTip);
    txtPass = makeEdit(manualFrame, "txtPass", {770, 22, 64, kRow}, passLabel->text(), 0);
    txtPass->setToolTip(passTip);
    txtPass->setText(QStringLiteral("5802"));
    passLabel->setBuddy(txtPass);
    txtPass->installEventFilter(this);
}

// ---- decoding ---------------------------------------------------------------------------

void AlertsPage::show_lockout() { cboSLC->setCurrentIndex(timer_index(m_state.image, kSequentialLockout)); }

void AlertsPage::show_out_of_range() { cboORC->setCurrentIndex(timer_index(m_state.image, kOutOfRange)); }

void AlertsPage::show_contrast()
{
    const int c = m_state.image[kAddrContrast];
    Slider1->setValue(c); // clamps, and its changed() stores the clamped value
    setContrastGrey(contrast_grey_after_load(c));
    showContrastValue();
}

void AlertsPage::show_menu_and_tone()
{
    m_state.controls_loading = true;
    const auto disabled = menu_disabled(m_state.image);
    for (int i = 0; i < kMenuItemCount; ++i) chkMenu[std::size_t(i)]->setChecked(disabled[std::size_t(i)]);
    cboTone->setVisible(chkMenu[0]->isChecked());
    cboTone->setCurrentIndex(tone_index(m_state.image[kAddrTone]));
    m_state.controls_loading = false;
}

void AlertsPage::read_pass() { txtPass->setText(QString::fromStdString(password_text(m_state.image))); }

void AlertsPage::read_BatLev()
{
    // A level without an entry shows no selection and keeps its byte.
    for (int i = 0; i < kBatteryListCount; ++i)
        cboBatLev[std::size_t(i)]->setCurrentIndex(battery_index(m_state.image, i).value_or(-1));
}

void AlertsPage::read_Alert()
{
    for (int slot = 0; slot < 6; ++slot)
        if (const auto caption = alert_summary(m_state.image, slot))
            show_readout(lblLength[std::size_t(slot)], slot == 0 ? lblPersonal->text() : lblMail[std::size_t(slot - 1)]->text(),
                         s(*caption));
}

// ---- handlers ---------------------------------------------------------------------------

void AlertsPage::editAlertLengths()
{
    AlertLengthDialog dialog(m_state, *this, &m_main);
    dialog.exec();
}

void AlertsPage::personal_alert_changed()
{
    read_Alert();
    // The "Manual Alert Override" box shows the continuous flag; redrawing it must not run its
    // own tie to the alert length.
    QCheckBox *box = m_main.chkCtl[17];
    const QSignalBlocker block(box);
    box->setChecked(m_state.image.field_get(kAddrContinuousFlag, kBitContinuousFlag, 1) != 0);
}

void AlertsPage::onBatteryLevelChosen(int i)
{
    const int sel = cboBatLev[std::size_t(i)]->currentIndex();
    if (sel < 0) return;
    set_battery_level(m_state.image, i, sel);
    // The value stays written, so the user can go on and correct the other lists.
    if (!battery_levels_in_order(m_state.image))
        m_state.messages.show(QString::fromUtf8(text::kBatteryOrder), MsgIcon::Critical);
}

void AlertsPage::onOutOfRangeTimeChosen()
{
    if (cboORC->currentIndex() >= 0) set_timer(m_state.image, kOutOfRange, cboORC->currentIndex());
}

void AlertsPage::onSequentialLockoutChosen()
{
    if (cboSLC->currentIndex() >= 0) set_timer(m_state.image, kSequentialLockout, cboSLC->currentIndex());
}

void AlertsPage::onToneChosen()
{
    if (cboTone->currentIndex() >= 0) set_tone(m_state.image, cboTone->currentIndex());
}

void AlertsPage::onMenuItemToggled(int)
{
    if (m_state.controls_loading) return;
    std::array<bool, kMenuItemCount> disabled{};
    for (int k = 0; k < kMenuItemCount; ++k) disabled[std::size_t(k)] = chkMenu[std::size_t(k)]->isChecked();
    set_menu_list(m_state.image, disabled);
    cboTone->setVisible(chkMenu[0]->isChecked());
}

void AlertsPage::onContrastChanged()
{
    const int v = Slider1->value();
    m_state.image[kAddrContrast] = static_cast<std::uint8_t>(v);
    setContrastGrey(contrast_grey_after_move(v));
    showContrastValue();
    // Show the new grey and number while the thumb is still being dragged.
    lblContrast->repaint();
    lblValue->repaint();
}

void AlertsPage::showContrastValue()
{
    show_readout(lblValue, QString::fromLatin1(kContrastCaption), QString::number(Slider1->value()));
}

void AlertsPage::setContrastGrey(int grey)
{
    QPalette pal = lblContrast->palette();
    pal.setColor(QPalette::WindowText, QColor(grey, grey, grey));
    lblContrast->setPalette(pal);
}

// ---- password box -----------------------------------------------------------------------

bool AlertsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != txtPass || !is_edit_focus_change(event)) return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        txtPass->clear();
        return false;
    case QEvent::FocusOut:
        read_pass();
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            m_main.picTabBack->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return false;
    }
    case QEvent::KeyRelease:
        onPasswordKeyUp();
        return false;
    default:
        return false;
    }
}

void AlertsPage::onPasswordKeyUp()
{
    const QString t = txtPass->text();
    const std::string digits = t.toStdString();
    const PasswordEntry check = check_password_entry(digits);
    if (check == PasswordEntry::Empty) return;
    if (check == PasswordEntry::Valid) {
        set_password(m_state.image, digits);
        return;
    }
    m_state.messages.show(QString::fromUtf8(check == PasswordEntry::NotNumeric ? text::kInsertDecimalNumeric
                                                                              : text::kPasswordRange),
                          MsgIcon::Warning);
    read_pass();
    txtPass->setFocus(Qt::OtherFocusReason);
}

} // namespace zr730
