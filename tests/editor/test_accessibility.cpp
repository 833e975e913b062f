// Keyboard and screen-reader operation: every window as assistive tools see it, and the contrast
// slider, the Russian cursor and the Russian keyboard worked from the keyboard.
#include <QtTest>

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <functional>

#include "editor/alerts_page.h"
#include "editor/dialogs/about_box.h"
#include "editor/dialogs/alert_length_dialog.h"
#include "editor/dialogs/function_bit_dialog.h"
#include "editor/dialogs/transfer_dialog.h"
#include "editor/keyboard/glyphs.h"
#include "editor/keyboard/russian_keyboard.h"
#include "editor/prompts_page.h"
#include "editor/russian_page.h"
#include "editor/slider/slider_control.h"
#include "image/prompts.h"
#include "support/started_window.h"

using namespace zr730;
using Window = zr730::testing::StartedWindow;

namespace {

QString plain(QString s) { return s.remove(QLatin1Char('&')).simplified(); }

// The text of a label that captions the control (a buddy label).
QString caption_of(QAccessibleInterface *iface)
{
    for (const auto &[other, relation] : iface->relations(QAccessible::Label))
        if (qobject_cast<QLabel *>(other->object())) return other->text(QAccessible::Name);
    return {};
}

// Every shown control under `iface`: an interactive control without a name, a read-out whose name
// hides the value it shows, a slider without a value interface, an editor Tab cannot reach.
void audit(QAccessibleInterface *iface, QStringList &faults)
{
    if (!iface || iface->state().invisible) return;
    using A = QAccessible;
    static const QList<A::Role> kInteractive{A::PushButton, A::CheckBox, A::RadioButton, A::ComboBox, A::EditableText,
                                             A::Slider, A::SpinBox, A::ButtonMenu, A::MenuItem, A::Window, A::Dialog};
    static const QList<A::Role> kEditors{A::PushButton, A::CheckBox, A::RadioButton, A::ComboBox, A::EditableText,
                                         A::Slider, A::SpinBox, A::ButtonMenu};
    const A::Role role = iface->role();
    const QString name = iface->text(A::Name).simplified();
    auto *w = qobject_cast<QWidget *>(iface->object());
    const QString id = w ? w->objectName() + QLatin1Char(' ') + QLatin1String(w->metaObject()->className()) : name;
    if (kInteractive.contains(role) && name.isEmpty()) faults << id + ": no name";
    // On Linux a list is announced by its entry; its caption comes from a label relation (a buddy).
    if (role == A::ComboBox && caption_of(iface).isEmpty()) faults << id + ": list without a caption label";
    const bool slider = role == A::Slider || (w && (w->inherits("QAbstractSlider") || w->inherits("zr730::SliderControl")));
    if (slider && (role != A::Slider || !iface->valueInterface())) faults << id + ": slider without a value";
    // Whatever Tab stops at must say what kind of control it is.
    if (w && !w->isWindow() && (w->focusPolicy() & Qt::TabFocus) && !kInteractive.contains(role))
        faults << id + ": Tab stops at an unknown control";
    if (kEditors.contains(role) && !iface->state().readOnly && w && !(w->focusPolicy() & Qt::TabFocus))
        faults << id + ": Tab cannot reach it";
    if (auto *label = qobject_cast<QLabel *>(w); label && !plain(label->text()).isEmpty()
                                                 && !plain(name).contains(plain(label->text())))
        faults << id + ": named \"" + name + "\" but shows \"" + label->text() + "\"";
    for (int i = 0; i < iface->childCount(); ++i) audit(iface->child(i), faults);
}

// A main window as a transfer dialog needs it, without hardware.
class IdleHost : public TransferHost {
public:
    void init_ctl() override {}
    void read_capcode() override {}
    void select_band_from_image() override {}
    int band_position() const override { return 2; }
    QString capcode_text(int) const override { return {}; }
    void set_capcode_text(int, const QString &) override {}
    bool modify_mode() const override { return false; }
};

QAccessibleInterface *accessible(QObject *o) { return QAccessible::queryAccessibleInterface(o); }

// What the contrast shows and stores.
struct ContrastShown {
    int stored;
    QColor grey;
    QString number, name;
    bool operator==(const ContrastShown &) const = default;
};

ContrastShown contrast_shown(Window &w)
{
    const AlertsPage &a = w.window->alerts();
    return {w.state.image[0xE9], a.lblContrast->palette().color(QPalette::WindowText), a.lblValue->text(),
            accessible(a.lblValue)->text(QAccessible::Name)};
}

void open_russian_page(Window &w)
{
    w.window->prompts().cboLng->setCurrentIndex(5);
    w.window->showPromptsPage();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private slots:
    void everyWindowPassesTheAudit_data();
    void everyWindowPassesTheAudit();
    void contrastMovedByKeysOrValueStoresWhatAClickStores_data();
    void contrastMovedByKeysOrValueStoresWhatAClickStores();
    void russianCursorMovedByKeysTypesWhereAClickTypes_data();
    void russianCursorMovedByKeysTypesWhereAClickTypes();
    void keyboardKeysFollowTabInRowsAndSpaceOrEnterPressesThem();
};

void TestAccessibility::everyWindowPassesTheAudit_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : {"Code and Features", "Code and Features, GP band", "Alerts and Status", "Prompts Edit", "Russian prompts", "Function bits",
                          "Alert lengths", "Transfer", "Russian keyboard", "About"})
        QTest::newRow(w) << QString::fromLatin1(w);
}

