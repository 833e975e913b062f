// The alert and status options through the main window: decoding an image, the alert-length
// dialog, and each control's handler writing its bytes.
#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "editor/alerts_page.h"
#include "editor/dialogs/alert_length_dialog.h"
#include "editor/slider/slider_control.h"
#include "image/defaults.h"
#include "support/layout_check.h"
#include "support/started_window.h"

using namespace zr730;
using Window = zr730::testing::StartedWindow;

namespace {
int grey(const QLabel *l) { return l->palette().color(QPalette::WindowText).red(); }
QString bytes(const PagerImage &img, int a, int n)
{
    return QByteArray(reinterpret_cast<const char *>(&img.bytes()[a]), n).toHex(' ');
}
} // namespace

class TestAlertsPage : public QObject {
    Q_OBJECT
private slots:
    void factoryImageShowsItsOptions();
    void storedValuesWithoutAnEntryShowNoSelectionAndKeepTheirBytes();
    void alertLengthDialogStoresAndTheSummaryFollows();
    void listsAndMenuBoxesWriteTheirFields();
    void sliderMoveStoresTheContrastEvenInWriteMode();
    void passwordBoxStoresAtEachKeyAndRefusesBadEntries();
};

void TestAlertsPage::factoryImageShowsItsOptions()
{
    Window w;
    AlertsPage &a = w.window->alerts();
    QStringList summary;
    for (QLabel *l : a.lblLength) summary << l->text();
    QCOMPARE(summary.join(' '), QString("08 -- -- -- -- --"));
    QCOMPARE(a.cboBatLev[0]->currentText() + a.cboBatLev[1]->currentText() + a.cboBatLev[2]->currentText(),
             QString("1.19V1.29V1.39V"));
    QCOMPARE(a.cboBatLev[0]->currentData().toInt(), 119);
    QCOMPARE(a.cboORC->currentIndex(), 0);
    QCOMPARE(a.cboSLC->currentIndex(), 0);
    for (QCheckBox *box : a.chkMenu) QVERIFY(!box->isChecked());
    QVERIFY(a.cboTone->isHidden());
    QCOMPARE(a.cboTone->currentText(), QString("Tone 1"));
    QCOMPARE(a.Slider1->value(), 4);
    QCOMPARE(a.lblValue->text(), QString("4"));
    QCOMPARE(grey(a.lblContrast), 20); // 5·c after a load
    QCOMPARE(a.txtPass->text(), QString("1234"));
    QVERIFY(w.messages.shown.isEmpty());
}

void TestAlertsPage::storedValuesWithoutAnEntryShowNoSelectionAndKeepTheirBytes()
{
    Window w;
    AlertsPage &a = w.window->alerts();
    PagerImage &img = w.state.image;
    img[0x381] = 120; // no battery entry
    img[0xD0] = 5;    // no personal entry
    img[0xE9] = 0;    // contrast below 1
    img[0xF7] = 7;    // shown as "Vibration"
    img[0xC0] = 40;   // neither empty nor a menu code
    img[0xC6] = 255;  // "Zoom In" no longer enabled
    img[0x37] |= 0x80;
    img[0xD1] = 2;    // mail drop 1 enabled with no length entry
    const PagerImage before = img;
    w.window->init_ctl();
    QCOMPARE(a.cboBatLev[0]->currentIndex(), -1);
    QCOMPARE(a.lblLength[0]->text(), QString("08")); // caption unchanged
    QCOMPARE(a.Slider1->value(), 1);
    QCOMPARE(grey(a.lblContrast), 0);
    QCOMPARE(a.cboTone->currentIndex(), 4);
    QVERIFY(a.chkMenu[0]->isChecked() && a.chkMenu[6]->isChecked() && !a.chkMenu[1]->isChecked());
    QVERIFY(!a.cboTone->isHidden());
    // Only the clamped contrast and the shown tone are written back.
    for (int addr = 0; addr < kImageSize; ++addr)
        if (addr != 0xE9 && addr != 0xF7) QVERIFY2(img[addr] == before[addr], qPrintable(QString::number(addr, 16)));
    QCOMPARE(int(img[0xE9]), 1);
    QCOMPARE(int(img[0xF7]), 32);

    const PagerImage applied = img;
    AlertLengthDialog dialog(w.state, a);
    QCOMPARE(dialog.cboPersonal->currentIndex(), -1);
    QCOMPARE(dialog.cboMailAler[0]->currentIndex(), -1);
    QVERIFY(img == applied);
}

