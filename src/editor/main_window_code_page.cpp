// Page "Code and Features": band, frequency and synthesizer words; the six capcodes with their
// function-bit summaries; the auto-increase boxes.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <limits>
#include <optional>

#include "editor/alerts_page.h"
#include "editor/controls.h"
#include "editor/dialogs/function_bit_dialog.h"
#include "editor/main_window.h"
#include "image/capcodes.h"
#include "image/defaults.h"
#include "image/memory_map.h"
#include "image/pll.h"
#include "support/texts.h"

namespace zr730 {

namespace {

QString s(std::string_view v) { return QString::fromUtf8(v.data(), int(v.size())); }
QString q(const std::string &v) { return QString::fromStdString(v); }

QStringList entries_of(const char *control)
{
    QStringList l;
    for (auto e : map_entry(control)->entries) l << s(e);
    return l;
}

const char *const kOrdinals[6] = {"1st", "2nd", "3rd", "4th", "5th", "6th"};
const QStringList kMessageTypes{"Personal", "Mail Drop 1", "Mail Drop 2", "Mail Drop 3", "Mail Drop 4", "Mail Drop 5"};
const QStringList kSpacings130{"5KHz", "6.25KHz", "Auto"};
const QStringList kSpacings380{"10KHz", "12.5KHz", "Auto"};

// A number as the boxes accept it: decimal, optionally with sign, fraction or exponent.
std::optional<double> parse_number(const QString &text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

// A frequency entry must be a number that fits the 32-bit frequency word.
std::optional<double> parse_frequency(const QString &text)
{
    const auto v = parse_number(text);
    if (!v || std::fabs(*v) > double(std::numeric_limits<std::int32_t>::max())) return std::nullopt;
    return v;
}

// Rebuilds a spacing list without running its handler, leaving it with no selection.
void refill(QComboBox *list, const QStringList &entries)
{
    const QSignalBlocker block(list);
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(-1);
}

} // namespace

// ---- building the page ------------------------------------------------------------------

void MainWindow::buildCodePage(QWidget *page)
{
    using namespace layout;
    const int w = kPageWidth - 16;

    // Frequency
    QGroupBox *freq = makeFrame(page, "fraFrequency", "Frequency", {8, 6, w, 62});
    QLabel *bandLabel = makeLabel(freq, "lblBand", "Band", {12, 28, 40, kRow});
    QStringList bands;
    for (auto b : kBandEntries) bands << s(b);
    cboDft = makeCombo(freq, "cboDft", bands, {52, 29, 170, kListHeight}, "Band");
    bandLabel->setBuddy(cboDft);
    QLabel *freqLabel = makeLabel(freq, "lblFreq", "Frequency", {236, 28, 66, kRow});
    txtFreq = makeEdit(freq, "txtFreq", {302, 28, 88, kRow}, "Frequency", 8);
    freqLabel->setBuddy(txtFreq);
    const MapEntry *bw = map_entry("cboCtl(0)");
    QLabel *bwLabel = makeLabel(freq, "lblBandwidth", s(bw->label), {404, 28, 70, kRow});
    cboCtl[0] = makeCombo(freq, "cboCtl(0)", entries_of("cboCtl(0)"), {474, 29, 58, kListHeight}, s(bw->label));
    bwLabel->setBuddy(cboCtl[0]);
    const MapEntry *baud = map_entry("cboCtl(9)");
    QLabel *baudLabel = makeLabel(freq, "lblBaud", s(baud->label), {546, 28, 160, kRow});
    cboCtl[9] = makeCombo(freq, "cboCtl(9)", entries_of("cboCtl(9)"), {706, 29, 90, kListHeight}, s(baud->label));
    baudLabel->setBuddy(cboCtl[9]);

    Picture2 = new QWidget(freq);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(800, 14, 108, 44);
    Label21[1] = makeLabel(Picture2, "Label21(1)", "Channel", {2, 0, 54, 18});
    lblCHANNEL[1] = makeLabel(Picture2, "lblCHANNEL(1)", "", {56, 0, 52, 18});
    cboChannel[1] = makeCombo(Picture2, "cboChannel(1)", kSpacings130, {2, 20, 100, kListHeight}, "Channel");
    Combo1[1] = makeCombo(Picture2, "Combo1(1)", kSpacings130, {2, 20, 100, kListHeight}, "Channel");
    Picture2->hide();
    Combo1[1]->hide();
    // Each caption names the spacing list in front; the GP list under it gets one of its own.
    Label21[1]->setBuddy(cboChannel[1]);
    unseenCaption(Combo1[1], QStringLiteral("lblGpChannel(1)"), Label21[1]->text());

    // Capcodes
    QGroupBox *cap = makeFrame(page, "fraCapcode", "Capcode( Decimal Address )", {8, 74, w, 204});
    const int rowH = 29, y0 = 24;
    const QString typeTip = QStringLiteral(
        "Function Bit( A B C D ) Message Type:  P = Personal,  1 = Mail Drop 1 ...... 5 = Mail Drop 5");
    const QString dispTip = QStringLiteral("Function Bit( A B C D ) Message Display:  N=standard Numeric,  "
                                           "P=PRC Numeric,  A=Alpha-numeric,  I= Ideo-graphic");
    const QString priTip
        = QStringLiteral("Function Bit( A B C D ) Priority Alert Control:  V=Enable,  - =Disable");
    const QString enTip = QStringLiteral("Function Bit( A B C D ) Enable Control: V=Enable,  - =Disable");
    for (int i = 0; i < kCapcodeCount; ++i) {
        const int y = y0 + i * rowH;
        const QString caption = QStringLiteral("Cap #%1").arg(i + 1);
        Label10[i] = makeLabel(cap, indexed("Label10", i), caption, {12, y, 50, kRow});
        Label10[i]->setToolTip(QStringLiteral("Please input %1 Capcode( 7 Dec digits between 8 and 2097151 )")
                                   .arg(QLatin1String(kOrdinals[i])));
        txtAddr[i] = makeEdit(cap, indexed("txtAddr", i), {62, y, 74, kRow}, caption, 7);
        Label10[i]->setBuddy(txtAddr[i]);
        chkCtl[10 + i] = makeCheck(cap, indexed("chkCtl", 10 + i), "ON", {144, y, 50, kRow}, caption + " ON");
        chkCtl[10 + i]->setToolTip(
            QStringLiteral("Enable or disable the %1 Capcode( address )").arg(QLatin1String(kOrdinals[i])));
        if (i < 4) {
            const int set = i == 0 ? 3 : i - 1;
            cmdFunc[set] = makeButton(cap, indexed("cmdFunc", set), "Fun. Bit", {198, y, 70, kRow});
            cmdFunc[set]->setToolTip(QStringLiteral("Click to set function bit( A B C D ) message control."));
            cmdFunc[set]->setAccessibleName(caption + " Fun. Bit");
            connect(cmdFunc[set], &QPushButton::clicked, this, [this, set] { editFunctionBits(set); });
            struct Col { const char *label; const char *name; int x, lw; const QString *tip; };
            const Col cols[4] = {{"Type:", "tlblType", 280, 38, &typeTip},
                                 {"Disp:", "tlblDisp", 372, 36, &dispTip},
                                 {"Priority:", "tlblPri", 462, 56, &priTip},
                                 {"En:", "tlblFunEn", 572, 26, &enTip}};
            std::array<QLineEdit *, 4> *targets[4] = {&tlblType, &tlblDisp, &tlblPri, &tlblFunEn};
            for (int c = 0; c < 4; ++c) {
                QLabel *l = makeLabel(cap, QStringLiteral("%1Label(%2)").arg(QLatin1String(cols[c].name)).arg(set),
                                      QString::fromLatin1(cols[c].label), {cols[c].x, y, cols[c].lw, kRow});
                l->setToolTip(*cols[c].tip);
                QLineEdit *box = makeSummary(cap, indexed(cols[c].name, set), {cols[c].x + cols[c].lw, y, 48, kRow},
                                             caption + " " + QString::fromLatin1(cols[c].label).chopped(1));
                box->setToolTip(*cols[c].tip);
                l->setBuddy(box);
                (*targets[c])[set] = box;
            }
            EnToolTip[set] = makeLabel(cap, indexed("EnToolTip", set),
                                       QStringLiteral(" Note:Capcode #%1 will be disable").arg(i + 1),
                                       {660, y, 240, kRow});
            QPalette pal = EnToolTip[set]->palette();
            pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
            EnToolTip[set]->setPalette(pal);
            EnToolTip[set]->hide();
        } else {
            const int k = i - 4;
            QLabel *typeLabel = makeLabel(cap, indexed("lblType", k), "Type:", {198, y, 40, kRow});
            cboType[k] = makeCombo(cap, indexed("cboType", k), kMessageTypes, {238, y + 1, 118, kListHeight},
                                   caption + " Type");
            typeLabel->setBuddy(cboType[k]);
            connect(cboType[k], &QComboBox::currentIndexChanged, this, [this, k] { onMessageTypeChosen(k); });
            const int ctl = k == 0 ? 1 : 7;
            const QString ctlName = indexed("cboCtl", ctl);
            QLabel *dispLabel = makeLabel(cap, indexed("lblDisplay", k), "Display:", {372, y, 56, kRow});
            cboCtl[ctl] = makeCombo(cap, ctlName, entries_of(ctlName.toLatin1().constData()),
                                    {428, y + 1, 118, kListHeight}, caption + " Display");
            dispLabel->setBuddy(cboCtl[ctl]);
            const int pri = k == 0 ? 8 : 9;
            chkCtl[pri] = makeCheck(cap, indexed("chkCtl", pri), "Priority  ", {562, y, 100, kRow}, caption + " Priority");
        }
    }
    chkCtl[10]->setEnabled(false); // capcode #1's enable flag normally comes from the image

    // Auto increase
    QGroupBox *autoInc = makeFrame(page, "fraAuto", "Auto Increase 1 After Write", {8, 284, w, 52});
    optAuto1 = makeCheck(autoInc, "optAuto1", "1st Capcode Auto Increase", {12, 22, 240, kRow});
    optAuto1->setToolTip(QStringLiteral("1st capcode always increments by one after writed"));
    optAuto2 = makeCheck(autoInc, "optAuto2", "2nd Capcode Auto Increase", {280, 22, 240, kRow});
    optAuto2->setToolTip(QStringLiteral("2nd capcode always increments by one after writed"));
    connect(optAuto1, &QCheckBox::toggled, this, [this](bool on) { m_state.auto_increase_1st = on; });
    connect(optAuto2, &QCheckBox::toggled, this, [this](bool on) { m_state.auto_increase_2nd = on; });

    m_alerts->buildAlertLengthFrame(
        makeFrame(page, "fraAlertLength", "Message Alert Length( P:Personal   M:Mail Drop )", {8, 342, w, 96}));

    // Synthesizer read-outs
    picPLL = new QFrame(page);
    picPLL->setObjectName(QStringLiteral("picPLL"));
    static_cast<QFrame *>(picPLL)->setFrameShape(QFrame::Panel);
    static_cast<QFrame *>(picPLL)->setFrameShadow(QFrame::Sunken);
    picPLL->setGeometry(8, 444, w, 66);
    makeLabel(picPLL, "lblRCaption", "R:", {10, 8, 22, kRow});
    lblPLLR = makeLabel(picPLL, "lblPLLR", "", {32, 8, 70, kRow});
    makeLabel(picPLL, "lblNCaption", "N:", {110, 8, 22, kRow});
    lblPLLN = makeLabel(picPLL, "lblPLLN", "", {132, 8, 70, kRow});
    makeLabel(picPLL, "lblMUTLCaption", "MUTL:", {210, 8, 44, kRow});
    lblMUTL = makeLabel(picPLL, "lblMUTL", "", {254, 8, 30, kRow});
    Label21[0] = makeLabel(picPLL, "Label21(0)", "Channel", {10, 36, 54, kRow});
    cboChannel[0] = makeCombo(picPLL, "cboChannel(0)", kSpacings130, {64, 37, 100, kListHeight}, "Channel");
    Combo1[0] = makeCombo(picPLL, "Combo1(0)", kSpacings130, {64, 37, 100, kListHeight}, "Channel");
    Combo1[0]->hide();
    Label21[0]->setBuddy(cboChannel[0]);
    unseenCaption(Combo1[0], QStringLiteral("lblGpChannel(0)"), Label21[0]->text());
    lblCHANNEL[0] = makeLabel(picPLL, "lblCHANNEL(0)", "", {172, 36, 70, kRow});
    // Test page through the signal generator.
    QLabel *gpibLabel = makeLabel(picPLL, "Label4", "GPIB Addr", {560, 8, 72, kRow});
    txtGPIB = makeEdit(picPLL, "txtGPIB", {632, 8, 40, kRow}, gpibLabel->text(), 3);
    txtGPIB->setText(QStringLiteral("19"));
    gpibLabel->setBuddy(txtGPIB);
    coNum = makeCombo(picPLL, "coNum", {"1", "All"}, {680, 9, 64, kListHeight}, QStringLiteral("Test page capcodes"));
    unseenCaption(coNum, QStringLiteral("lblNum"), coNum->accessibleName());
    Command1 = makeButton(picPLL, "Command1", "Send 8648A", {756, 6, 140, 28});
    connect(Command1, &QPushButton::clicked, this, [this] { sendTestPage(); });
    lblPLLR->setAccessibleName(QStringLiteral("R:"));
    lblPLLN->setAccessibleName(QStringLiteral("N:"));
    lblMUTL->setAccessibleName(QStringLiteral("MUTL:"));

    connect(cboDft, &QComboBox::currentIndexChanged, this, [this] { onBandChosen(); });
    for (int i = 0; i < 2; ++i) {
        connect(cboChannel[i], &QComboBox::currentIndexChanged, this, [this, i] { onChannelSpacingChosen(i); });
        connect(Combo1[i], &QComboBox::currentIndexChanged, this, [this, i] { onGpSpacingChosen(i); });
    }
}

// ---- text-box events --------------------------------------------------------------------

bool MainWindow::editorEventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::FocusOut && type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    if (!is_edit_focus_change(event)) return false;
    int capIndex = -1;
    for (int i = 0; i < kCapcodeCount; ++i)
        if (watched == txtAddr[i]) capIndex = i;
    const bool isFreq = watched == txtFreq;
    if (capIndex < 0 && !isFreq) return false;