void TestAccessibility::everyWindowPassesTheAudit()
{
    QFETCH(QString, window);
    Window w;
    MainWindow &m = *w.window;
    IdleHost host;
    std::unique_ptr<QWidget> dialog;
    QWidget *audited = &m;
    if (window == "Code and Features") {
        m.showCodePage();
    } else if (window == "Code and Features, GP band") {
        m.cboDft->setCurrentIndex(3); // its spacing list lies in front
    } else if (window == "Alerts and Status") {
        m.showAlertsPage();
        m.alerts().chkMenu[0]->click(); // shows the tone list
    } else if (window == "Prompts Edit") {
        m.showPromptsPage();
    } else if (window == "Russian prompts") {
        open_russian_page(w);
    } else if (window == "Russian keyboard") {
        open_russian_page(w);
        audited = m.prompts().russian().keyboard();
        QCOMPARE(accessible(audited)->role(), QAccessible::Window);
    } else if (window == "Function bits") {
        dialog = std::make_unique<FunctionBitDialog>(w.state, m, &m);
    } else if (window == "Alert lengths") {
        auto *d = new AlertLengthDialog(w.state, m.alerts(), &m);
        dialog.reset(d);
        d->cboPersonal->setCurrentIndex(4);    // continuos
        d->cboMailAler[2]->setCurrentIndex(3); // 16 sec
        // The summaries on the main window are announced with the values they now show.
        QCOMPARE(accessible(m.alerts().lblLength[0])->text(QAccessible::Name), QString("P: CT"));
        QCOMPARE(accessible(m.alerts().lblLength[3])->text(QAccessible::Name), QString("M3: 16"));
        QCOMPARE(accessible(m.alerts().lblLength[4])->text(QAccessible::Name), QString("M4: --"));
    } else if (window == "Transfer") {
        dialog = std::make_unique<TransferDialog>(w.state, nullptr, host, &m);
    } else if (window == "About") {
        dialog = std::make_unique<AboutBox>(QStringLiteral("Kestrane Co., Ltd."), LinkSelector::Usb, &m);
    }
    if (dialog) {
        dialog->show();
        audited = dialog.get();
    }
    QVERIFY(audited && audited->isVisible());
    QStringList faults;
    audit(accessible(audited), faults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestAccessibility::contrastMovedByKeysOrValueStoresWhatAClickStores_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("arrow keys") << "arrows";
    QTest::newRow("Page Up, Home, End") << "pages";
    QTest::newRow("value interface") << "value";
}

void TestAccessibility::contrastMovedByKeysOrValueStoresWhatAClickStores()
{
    QFETCH(QString, way);
    Window w;
    w.window->showAlertsPage();
    SliderControl *s = w.window->alerts().Slider1;
    // What a click gives for each value the slider can take.
    QMap<int, ContrastShown> byClick;
    for (int x = 0; x < s->width(); ++x) {
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(x, s->height() / 2));
        if (!byClick.contains(s->value())) byClick.insert(s->value(), contrast_shown(w));
    }
    QCOMPARE(byClick.size(), 8);
    QCOMPARE(byClick[3].name, QString("Screen Contrast: 3"));

    QAccessibleValueInterface *value = accessible(s)->valueInterface();
    QCOMPARE(value->minimumValue().toInt(), 1);
    QCOMPARE(value->maximumValue().toInt(), 8);
    s->setFocus(Qt::TabFocusReason);
    for (int v = 1; v <= 8; ++v) {
        if (way == "arrows") {
            // Up from the bottom, and down from the top.
            QTest::keyClick(s, Qt::Key_Home);
            for (int i = 1; i < v; ++i) QTest::keyClick(s, i % 2 ? Qt::Key_Right : Qt::Key_Up);
            QCOMPARE(contrast_shown(w), byClick[v]);
            QTest::keyClick(s, Qt::Key_End);
            for (int i = 8; i > v; --i) QTest::keyClick(s, i % 2 ? Qt::Key_Left : Qt::Key_Down);
        } else if (way == "pages") {
            QTest::keyClick(s, Qt::Key_Home);
            for (int i = 1; i + 2 <= v; i += 2) QTest::keyClick(s, Qt::Key_PageUp);
            if (v % 2 == 0) QTest::keyClick(s, Qt::Key_Right);
            QCOMPARE(contrast_shown(w), byClick[v]);
            QTest::keyClick(s, Qt::Key_End);
            QTest::keyClick(s, Qt::Key_PageUp); // stays at the top
            QCOMPARE(contrast_shown(w), byClick[8]);
            for (int i = 8; i - 2 >= v; i -= 2) QTest::keyClick(s, Qt::Key_PageDown);
            if ((8 - v) % 2) QTest::keyClick(s, Qt::Key_Left);
        } else {
            value->setCurrentValue(v);
        }
        QCOMPARE(contrast_shown(w), byClick[v]);
        QCOMPARE(value->currentValue().toInt(), v);
    }
}