void TestAlertsPage::alertLengthDialogStoresAndTheSummaryFollows()
{
    Window w;
    AlertsPage &a = w.window->alerts();
    PagerImage &img = w.state.image;
    QCheckBox *override = w.window->chkCtl[17];

    // The button opens the dialog modally; "OK" closes it.
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto *d = qobject_cast<AlertLengthDialog *>(QApplication::activeModalWidget());
        opened = d && d->windowTitle() == "Personal and Mail Alert Control";
        if (d) QTest::mouseClick(d->Command1, Qt::LeftButton);
    });
    QTest::mouseClick(a.cmdAlert, Qt::LeftButton);
    QVERIFY(opened);

    AlertLengthDialog dialog(w.state, a);
    zr730::testing::verify_layout(&dialog);
    if (const QString shots = qEnvironmentVariable("ZR730_SHOT_DIR"); !shots.isEmpty())
        dialog.grab().save(shots + "/form6.png");
    QCOMPARE(dialog.cboPersonal->currentText(), QString("8 sec"));
    dialog.cboPersonal->setCurrentIndex(4); // continuos
    QCOMPARE(a.lblLength[0]->text(), QString("CT"));
    QVERIFY(override->isChecked());
    dialog.cboPersonal->setCurrentIndex(2); // 16 sec: the box follows without rewriting the length
    QCOMPARE(int(img[0xD0]), 16);
    QVERIFY(!override->isChecked());
    QCOMPARE(a.lblLength[0]->text(), QString("16"));
    dialog.cboMailAler[2]->setCurrentIndex(3); // mail drop 3, 16 sec
    QCOMPARE(a.lblLength[3]->text(), QString("16"));
}

void TestAlertsPage::listsAndMenuBoxesWriteTheirFields()
{
    Window w;
    AlertsPage &a = w.window->alerts();
    PagerImage &img = w.state.image;
    img[0x382] = 139;
    img[0x383] = 158;
    w.window->init_ctl();
    a.cboBatLev[2]->setCurrentIndex(6); // high 1.29V below medium 1.39V
    QCOMPARE(bytes(img, 0x380, 4), QString("77 77 8b 81"));
    QCOMPARE(w.messages.texts(), QStringList{"Waring ! You must let ( Level-High > Level-Med > Level-Low )."});
    QCOMPARE(w.messages.shown[0].icon, MsgIcon::Critical);

    w.messages.clear();
    a.cboBatLev[2]->setCurrentIndex(4); // high equal to medium is out of order too
    QCOMPARE(w.messages.shown.size(), 1);

    a.chkMenu[1]->setChecked(true);
    a.chkMenu[6]->setChecked(true);
    QCOMPARE(bytes(img, 0xC0, 7), QString("ff ff 10 12 13 14 15"));
    QVERIFY(a.cboTone->isHidden());
    a.chkMenu[0]->setChecked(true);
    QVERIFY(!a.cboTone->isHidden());
    a.cboTone->setCurrentIndex(4);
    QCOMPARE(int(img[0xF7]), 32);
}

void TestAlertsPage::sliderMoveStoresTheContrastEvenInWriteMode()
{
    Window w;
    AlertsPage &a = w.window->alerts();
    w.window->WriteOpt->click();
    QVERIFY(a.Slider1->isEnabled());
    QVERIFY(!a.cboBatLev[0]->isEnabled() && !a.txtPass->isEnabled() && !a.cmdAlert->isEnabled());
    // Thumb of 10 px on a 120 px groove, 1 … 8: a press at 30 px gives 3.
    QCOMPARE(a.Slider1->width(), 120);
    QTest::mousePress(a.Slider1, Qt::LeftButton, {}, QPoint(30, 10));
    QCOMPARE(int(w.state.image[0xE9]), 3);
    QCOMPARE(a.lblValue->text(), QString("3"));
    QCOMPARE(grey(a.lblContrast), 50); // 80 − 10·v after a move
}

void TestAlertsPage::passwordBoxStoresAtEachKeyAndRefusesBadEntries()
{
    Window w;
    QLineEdit *box = w.window->alerts().txtPass;
    PagerImage &img = w.state.image;
    w.focus(box);
    QVERIFY(box->text().isEmpty());
    QTest::keyClicks(box, "47");
    QCOMPARE(bytes(img, 0x37C, 4), QString("00 00 04 07"));
    QTest::keyClicks(box, "5");
    QCOMPARE(bytes(img, 0x37C, 4), QString("00 04 07 05"));
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(w.window->picTabBack->hasFocus());
    QCOMPARE(box->text(), QString("0475"));

    // Refused: the message, then the box shows the last valid value and keeps the focus.
    struct Bad { const char *keys, *message, *kept; };
    for (const Bad &b : {Bad{"12345", "Please insert a number between 0000 to 9999", "1234"},
                         Bad{"4a", "Please insert a decimal numeric!", "0004"}}) {
        w.messages.clear();
        w.focus(box);
        QTest::keyClicks(box, b.keys);
        QCOMPARE(w.messages.texts(), QStringList{b.message});
        QCOMPARE(w.messages.shown[0].icon, MsgIcon::Warning);
        QCOMPARE(box->text(), QString(b.kept));
        QCOMPARE(QString::fromStdString(password_text(img)), QString(b.kept));
        QVERIFY(box->hasFocus());
        w.leave();
    }
}

QTEST_MAIN(TestAlertsPage)
#include "test_alerts_page.moc"
