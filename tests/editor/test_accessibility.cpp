// Keyboard and screen-reader operation: every window as assistive tools see it; the contrast
// slider, the Russian cursor and the Russian keyboard worked from the keyboard.
#include <QtTest>

#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QToolButton>

#include "editor/alerts_page.h"
#include "editor/dialogs/about_box.h"
#include "editor/dialogs/alert_length_dialog.h"
#include "editor/dialogs/function_bit_dialog.h"
#include "editor/dialogs/transfer_dialog.h"
#include "editor/keyboard/russian_keyboard.h"
#include "editor/prompts_page.h"
#include "editor/russian_page.h"
#include "editor/slider/slider_control.h"
#include "support/started_window.h"

using namespace zr730;
using Window = zr730::testing::StartedWindow;
using A = QAccessible;

namespace {

QAccessibleInterface *accessible(QObject *o) { return A::queryAccessibleInterface(o); }
QString plain(QString s) { return s.remove(QLatin1Char('&')).simplified(); }

// Every shown control under `iface`: a control without a name (a list without a caption label:
// on Linux a list is announced by its entry), a read-out whose name hides what it shows, a slider
// without a value, an editor Tab cannot reach, a Tab stop of no known kind.
void audit(QAccessibleInterface *iface, QStringList &faults)
{
    if (!iface || iface->state().invisible) return;
    static const QList<A::Role> kEditors{A::Button, A::CheckBox, A::RadioButton, A::ComboBox, A::EditableText, A::Slider};
    const A::Role role = iface->role();
    const QString name = iface->text(A::Name).simplified();
    auto *w = qobject_cast<QWidget *>(iface->object());
    const QString id = w ? w->objectName() + QLatin1Char(' ') + w->metaObject()->className() : name;
    const bool control = kEditors.contains(role) || role == A::MenuItem || role == A::Window || role == A::Dialog;
    QString caption;
    for (const auto &[other, relation] : iface->relations(A::Label))
        if (qobject_cast<QLabel *>(other->object())) caption = other->text(A::Name);
    if ((control && name.isEmpty()) || (role == A::ComboBox && caption.isEmpty())) faults << id + ": no name";
    if (auto *l = qobject_cast<QLabel *>(w); l && !plain(name).contains(plain(l->text())))
        faults << id + ": named \"" + name + "\", shows \"" + l->text() + "\"";
    if (w && (w->inherits("zr730::SliderControl") || role == A::Slider) && (role != A::Slider || !iface->valueInterface()))
        faults << id + ": slider without a value";
    const bool tabStop = w && !w->isWindow() && (w->focusPolicy() & Qt::TabFocus);
    if ((kEditors.contains(role) && !iface->state().readOnly && !tabStop) || (tabStop && !control))
        faults << id + ": not a known Tab stop";
    for (int i = 0; i < iface->childCount(); ++i) audit(iface->child(i), faults);
}

// A main window as a transfer dialog needs it, without hardware.
struct IdleHost : TransferHost {
    void init_ctl() override {}
    void read_capcode() override {}
    void select_band_from_image() override {}
    int band_position() const override { return 2; }
    QString capcode_text(int) const override { return {}; }
    void set_capcode_text(int, const QString &) override {}
    bool modify_mode() const override { return false; }
};

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
    void contrastKeysAndValueStoreWhatAClickStores_data();
    void contrastKeysAndValueStoreWhatAClickStores();
    void russianCursorKeysTypeWhereAClickTypes_data();
    void russianCursorKeysTypeWhereAClickTypes();
    void keyboardKeysPressWithSpaceOrEnterAndKeepTheFocus();
};

void TestAccessibility::everyWindowPassesTheAudit_data()
{
    QTest::addColumn<QString>("window");
    for (const char *w : {"Code and Features", "GP band", "Alerts and Status", "Prompts Edit", "Russian prompts",
                          "Russian keyboard", "Function bits", "Alert lengths", "Transfer", "About"})
        QTest::newRow(w) << QString::fromLatin1(w);
}