void TestAccessibility::russianCursorMovedByKeysTypesWhereAClickTypes_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("to");
    QTest::newRow("Right") << 0 << QList<int>{Qt::Key_Right, Qt::Key_Right} << 2;
    QTest::newRow("Right stops on the last column") << 16 << QList<int>{Qt::Key_Right, Qt::Key_Right} << 17;
    QTest::newRow("Left stops on the first column") << 41 << QList<int>{Qt::Key_Left, Qt::Key_Left} << 40;
    QTest::newRow("End, then Left") << 45 << QList<int>{Qt::Key_End, Qt::Key_Left} << 56;
    QTest::newRow("Home") << 45 << QList<int>{Qt::Key_Home} << 40;
    QTest::newRow("Down to the right-hand column of rows") << 283 << QList<int>{Qt::Key_Down} << 303;
    QTest::newRow("Down into the extra records") << 543 << QList<int>{Qt::Key_Down} << 563;
    QTest::newRow("Up out of the extra records") << 565 << QList<int>{Qt::Key_Up} << 545;
    QTest::newRow("Up stops on the first row") << 5 << QList<int>{Qt::Key_Up} << 5;
    QTest::newRow("Down stops on the last row") << 597 << QList<int>{Qt::Key_Down} << 597;
}

void TestAccessibility::russianCursorMovedByKeysTypesWhereAClickTypes()
{
    QFETCH(int, from);
    QFETCH(QList<int>, keys);
    QFETCH(int, to);
    Window w;
    open_russian_page(w);
    RussianPage &r = w.window->prompts().russian();
    RussianKeyboard *kb = r.keyboard();
    const PagerImage before = w.state.image;

    QTest::mouseClick(r.Image1[std::size_t(to)], Qt::LeftButton);
    kb->Command1[97]->click();
    const PagerImage byClick = w.state.image;
    const int cursorByClick = r.cursor();
    QCOMPARE(int(byClick[cell_address(to)]), 97);

    // From the keyboard: the row of `from` reached with Tab, then the keys.
    w.state.image = before;
    r.read_rows();
    QTest::mouseClick(r.Image1[std::size_t(from)], Qt::LeftButton);
    GlyphRow *row = r.Picture1[std::size_t(from / kCellRowStride)];
    row->setFocus(Qt::TabFocusReason);
    QCOMPARE(r.cursor(), from);
    for (int key : keys) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(r.cursor(), to);
    GlyphRow *toRow = r.Picture1[std::size_t(to / kCellRowStride)];
    QCOMPARE(QApplication::focusWidget(), toRow);
    QAccessibleTextInterface *text = accessible(toRow)->textInterface();
    QCOMPARE(text->cursorPosition(), to % kCellRowStride);
    kb->Command1[97]->click();
    QVERIFY(w.state.image == byClick);
    QCOMPARE(r.cursor(), cursorByClick);
    QCOMPARE(text->text(0, text->characterCount()).at(to % kCellRowStride), QChar(0x0411)); // Б

    // Through the accessibility interface: the caret set on the row selects the cell.
    w.state.image = before;
    r.read_rows();
    r.selectCell(from);
    text->setCursorPosition(to % kCellRowStride);
    kb->Command1[97]->click();
    QVERIFY(w.state.image == byClick);
}

void TestAccessibility::keyboardKeysFollowTabInRowsAndSpaceOrEnterPressesThem()
{
    Window w;
    open_russian_page(w);
    RussianPage &r = w.window->prompts().russian();
    RussianKeyboard *kb = r.keyboard();
    QList<QWidget *> rowByRow;
    for (const auto &keys : keyboard_rows())
        for (int k : keys) rowByRow << kb->Command1[std::size_t(k)];
    QWidget *key = rowByRow.front();
    for (QWidget *expected : rowByRow.mid(1)) {
        key = key->nextInFocusChain();
        while (!(key->focusPolicy() & Qt::TabFocus)) key = key->nextInFocusChain();
        QCOMPARE(key, expected);
    }

    QApplication::setActiveWindow(kb);
    QToolButton *zhe = kb->Command1[102];
    zhe->setFocus(Qt::TabFocusReason);
    QTest::keyClick(zhe, Qt::Key_Space);
    QTest::keyClick(zhe, Qt::Key_Return);
    QCOMPARE(int(w.state.image[cell_address(0)]), 102);
    QCOMPARE(int(w.state.image[cell_address(1)]), 102);
    QCOMPARE(r.cursor(), 2);
    QCOMPARE(QApplication::focusWidget(), zhe); // the next key is a Tab away

    // F6 goes between the cursor's row and the keyboard.
    QTest::keyClick(zhe, Qt::Key_F6);
    QCOMPARE(w.window->focusWidget(), r.Picture1[0]);
    QTest::keyClick(r.Picture1[0], Qt::Key_F6);
    QCOMPARE(kb->focusWidget(), zhe);
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