    auto isEnter = [event] {
        const int key = static_cast<QKeyEvent *>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    };
    switch (type) {
    case QEvent::FocusIn:
        if (isFreq) onFrequencyFocused(); else onCapcodeFocused(capIndex);
        return false;
    case QEvent::FocusOut:
        if (isFreq) {
            if (!m_inFrequencyCheck) commitFrequency();
        } else {
            commitCapcode(capIndex);
        }
        return false;
    case QEvent::KeyPress:
        if (isFreq) m_state.frequency_rejected = false;
        if (isEnter()) {
            picTabBack->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return false;
    case QEvent::KeyRelease:
        if (isEnter()) return false;
        if (isFreq) onFrequencyKeyUp(); else onCapcodeKeyUp(capIndex);
        return false;
    default:
        return false;
    }
}

// ---- capcodes ---------------------------------------------------------------------------

void MainWindow::read_capcode()
{
    for (int i = 0; i < kCapcodeCount; ++i)
        txtAddr[i]->setText(q(capcode_text(capcode_get(m_state.image, i))));
}

void MainWindow::onCapcodeFocused(int i) { txtAddr[i]->clear(); }

void MainWindow::onCapcodeKeyUp(int i)
{
    const QString t = txtAddr[i]->text();
    if (t.isEmpty()) return;
    const auto v = parse_number(t);
    if (!v) {
        m_state.messages.show(QString::fromUtf8(text::kInsertNumeric), MsgIcon::Warning);
        read_capcode();
        txtAddr[i]->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (*v < 0 || *v > kCapcodeMax) {
        m_state.messages.show(QString::fromUtf8(text::kCapcodeRange), MsgIcon::Warning);
        read_capcode();
        txtAddr[i]->setFocus(Qt::OtherFocusReason);
        return;
    }
    capcode_set(m_state.image, i, static_cast<std::uint32_t>(round_even(*v)));
}

void MainWindow::commitCapcode(int) { read_capcode(); }

void MainWindow::onMessageTypeChosen(int k)
{
    const int sel = cboType[k]->currentIndex();
    if (sel < 0) return;
    m_state.image[kTypeCap5 + k] = static_cast<std::uint8_t>(sel == 0 ? 0 : sel + 2);
}

void MainWindow::read_Type()
{
    for (int s2 = 0; s2 < 4; ++s2) tlblType[s2]->setText(q(type_summary(m_state.image, function_bit_set(s2))));
}

void MainWindow::read_Disp()
{
    for (int s2 = 0; s2 < 4; ++s2) tlblDisp[s2]->setText(q(display_summary(m_state.image, function_bit_set(s2))));
}

void MainWindow::read_Pri()
{
    for (int s2 = 0; s2 < 4; ++s2) tlblPri[s2]->setText(q(priority_summary(m_state.image, function_bit_set(s2))));
}

void MainWindow::read_FunEn()
{
    for (int s2 = 0; s2 < 4; ++s2) tlblFunEn[s2]->setText(q(enable_summary(m_state.image, function_bit_set(s2))));
}

void MainWindow::refresh_enable_note(int set)
{
    EnToolTip[set]->setVisible(set_disabled(m_state.image, function_bit_set(set)));
}

void MainWindow::refresh_enable_notes()
{
    for (int s2 = 0; s2 < 4; ++s2) refresh_enable_note(s2);
}

void MainWindow::editFunctionBits(int set)
{
    m_state.func_set_index = set;
    FunctionBitDialog dialog(m_state, *this, this);
    dialog.exec();
}

// ---- band, frequency and spacing ----------------------------------------------------------

int MainWindow::band() const { return cboDft->currentIndex(); }

void MainWindow::read_freq() { read_pll(); }

void MainWindow::read_pll()
{
    PagerImage &img = m_state.image;
    show_readout(lblMUTL, QStringLiteral("MUTL"), QString::number(m_state.MUTL));
    show_readout(lblPLLR, QStringLiteral("R"), QString::number(word24(img, kAddrRWord), 16).toUpper());
    const int code = img[kAddrSpacingCode];
    if (const auto khz = spacing_khz_from_code(code)) m_state.channel_spacing_khz = *khz;
    const QString caption = q(spacing_caption(m_state.channel_spacing_khz));
    lblCHANNEL[0]->setText(caption);
    lblCHANNEL[1]->setText(caption);

    m_state.controls_loading = true;
    const int b = band();
    if (m_state.loaded_image_refresh && (b == 1 || b == 2)) {
        const int preset = b == 2 ? m_state.settings.channelPreset100_200 : m_state.settings.channelPreset400_499;
        for (QComboBox *list : cboChannel) {
            refill(list, b == 2 ? kSpacings130 : kSpacings380);
            list->raise();
        }
        if (preset == 2) {
            Label21[1]->show();
            cboChannel[1]->show();
            Picture2->show();
        } else {
            Picture2->hide();
            cboChannel[0]->show();
        }
        int idx;
        if (b == 2)
            idx = code > 1 ? 2 : code;
        else
            idx = (code == 2 || code == 3) ? code - 2 : 2;
        for (QComboBox *list : cboChannel) list->setCurrentIndex(idx);
    }
    show_readout(lblPLLN, QStringLiteral("N"), QString::number(word24(img, kAddrNWord), 16).toUpper());
    if (b == kBandGp) {
        if (m_state.loaded_image_refresh) {
            Picture2->hide();
            Combo1[0]->hide();
        }
        txtFreq->setText(QString::number(frequency_from_digits(img)));
    } else {
        txtFreq->setText(QString::number(frequency_from_n_word(word24(img, kAddrNWord), m_state.channel_spacing_khz)));
    }
    m_state.controls_loading = false;
}

void MainWindow::onFrequencyFocused() { txtFreq->clear(); }

void MainWindow::onFrequencyKeyUp()
{
    const QString t = txtFreq->text();
    if (t.isEmpty() || parse_frequency(t)) return;
    m_inFrequencyCheck = true;
    m_state.messages.show(QString::fromUtf8(text::kInsertDecimalNumeric), MsgIcon::Warning);
    read_freq();
    m_inFrequencyCheck = false;
    txtFreq->setFocus(Qt::OtherFocusReason);
}

bool MainWindow::commitFrequency()
{
    const QString t = txtFreq->text();
    if (t.isEmpty()) {
        m_state.frequency_rejected = false;
        read_freq();
        return true;
    }
    m_inFrequencyCheck = true;
    auto reject = [this](const QString &message, bool rejected) {
        m_state.messages.show(message, MsgIcon::Warning);
        m_state.frequency_rejected = rejected;
        if (!rejected) read_freq();
        m_inFrequencyCheck = false;
        // Back into the box once the focus change that ended the entry is complete.
        QTimer::singleShot(0, txtFreq, [this] { txtFreq->setFocus(Qt::OtherFocusReason); });
        return false;
    };
    const auto value = parse_frequency(t);
    if (!value) return reject(QString::fromUtf8(text::kInsertDecimalNumeric), false);

    const int b = band();
    if (b < 0) {
        m_inFrequencyCheck = false;
        return false;
    }
    const QString entry = cboDft->itemText(b);
    const long long v = round_even(*value);
    const BandLimits limits = band_limits(entry.toStdString());
    if (v > limits.upper || v < limits.lower) {
        return reject(QString::fromUtf8(text::kFrequencyErrorHead) + entry.mid(0, 3)
                          + QString::fromUtf8(text::kFrequencyErrorMiddle) + entry.mid(4, 3)
                          + QString::fromUtf8(text::kFrequencyErrorTail),
                      true);
    }

    std::optional<SpacingChoice> choice;
    bool ok = true;
    if (b == kBandGp && Combo1[0]->currentIndex() >= 0) {
        const GpSpacingResult r = gp_spacing(*value, Combo1[0]->currentIndex());
        ok = r.ok;
        choice = r.choice;
    } else if (b == kBandGp) {
        // A loaded GP(RoHS) image leaves the GP list without a choice: the entry must fit the
        // stored spacing, so the R and N words written still belong together.
        const int step = spacing_step_hz(m_state.channel_spacing_khz);
        ok = step > 0 && lo_hz(*value, 1) % step == 0;
    } else if ((b == 1 && m_state.channel_choice_400_499 == 2) || (b == 2 && m_state.channel_choice_100_200 == 2)) {
        choice = auto_spacing(*value);
        ok = choice.has_value();
    } else {
        const int step = spacing_step_hz(m_state.channel_spacing_khz);
        ok = step > 0 && lo_hz(*value, 1) % step == 0;
    }
    if (!ok) return reject(QString::fromUtf8(text::kChannelSpacingError), true);
    if (choice) {
        m_state.channel_spacing_khz = choice->khz;
        m_state.image[kAddrSpacingCode] = static_cast<std::uint8_t>(choice->code);
    }
    SetFreqPLL(m_state.image, static_cast<std::uint32_t>(v), *value, b, m_state.channel_spacing_khz, m_state.MUTL);
    read_freq();
    m_inFrequencyCheck = false;
    return true;
}

void MainWindow::setChannelLists(int listBand)
{
    for (QComboBox *list : cboChannel) refill(list, listBand == 2 ? kSpacings130 : kSpacings380);
}

void MainWindow::reapplyChannelSpacing(int i)
{
    if (cboChannel[i]->currentIndex() >= 0) onChannelSpacingChosen(i);
}

void MainWindow::onBandChosen()
{
    if (m_state.controls_loading) {
        m_state.controls_loading = false;
        return;
    }
    const int b = band();
    if (b < 0) return;
    PagerImage &img = m_state.image;
    const InstallationSettings &set = m_state.settings;
    m_state.channel_choice_100_200 = set.channelPreset100_200;
    m_state.channel_choice_400_499 = set.channelPreset400_499;

    if (b == 1 || b == 2) {
        cboChannel[0]->raise();
        cboChannel[0]->show();
    } else if (b == kBandGp) {
        Combo1[0]->raise();
        Combo1[0]->show();
    } else {
        cboChannel[0]->hide();
        Combo1[0]->hide();
    }
    img[kAddrBandType] = b == kBandGp ? 0x70 : 0x60;

    auto setRate = [&img](int field, int c1, int c2) {
        img.field_set(0x375, 4, field, 2);
        img[0x372] = static_cast<std::uint8_t>(c1);
        img[0x373] = static_cast<std::uint8_t>(c2);
    };
    auto showListsForPreset = [this](int preset) {
        if (preset == 2) {
            Picture2->show();
            Label21[1]->show();
            cboChannel[1]->show();
            reapplyChannelSpacing(1);
        } else {
            Picture2->hide();
            cboChannel[0]->show();
            reapplyChannelSpacing(0);
        }
    };

    switch (b) {
    case 0:
        std::copy(kBand0Pll.begin(), kBand0Pll.end(), img.bytes().begin() + kAddrRWord);
        std::copy(kBand0Frequency.begin(), kBand0Frequency.end(), img.bytes().begin() + kAddrFreqDigits);
        setRate(1, 5, 31);
        img[kAddrSpacingCode] = 3;
        m_state.MUTL = 5;
        Picture2->hide();
        cboChannel[0]->hide();
        cboChannel[1]->hide();
        img.field_set(kAddrFreqModBit, 0, 0, 1);
        chkCtl[4]->setVisible(true);
        break;
    case 1:
        setChannelLists(1);
        if (m_state.channel_choice_400_499 == 2) m_state.channel_choice_400_499 = 1;
        for (int i = 0; i < 2; ++i) {
            const int choice = m_state.channel_choice_400_499;
            cboChannel[i]->setCurrentIndex(choice); // runs the spacing-list click
        }
        m_state.MUTL = 3;
        showListsForPreset(set.channelPreset400_499);
        setRate(3, 2, 17);
        break;
    case 2:
        setChannelLists(2);
        for (int i = 0; i < 2; ++i) cboChannel[i]->setCurrentIndex(m_state.channel_choice_100_200 == 1 ? 1 : 0);
        m_state.MUTL = 2;
        showListsForPreset(set.channelPreset100_200);
        setRate(3, 2, 17);
        break;
    case kBandGp:
        m_state.MUTL = 1;
        txtFreq->setText(QStringLiteral("15300000"));
        commitFrequency();
        setRate(3, 2, 17);
        Picture2->hide();
        img.field_set(kAddrFreqModBit, 0, 0, 1);
        chkCtl[4]->setVisible(true);
        if (Combo1[0]->currentIndex() == 0)
            onGpSpacingChosen(0);
        else
            Combo1[0]->setCurrentIndex(0);
        break;
    default:
        break;
    }
    init_ctl();
}

void MainWindow::onChannelSpacingChosen(int i)
{
    if (m_state.controls_loading) return;
    const int sel = cboChannel[i]->currentIndex();
    if (sel < 0) return;
    m_state.channel_choice_100_200 = sel;
    m_state.channel_choice_400_499 = sel;
    PagerImage &img = m_state.image;
    auto fixed = [&](float khz, std::uint32_t f, int code) {
        m_state.channel_spacing_khz = khz;
        SetFreqPLL(img, f, double(f), band(), khz, m_state.MUTL);
        img[kAddrSpacingCode] = static_cast<std::uint8_t>(code);
        img.field_set(kAddrFreqModBit, 0, 0, 1);
        chkCtl[4]->setVisible(true);
    };
    auto automatic = [&](const QString &boxText) {
        if (!m_state.loaded_image_refresh)
            m_state.messages.show(QString::fromUtf8(text::kAutoSpacingWarning), MsgIcon::Warning);
        txtFreq->setText(boxText);
        const double v = boxText.toDouble();
        SetFreqPLL(img, static_cast<std::uint32_t>(v), v, band(), m_state.channel_spacing_khz, m_state.MUTL);
        img.field_set(kAddrFreqModBit, 0, 1, 1);
        chkCtl[4]->setVisible(false);
    };
    if (band() == 2) {
        if (sel == 0) fixed(5.0f, 15300000, 0);
        else if (sel == 1) fixed(6.25f, 15301250, 1);
        else automatic(QStringLiteral("15300000"));
    } else {
        if (sel == 0) fixed(10.0f, 46200000, 2);
        else if (sel == 1) fixed(12.5f, 46200000, 3);
        else automatic(QStringLiteral("46200000"));
    }
    init_ctl();
}

void MainWindow::onGpSpacingChosen(int i)
{
    if (m_state.controls_loading) return;
    const int sel = Combo1[i]->currentIndex();
    if (sel == 2) {
        if (!m_state.loaded_image_refresh)
            m_state.messages.show(QString::fromUtf8(text::kAutoSpacingWarning), MsgIcon::Warning);
        m_state.image.field_set(kAddrFreqModBit, 0, 1, 1);
        chkCtl[4]->setVisible(false);
    } else {
        m_state.image.field_set(kAddrFreqModBit, 0, 0, 1);
        chkCtl[4]->setVisible(true);
    }
    m_state.MUTL = 1;
    txtFreq->setText(QStringLiteral("15300000"));
    commitFrequency();
}

} // namespace zr730