void TestAccessibility::everyWindowPassesTheAudit()
{
    QFETCH(QString, window);
    Window w;
    MainWindow &m = *w.window;
    IdleHost host;
    std::unique_ptr<QDialog> dialog;
    QWidget *audited = &m;
    m.alerts().chkMenu[0]->click(); // shows the tone list
    if (window == "GP band") m.cboDft->setCurrentIndex(3);
    if (window == "Alerts and Status") m.showAlertsPage();
    if (window == "Prompts Edit") m.showPromptsPage();
    if (window.startsWith("Russian")) open_russian_page(w);
    if (window == "Russian keyboard") audited = m.prompts().russian().keyboard();
    if (window == "Function bits") dialog = std::make_unique<FunctionBitDialog>(w.state, m, &m);
    if (window == "Transfer") dialog = std::make_unique<TransferDialog>(w.state, nullptr, host, &m);
    if (window == "About") dialog = std::make_unique<AboutBox>("Kestrane Co., Ltd.", LinkSelector::Usb, &m);
    if (window == "Alert lengths") {
        auto *d = new AlertLengthDialog(w.state, m.alerts(), &m);
        dialog.reset(d);
        d->cboPersonal->setCurrentIndex(4);    // continuos
        d->cboMailAler[2]->setCurrentIndex(3); // 16 sec
        QCOMPARE(accessible(m.alerts().lblLength[0])->text(A::Name), QString("P: CT"));
        QCOMPARE(accessible(m.alerts().lblLength[3])->text(A::Name), QString("M3: 16"));
    }
    if (dialog) (audited = dialog.get())->show();
    QVERIFY(audited->isVisible());
    QVERIFY(accessible(audited)->role() == A::Window || accessible(audited)->role() == A::Dialog);
    QStringList faults;
    audit(accessible(audited), faults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void TestAccessibility::contrastKeysAndValueStoreWhatAClickStores_data()
{
    QTest::addColumn<QList<int>>("keys"); // from 4, the factory default
    QTest::addColumn<int>("value");       // else set through the value interface
    QTest::addColumn<int>("expected");
    QTest::newRow("Right, Up, Page Up, Left, Down") << QList<int>{Qt::Key_Right, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Down} << 0 << 6;
    QTest::newRow("Page Down twice stops at 1") << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown} << 0 << 1;
    QTest::newRow("End, Right stays") << QList<int>{Qt::Key_End, Qt::Key_Right} << 0 << 8;
    QTest::newRow("Home, Right") << QList<int>{Qt::Key_Home, Qt::Key_Right} << 0 << 2;
    QTest::newRow("value interface clamps") << QList<int>{} << 12 << 8;
}

void TestAccessibility::contrastKeysAndValueStoreWhatAClickStores()
{
    QFETCH(QList<int>, keys);
    QFETCH(int, value);
    QFETCH(int, expected);
    Window w;
    w.window->showAlertsPage();
    AlertsPage &a = w.window->alerts();
    SliderControl *s = a.Slider1;
    auto shown = [&] {
        return QStringList{QString::number(w.state.image[0xE9]), a.lblContrast->palette().color(QPalette::WindowText).name(),
                           a.lblValue->text(), accessible(a.lblValue)->text(A::Name)};
    };
    QMap<int, QStringList> byClick; // what a click gives for each value
    for (int x = s->width() - 1; x >= 0; --x) {
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(x, s->height() / 2));
        byClick[s->value()] = shown();
    }
    QCOMPARE(byClick.size(), 8);
    QCOMPARE(byClick[expected].last(), QString("Screen Contrast: %1").arg(expected));

    w.state.image[0xE9] = 4;
    w.window->init_ctl();
    s->setFocus(Qt::TabFocusReason);
    for (int key : keys) QTest::keyClick(s, Qt::Key(key));
    if (value) accessible(s)->valueInterface()->setCurrentValue(value);
    QCOMPARE(shown(), byClick[expected]);
    QCOMPARE(accessible(s)->valueInterface()->currentValue().toInt(), expected);
}

void TestAccessibility::russianCursorKeysTypeWhereAClickTypes_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("to");
    QTest::newRow("Right stops on the last column") << 16 << QList<int>{Qt::Key_Right, Qt::Key_Right} << 17;
    QTest::newRow("End, Left, Home, Right") << 45 << QList<int>{Qt::Key_End, Qt::Key_Left, Qt::Key_Home, Qt::Key_Left, Qt::Key_Right} << 41;
    QTest::newRow("Down to the second column of rows") << 283 << QList<int>{Qt::Key_Down} << 303;
    QTest::newRow("Down into the extra records") << 543 << QList<int>{Qt::Key_Down} << 563;
    QTest::newRow("Up out of them") << 565 << QList<int>{Qt::Key_Up} << 545;
    QTest::newRow("Down stops on the last row") << 597 << QList<int>{Qt::Key_Down} << 597;
}

void TestAccessibility::russianCursorKeysTypeWhereAClickTypes()
{
    QFETCH(int, from);
    QFETCH(QList<int>, keys);
    QFETCH(int, to);
    Window w;
    open_russian_page(w);
    RussianPage &r = w.window->prompts().russian();
    QToolButton *be = r.keyboard()->Command1[97];
    const PagerImage before = w.state.image;
    QTest::mouseClick(r.Image1[std::size_t(to)], Qt::LeftButton);
    be->click();
    const PagerImage byClick = w.state.image;

    for (int way = 0; way < 2; ++way) {
        w.state.image = before;
        r.read_rows();
        r.selectCell(from);
        GlyphRow *row = r.Picture1[std::size_t(to / kCellRowStride)];
        if (way == 0) { // Tab into the row, then the keys; the focus goes along
            r.Picture1[std::size_t(from / kCellRowStride)]->setFocus(Qt::TabFocusReason);
            for (int key : keys) QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            QCOMPARE(QApplication::focusWidget(), row);
        } else { // a screen reader moves the row's caret
            accessible(row)->textInterface()->setCursorPosition(to % kCellRowStride);
        }
        QCOMPARE(accessible(row)->textInterface()->cursorPosition(), to % kCellRowStride);
        be->click();
        QVERIFY(w.state.image == byClick);
        QCOMPARE(accessible(row)->text(A::Value).at(to % kCellRowStride), QChar(0x0411)); // Б
    }
}

void TestAccessibility::keyboardKeysPressWithSpaceOrEnterAndKeepTheFocus()
{
    Window w;
    open_russian_page(w);
    RussianPage &r = w.window->prompts().russian();
    RussianKeyboard *kb = r.keyboard();
    QApplication::setActiveWindow(kb);
    QToolButton *zhe = kb->Command1[102];
    zhe->setFocus(Qt::TabFocusReason);
    QTest::keyClick(zhe, Qt::Key_Space);
    QTest::keyClick(zhe, Qt::Key_Return);
    QCOMPARE(int(w.state.image[cell_address(0)]), 102);
    QCOMPARE(int(w.state.image[cell_address(1)]), 102);
    QCOMPARE(QApplication::focusWidget(), zhe); // the next key is a Tab away
    QTest::keyClick(zhe, Qt::Key_F6); // F6: to the cursor's row and back
    QCOMPARE(w.window->focusWidget(), r.Picture1[0]);
    QTest::keyClick(r.Picture1[0], Qt::Key_F6);
    QCOMPARE(kb->focusWidget(), zhe);
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
