#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "editor/dialogs/function_bit_dialog.h"
#include "editor/main_window.h"
#include "editor/prompts_page.h"
#include "editor/keyboard/russian_keyboard.h"
#include "editor/russian_page.h"
#include "image/capcodes.h"
#include "image/defaults.h"
#include "image/memory_map.h"
#include "support/program_state.h"
#include "support/recording_messages.h"
#include "support/layout_check.h"
#include "support/started_window.h"

using namespace zr730;
using zr730::testing::RecordingMessages;

namespace {

using Fixture = zr730::testing::StartedWindow;

QString hex(const PagerImage &img, int a, int n)
{
    return QByteArray(reinterpret_cast<const char *>(&img.bytes()[a]), n).toHex(' ');
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void startupSelectsBand130To180OverTheDefaults();
    void everyBoundControlHasItsNameAndAnAccessibleName();
    void checkBoxKindsBindBothWays();
    void baudListStoresCodeAndConstants();
    void manualAlertOverrideAndDiscardErrorRewriteTheirBytes();
    void pagingDisplayModeShowsTheDirectLampBox();
    void writeModeLocksExactlyTheEditors();
    void spaceInWriteModeIsTakenByTheWindow();
    void tabButtonsSwitchPages();
    void resizeScalesPositionsSizesAndFonts();
    void capcodeEntryStoresAtEachKeyRelease();
    void capcodeEntryRefusesOutOfRangeAndText();
    void leavingAnEmptiedCapcodeBoxKeepsTheCapcode();
    void frequencyLimitsAreInclusive();
    void automaticSpacingChoosesFromTheEntry();
    void hugeOrNonNumericFrequencyIsRefused();
    void enterCommitsTheFrequencyAndAutoIncreaseBoxesSetTheirFlags();
    void emptyFrequencyRestoresWithoutWriting();
    void eachBandWritesItsDefaults();
    void spacingListsOfBand130To180();
    void gpBandSpacingChoicesResetTheFrequency();
    void loadedImageRebuildsSpacingLists();
    void functionBitDialogWritesEachSettingOfEachSet();
    void functionBitDialogShowsValuesWithoutEntries();
    void disabledFunctionBitsShowTheNoteAfterOk();
    void settingsPresetAutoShowsTheFrequencyFrameList();
    void pagesHaveNoOverlappingOrClippedControls();
    void mouseOverTheBackgroundCommitsAnEdit();
};

void TestMainWindow::startupSelectsBand130To180OverTheDefaults()
{
    Fixture f;
    const PagerImage def = default_image();
    const PagerImage &img = f.state.image;
    // The band's bytes, and the tone 237 that has no entry and is stored as "Tone 1".
    QSet<int> changed{0x036, 0x041, 0x0F7, 0x397, 0x398, 0x399, 0x39A, 0x39B, 0x39C, 0x39D};
    for (int a = 0; a < kImageSize; ++a)
        if (!changed.contains(a)) QVERIFY2(img[a] == def[a], qPrintable(QString::number(a, 16)));
    QCOMPARE(int(img[0x397]), 0);
    QCOMPARE(int(img[0x0F7]), 1);
    QCOMPARE(hex(img, 0x398, 6), QString("00 28 01 00 cd a0"));
    QCOMPARE(int(img[0x041]), 0x60);
    QCOMPARE(int(img[0x3F8]), 0xFF);
    QCOMPARE(int(img[0x036] & 1), 0);
    QCOMPARE(int(img[0x375] >> 4 & 3), 3);

    QCOMPARE(f.window->cboDft->currentText(), QString("130-180MHz"));
    QCOMPARE(f.window->txtFreq->text(), QString("15300000"));
    QCOMPARE(f.window->lblCHANNEL[0]->text(), QString("5KHz"));
    QCOMPARE(f.window->lblPLLR->text(), QString("2801"));
    QCOMPARE(f.window->lblPLLN->text(), QString("CDA0"));
    QCOMPARE(f.window->lblMUTL->text(), QString("2"));
    QCOMPARE(f.window->windowTitle(), QString("Kestrane USB ZR730K52(USB) V6.10"));
    QCOMPARE(f.window->txtAddr[0]->text(), QString("1234567"));
    QVERIFY(f.window->chkCtl[10]->isChecked());
    for (int i = 1; i < 6; ++i) {
        QCOMPARE(f.window->txtAddr[i]->text(), QString::number(1234559 + i));
        QVERIFY(!f.window->chkCtl[10 + i]->isChecked());
    }
    QCOMPARE(f.window->currentPage(), 0);
    QVERIFY(!f.window->EMoptCode->isVisible());
    QVERIFY(f.window->ModifyOpt->isChecked());
    QVERIFY(!f.window->chkCtl[10]->isEnabled());
    QVERIFY(f.state.window_ready);
}

void TestMainWindow::everyBoundControlHasItsNameAndAnAccessibleName()
{
    Fixture f;
    for (const MapEntry &e : memory_map()) {
        QWidget *w = f.find<QWidget>(QString::fromUtf8(e.control.data(), int(e.control.size())));
        QVERIFY2(w, e.control.data());
        QCOMPARE(w->property("descriptor").toString(), QString::fromUtf8(e.descriptor.data(), int(e.descriptor.size())));
        if (auto *c = qobject_cast<QComboBox *>(w)) {
            QCOMPARE(c->count(), int(e.entries.size()));
            for (int k = 0; k < c->count(); ++k)
                QCOMPARE(c->itemText(k), QString::fromUtf8(e.entries[k].data(), int(e.entries[k].size())));
        } else {
            QCOMPARE(static_cast<QCheckBox *>(w)->text(), QString::fromUtf8(e.caption.data(), int(e.caption.size())));
        }
    }
    const QStringList inputs{"txtFreq", "cboDft", "cboChannel(0)", "cboChannel(1)", "Combo1(0)", "Combo1(1)",
                             "optAuto1", "optAuto2", "cboType(0)", "cboType(1)"};
    for (const QString &n : inputs) QVERIFY2(f.find<QWidget>(n), qPrintable(n));
    for (QWidget *w : f.window->findChildren<QWidget *>()) {
        if (!qobject_cast<QLineEdit *>(w) && !qobject_cast<QComboBox *>(w) && !qobject_cast<QCheckBox *>(w)
            && !qobject_cast<QPushButton *>(w))
            continue;
        if (w->objectName().startsWith("qt_") || w->parentWidget()->inherits("QComboBox")) continue;
        const bool named = !w->accessibleName().isEmpty() || qobject_cast<QPushButton *>(w)
            || qobject_cast<QCheckBox *>(w);
        QVERIFY2(named, qPrintable(w->objectName()));
    }
    for (const char *menu : {"mnuLBFF", "mnuSBTF", "mnuSA", "mnuExit", "mnuEntire", "mnuEB", "mnuEB1", "mnuAbout"})
        QVERIFY2(f.window->findChild<QAction *>(menu), menu);
    QCOMPARE(f.window->findChild<QAction *>("mnuEB1")->text(), QString("Verfy"));
    QCOMPARE(f.window->findChild<QAction *>("mnuSA")->text(), QString("Save As..."));
}

void TestMainWindow::checkBoxKindsBindBothWays()
{
    Fixture f;
    // "chkN": a field holding 1 shows unchecked; checking stores 0.
    QCheckBox *dup = f.window->chkCtl[21]; // &H39,3,1,chkN
    f.state.image.field_set(0x39, 3, 1, 1);
    f.window->init_ctl();
    QVERIFY(!dup->isChecked());
    dup->setChecked(true);
    QCOMPARE(int(f.state.image.field_get(0x39, 3, 1)), 0);
    const std::uint8_t before = f.state.image[0x39];
    dup->setChecked(false);
    QCOMPARE(int(f.state.image[0x39]), before | 0x08);
    // "chk": checked = field.
    QCheckBox *vib = f.window->chkCtl[22]; // &H3A,5,1,chk
    f.state.image.field_set(0x3A, 5, 1, 1);
    f.window->init_ctl();
    QVERIFY(vib->isChecked());
    vib->setChecked(false);
    QCOMPARE(int(f.state.image.field_get(0x3A, 5, 1)), 0);
    // "cbo": a stored value without an entry shows no selection and nothing fails.
    f.state.image.field_set(0x35, 4, 9, 4);
    f.window->init_ctl();
    QCOMPARE(f.window->cboCtl[1]->currentIndex(), -1);
    f.window->cboCtl[1]->setCurrentIndex(3);
    QCOMPARE(int(f.state.image.field_get(0x35, 4, 4)), 3);
    QCOMPARE(int(f.state.image.field_get(0x35, 0, 4)), 2); // capcode #6 untouched
    // Reminder list: two-bit field at the top of 0x3C.
    f.state.image[0x3C] = 0x0F;
    f.window->init_ctl();
    f.window->cboCtl[4]->setCurrentIndex(3);
    QCOMPARE(int(f.state.image[0x3C]), 0xCF);
}

void TestMainWindow::baudListStoresCodeAndConstants()
{
    Fixture f;
    QComboBox *baud = f.window->cboCtl[9];
    f.state.image.field_set(0x375, 4, 0, 2);
    f.window->init_ctl();
    QCOMPARE(baud->currentIndex(), -1);
    baud->setCurrentIndex(2); // "1200 bps"
    QCOMPARE(int(f.state.image.field_get(0x375, 4, 2)), 3);
    QCOMPARE(int(f.state.image[0x372]), 2);
    QCOMPARE(int(f.state.image[0x373]), 17);
    baud->setCurrentIndex(0); // "2400 bps"
    QCOMPARE(int(f.state.image.field_get(0x375, 4, 2)), 1);
    QCOMPARE(int(f.state.image[0x372]), 5);
    QCOMPARE(int(f.state.image[0x373]), 31);
    baud->setCurrentIndex(1); // " 512 bps"
    QCOMPARE(int(f.state.image.field_get(0x375, 4, 2)), 2);
    QCOMPARE(int(f.state.image[0x372]), 1);
    QCOMPARE(int(f.state.image[0x373]), 7);
    QCOMPARE(baud->itemText(1), QString(" 512 bps"));
}

void TestMainWindow::manualAlertOverrideAndDiscardErrorRewriteTheirBytes()
{
    Fixture f;
    QCheckBox *override = f.window->chkCtl[17];
    QVERIFY(!override->isChecked());
    // A click ties the personal alert length to the box.
    override->setChecked(true);
    QCOMPARE(int(f.state.image[0xD0]), 255);
    override->setChecked(false);
    QCOMPARE(int(f.state.image[0xD0]), 8);
    // Applying an image shows the flag but keeps the stored length: a 16-second pager loaded
    // after a continuous one stays 16 seconds.
    f.state.image[0x3B] |= 0x80;
    f.state.image[0xD0] = 255;
    f.window->init_ctl();
    QVERIFY(override->isChecked());
    f.state.image[0x3B] &= 0x7F;
    f.state.image[0xD0] = 16;
    f.window->init_ctl();
    QVERIFY(!override->isChecked());
    QCOMPARE(int(f.state.image[0xD0]), 16);

    QCheckBox *discard = f.window->chkCtl[18]; // &H39,5,1,chkN
    discard->setChecked(true);
    QCOMPARE(int(f.state.image[0x376]), 31);
    QCOMPARE(int(f.state.image.field_get(0x375, 2, 2)), 1);
    QCOMPARE(int(f.state.image.field_get(0x39, 5, 1)), 0);
    discard->setChecked(false);
    QCOMPARE(int(f.state.image[0x376]), 24);
    QCOMPARE(int(f.state.image.field_get(0x375, 2, 2)), 3);
    QCOMPARE(int(f.state.image.field_get(0x375, 4, 2)), 3); // rate field untouched
}

void TestMainWindow::pagingDisplayModeShowsTheDirectLampBox()
{
    Fixture f;
    f.window->showAlertsPage();
    f.window->cboCtl[3]->setCurrentIndex(1);
    QVERIFY(f.window->chkCtl[20]->isVisible());
    f.window->cboCtl[3]->setCurrentIndex(0);
    QVERIFY(!f.window->chkCtl[20]->isVisible());
    QCOMPARE(int(f.state.image.field_get(0x3B, 4, 1)), 0);
}

void TestMainWindow::writeModeLocksExactlyTheEditors()
{
    Fixture f;
    f.window->enterWriteMode();
    QVERIFY(f.window->writeMode());
    const QStringList locked{"txt", "opt", "cbo", "chk", "cmd"};
    for (QWidget *w : f.window->picTabBack->findChildren<QWidget *>()) {
        const QString n = w->objectName();
        bool shouldLock = false;
        for (const QString &p : locked) shouldLock |= n.startsWith(p);
        if (shouldLock) QVERIFY2(!w->isEnabled(), qPrintable(n));
    }
    for (QWidget *w : {static_cast<QWidget *>(f.window->EMoptCode), static_cast<QWidget *>(f.window->EMoptStatus),
                       static_cast<QWidget *>(f.window->ModifyOpt), static_cast<QWidget *>(f.window->WriteOpt),
                       static_cast<QWidget *>(f.window->Combo1[0]), static_cast<QWidget *>(f.window->tlblType[0]),
                       f.window->picTabBack})
        QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
    f.window->enterModifyMode();
    QVERIFY(!f.window->writeMode());
    QVERIFY(f.window->txtAddr[0]->isEnabled());
    QVERIFY(f.window->chkCtl[10]->isEnabled()); // capcode #1's box comes alive in Modify Mode
    QVERIFY(f.window->cboDft->isEnabled());
}

void TestMainWindow::spaceInWriteModeIsTakenByTheWindow()
{
    Fixture f;
    f.window->enterWriteMode();
    f.focus(f.window->WriteOpt);
    QTest::keyClick(f.window->WriteOpt, Qt::Key_Space);
    // The key starts Pager > Write instead of acting on the option; the mode stays.
    QVERIFY(f.window->WriteOpt->isChecked());
    QCOMPARE(f.window->focusWidget(), f.window->WriteOpt); // the focus stays on the option
    QApplication::setActiveWindow(f.window.get());
    f.messages.clear(); // whatever the write said without a board
    f.window->enterModifyMode();
    f.type(f.window->txtAddr[2], "5 x");
    QCOMPARE(f.messages.texts(), QStringList{"Please insert a numeric!"}); // an ordinary key again
}

void TestMainWindow::tabButtonsSwitchPages()
{
    Fixture f;
    f.window->enterWriteMode();
    QTest::mouseClick(f.window->EMoptStatus, Qt::LeftButton);
    QCOMPARE(f.window->currentPage(), 1);
    QVERIFY(f.window->picSet2->isVisible());
    QVERIFY(!f.window->picSet1->isVisible());
    QVERIFY(!f.window->EMoptStatus->isVisible());
    QVERIFY(f.window->EMoptCode->isVisible());
    QVERIFY(f.window->Label15->isVisible());
    QTest::mouseClick(f.window->EMoptPrompts, Qt::LeftButton);
    QCOMPARE(f.window->currentPage(), 2);
    QVERIFY(f.window->picSet5->isVisible());
    QTest::mouseClick(f.window->EMoptCode, Qt::LeftButton);
    QCOMPARE(f.window->currentPage(), 0);
}

void TestMainWindow::resizeScalesPositionsSizesAndFonts()
{
    Fixture f;
    QWidget *central = f.window->picTabBack;
    const QSize design = central->size();
    QLineEdit *cap = f.window->txtAddr[3];
    QComboBox *band = f.window->cboDft;
    QCheckBox *on = f.window->chkCtl[12];
    const QRect capRect = cap->geometry();
    const QRect bandRect = band->geometry();
    const QRect onRect = on->geometry();
    const QRect writeRect = f.window->WriteOpt->geometry();
    QList<QPair<QAbstractButton *, QRect>> boxes;
    for (QAbstractButton *b : central->findChildren<QAbstractButton *>())
        if (qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b)) boxes.append({b, b->geometry()});
    const double capFont = cap->font().pointSizeF();
    const int bandHeight = band->height();

    const QSize extra = f.window->size() - design;
    f.window->resize(QSize(design.width() * 2, design.height() * 3 / 2) + extra);
    QCoreApplication::processEvents();
    QCOMPARE(central->size(), QSize(design.width() * 2, design.height() * 3 / 2));
    QCOMPARE(f.window->scaleX(), 2.0);
    QCOMPARE(f.window->scaleY(), 1.5);
    QCOMPARE(cap->font().pointSizeF(), capFont * 1.5);
    QCOMPARE(cap->geometry(), QRect(capRect.x() * 2, qRound(capRect.y() * 1.5), capRect.width() * 2,
                                    qRound(capRect.height() * 1.5)));
    // Check boxes and option buttons scale their widths like every other control.
    QCOMPARE(on->geometry(), QRect(onRect.x() * 2, qRound(onRect.y() * 1.5), onRect.width() * 2,
                                   qRound(onRect.height() * 1.5)));
    QCOMPARE(f.window->WriteOpt->width(), writeRect.width() * 2);
    for (const auto &[b, r] : boxes) QVERIFY2(b->width() == r.width() * 2, qPrintable(b->objectName()));
    // Lists keep their own height.
    QCOMPARE(band->geometry().left(), bandRect.left() * 2);
    QCOMPARE(band->width(), bandRect.width() * 2);
    QCOMPARE(band->height(), bandHeight);
    // Back to the design size restores everything.
    f.window->resize(design + extra);
    QCoreApplication::processEvents();
    QCOMPARE(cap->geometry(), capRect);
    QCOMPARE(cap->font().pointSizeF(), capFont);
    // A narrower than tall change scales fonts by the smaller factor.
    f.window->resize(QSize(design.width() / 2, design.height()) + extra);
    QCoreApplication::processEvents();
    QCOMPARE(cap->font().pointSizeF(), capFont * 0.5);
}

void TestMainWindow::capcodeEntryStoresAtEachKeyRelease()
{
    Fixture f;
    QLineEdit *box = f.window->txtAddr[1];
    f.focus(box);
    QCOMPARE(box->text(), QString()); // emptied on focus
    QTest::keyClicks(box, "2097151");
    QCOMPARE(hex(f.state.image, 0x363, 3), QString("1f ff ff")); // enable bit (0) kept
    f.leave();
    QCOMPARE(box->text(), QString("2097151"));

    f.state.image[0x369] |= 0x80;
    f.type(f.window->txtAddr[3], "0");
    QCOMPARE(hex(f.state.image, 0x369, 3), QString("80 00 00"));
    f.leave();
    QCOMPARE(f.window->txtAddr[3]->text(), QString("0000000"));
    // Enter ends the entry.
    f.type(f.window->txtAddr[4], "8");
    QTest::keyClick(f.window->txtAddr[4], Qt::Key_Return);
    QVERIFY(!f.window->txtAddr[4]->hasFocus());
    QCOMPARE(f.window->txtAddr[4]->text(), QString("0000008"));
    QVERIFY(f.messages.shown.isEmpty());
}

void TestMainWindow::capcodeEntryRefusesOutOfRangeAndText()
{
    Fixture f;
    QLineEdit *box = f.window->txtAddr[0];
    f.type(box, "2097152");
    QCOMPARE(f.messages.texts(), QStringList{"Please insert a number between 0000007 to 2097151"});
    QCOMPARE(f.messages.shown[0].icon, MsgIcon::Warning);
    QCOMPARE(capcode_get(f.state.image, 0), 209715u); // the six digits before were stored
    QCOMPARE(box->text(), QString("0209715"));
    QVERIFY(box->hasFocus());

    f.messages.clear();
    f.type(f.window->txtAddr[2], "12a");
    QCOMPARE(f.messages.texts(), QStringList{"Please insert a numeric!"});
    QCOMPARE(capcode_get(f.state.image, 2), 12u);
    QCOMPARE(f.window->txtAddr[2]->text(), QString("0000012"));
    QVERIFY(capcode_enabled(f.state.image, 0));
}

void TestMainWindow::leavingAnEmptiedCapcodeBoxKeepsTheCapcode()
{
    Fixture f;
    const PagerImage before = f.state.image;
    f.focus(f.window->txtAddr[5]);
    QCOMPARE(f.window->txtAddr[5]->text(), QString());
    f.leave();
    QCOMPARE(f.window->txtAddr[5]->text(), QString("1234564"));
    QVERIFY(f.state.image == before);
}

void TestMainWindow::frequencyLimitsAreInclusive()
{
    Fixture f;
    // Band 2 with the 5 kHz preset: the band edges are on the raster.
    for (const char *ok : {"13000000", "18000000"}) {
        f.enterFrequency(ok);
        QVERIFY2(f.messages.shown.isEmpty(), ok);
        QCOMPARE(f.window->txtFreq->text(), QString(ok));
        QVERIFY(!f.state.frequency_rejected);
    }
    const PagerImage before = f.state.image;
    for (const char *bad : {"12999999", "18000001"}) {
        f.messages.clear();
        f.enterFrequency(bad);
        QCOMPARE(f.messages.texts(), QStringList{"Frequency setting error(13000000 < = Frequency < =18000000 )"});
        QVERIFY(f.state.frequency_rejected);
        QVERIFY(f.window->txtFreq->hasFocus());
        QVERIFY(f.state.image == before);
    }
    // A key press in the box lowers the flag again.
    QTest::keyClick(f.window->txtFreq, Qt::Key_1);
    QVERIFY(!f.state.frequency_rejected);
    f.leave();
    f.focus(f.window->cboDft);
    f.messages.clear();
    f.window->cboDft->setCurrentIndex(1);
    f.enterFrequency("37999999");
    QCOMPARE(f.messages.texts(), QStringList{"Frequency setting error(38000000 < = Frequency < =49900000 )"});
}

void TestMainWindow::automaticSpacingChoosesFromTheEntry()
{
    Fixture f;
    f.window->cboChannel[0]->setCurrentIndex(2); // "Auto"
    QCOMPARE(f.messages.texts(), QStringList{"The Frequency Modification of Manual Write Option will be disable!"});
    QCOMPARE(int(f.state.image[0x036] & 1), 1);
    QVERIFY(!f.window->chkCtl[4]->isVisibleTo(f.window->picSet2));
    const struct { const char *entry; int code; const char *caption; } cases[] = {
        {"15301250", 3, "12.5KHz"}, {"15301000", 2, "10KHz"}, {"15300625", 1, "6.25KHz"},
        {"15300500", 0, "5KHz"},    {"15300250", 6, "2.5KHz"}};
    for (const auto &c : cases) {
        f.messages.clear();
        f.enterFrequency(c.entry);
        QVERIFY2(f.messages.shown.isEmpty(), c.entry);
        QCOMPARE(int(f.state.image[0x397]), c.code);
        QCOMPARE(f.window->lblCHANNEL[0]->text(), QString(c.caption));
        QCOMPARE(f.window->txtFreq->text(), QString(c.entry));
    }
    const PagerImage before = f.state.image;
    f.enterFrequency("15300100");
    QCOMPARE(f.messages.texts(), QStringList{"Channel Spacing Error!"});
    QVERIFY(f.state.image == before);
    QVERIFY(f.state.frequency_rejected);
    QTRY_VERIFY(f.window->txtFreq->hasFocus()); // back into the box to put it right
}

void TestMainWindow::enterCommitsTheFrequencyAndAutoIncreaseBoxesSetTheirFlags()
{
    Fixture f;
    f.type(f.window->txtFreq, "15301000");
    QTest::keyClick(f.window->txtFreq, Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(!f.window->txtFreq->hasFocus());
    QCOMPARE(int(f.state.image[0x390]), 1); // first digit of 153.010 00 MHz
    QCOMPARE(f.window->lblPLLN->text(), QStringLiteral("CDA4")); // two 5 kHz channels above 153 MHz

    f.window->optAuto1->click();
    QVERIFY(f.state.auto_increase_1st && !f.state.auto_increase_2nd);
    f.window->optAuto2->click();
    f.window->optAuto1->click();
    QVERIFY(!f.state.auto_increase_1st && f.state.auto_increase_2nd);
}

void TestMainWindow::hugeOrNonNumericFrequencyIsRefused()
{
    Fixture f;
    const PagerImage before = f.state.image;
    f.type(f.window->txtFreq, "1E+20");
    QCOMPARE(f.messages.texts(), QStringList{"Please insert a decimal numeric!"});
    f.leave();
    QVERIFY(f.state.image == before);
    f.messages.clear();
    f.type(f.window->txtFreq, "15x");
    QCOMPARE(f.messages.texts(), QStringList{"Please insert a decimal numeric!"});
    QCOMPARE(f.messages.shown[0].icon, MsgIcon::Warning);
    QCOMPARE(f.window->txtFreq->text(), QString("15300000")); // restored from the image
    f.leave();
    QVERIFY(f.state.image == before);
}

void TestMainWindow::emptyFrequencyRestoresWithoutWriting()
{
    Fixture f;
    const PagerImage before = f.state.image;
    f.focus(f.window->txtFreq);
    QCOMPARE(f.window->txtFreq->text(), QString());
    f.leave();
    QCOMPARE(f.window->txtFreq->text(), QString("15300000"));
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(f.state.image == before);
}

void TestMainWindow::eachBandWritesItsDefaults()
{
    Fixture f;
    MainWindow &w = *f.window;
    w.cboDft->setCurrentIndex(0);
    QCOMPARE(w.txtFreq->text(), QString("93101250"));
    QCOMPARE(w.lblCHANNEL[0]->text(), QString("12.5KHz"));
    QCOMPARE(w.lblPLLR->text(), QString("2801"));
    QCOMPARE(w.lblPLLN->text(), QString("23882"));
    QCOMPARE(w.lblMUTL->text(), QString("5"));
    QCOMPARE(int(f.state.image[0x375] >> 4 & 3), 1);
    QCOMPARE(int(f.state.image[0x372]), 5);
    QCOMPARE(int(f.state.image[0x373]), 31);
    QCOMPARE(w.cboCtl[9]->currentIndex(), 0);
    QVERIFY(!w.cboChannel[0]->isVisible());

    w.cboDft->setCurrentIndex(1);
    QCOMPARE(w.txtFreq->text(), QString("46200000"));
    QCOMPARE(hex(f.state.image, 0x398, 6), QString("00 18 01 01 13 60"));
    QCOMPARE(int(f.state.image[0x397]), 3);
    QCOMPARE(w.cboChannel[0]->currentText(), QString("12.5KHz"));
    QCOMPARE(int(f.state.image[0x372]), 2);
    QCOMPARE(w.lblMUTL->text(), QString("3"));
    f.enterFrequency("46201000");
    QCOMPARE(f.messages.texts(), QStringList{"Channel Spacing Error!"});
    f.messages.clear();
    f.enterFrequency("46201250");
    QVERIFY(f.messages.shown.isEmpty());

    w.cboDft->setCurrentIndex(3);
    QCOMPARE(w.txtFreq->text(), QString("15300000"));
    QCOMPARE(hex(f.state.image, 0x398, 6), QString("08 2f 11 66 d0 00"));
    QCOMPARE(int(f.state.image[0x3F8]), 0xAA);
    QCOMPARE(int(f.state.image[0x041]), 0x70);
    QCOMPARE(int(f.state.image[0x397]), 6);
    QCOMPARE(w.Combo1[0]->currentIndex(), 0);
    QVERIFY(w.Combo1[0]->isVisible());

    // Band 0 after band 3 keeps the RoHS marker until a frequency is entered.
    w.cboDft->setCurrentIndex(0);
    QCOMPARE(int(f.state.image[0x3F8]), 0xAA);
    QCOMPARE(int(f.state.image[0x041]), 0x60);
    f.enterFrequency("93101250");
    QCOMPARE(int(f.state.image[0x3F8]), 0xFF);
    QVERIFY(f.messages.shown.isEmpty());
}

void TestMainWindow::spacingListsOfBand130To180()
{
    Fixture f;
    MainWindow &w = *f.window;
    w.cboChannel[0]->setCurrentIndex(1); // "6.25KHz"
    QCOMPARE(w.txtFreq->text(), QString("15301250"));
    QCOMPARE(int(f.state.image[0x397]), 1);
    QCOMPARE(f.state.channel_choice_100_200, 1);
    QCOMPARE(f.state.channel_choice_400_499, 1);
    QCOMPARE(w.lblCHANNEL[1]->text(), QString("6.25KHz"));
    f.enterFrequency("15300500");
    QCOMPARE(f.messages.texts(), QStringList{"Channel Spacing Error!"});
    w.cboChannel[0]->setCurrentIndex(0);
    QCOMPARE(w.txtFreq->text(), QString("15300000"));
    QCOMPARE(int(f.state.image[0x397]), 0);
    QCOMPARE(int(f.state.image[0x036] & 1), 0);
}

void TestMainWindow::gpBandSpacingChoicesResetTheFrequency()
{
    Fixture f;
    MainWindow &w = *f.window;
    w.cboDft->setCurrentIndex(3);
    f.enterFrequency("15300500"); // "5KHz": LO on the 5 kHz raster, written with the 2.5 kHz step
    QVERIFY(f.messages.shown.isEmpty());
    QCOMPARE(int(f.state.image[0x397]), 6);
    QCOMPARE(w.txtFreq->text(), QString("15300500"));
    f.enterFrequency("15300250");
    QCOMPARE(f.messages.texts(), QStringList{"Channel Spacing Error!"});
    f.messages.clear();

    w.Combo1[0]->setCurrentIndex(1); // "6.25KHz"
    QCOMPARE(w.txtFreq->text(), QString("15300000"));
    QCOMPARE(int(f.state.image[0x397]), 1);
    QCOMPARE(hex(f.state.image, 0x398, 3), QString("03 46 11"));
    QVERIFY(f.messages.shown.isEmpty());

    w.Combo1[0]->setCurrentIndex(2); // "Auto"
    QCOMPARE(f.messages.texts(), QStringList{"The Frequency Modification of Manual Write Option will be disable!"});
    QCOMPARE(int(f.state.image[0x397]), 3);
    QCOMPARE(hex(f.state.image, 0x398, 3), QString("01 a3 11"));
    QCOMPARE(int(f.state.image[0x036] & 1), 1);
    QCOMPARE(int(f.state.image[0x3F8]), 0xAA);

    // A GP(RoHS) image loaded into a fresh window leaves the list without a choice: entries
    // must fit the stored spacing (here 6.25 kHz).
    PagerImage gp = f.state.image;
    gp[0x397] = 1;
    Fixture fresh;
    fresh.state.image = gp;
    fresh.window->select_band_from_image();
    QCOMPARE(fresh.window->Combo1[0]->currentIndex(), -1);
    fresh.enterFrequency("15300100");
    QCOMPARE(fresh.messages.texts(), QStringList{"Channel Spacing Error!"});
    QCOMPARE(hex(fresh.state.image, 0x398, 6), hex(gp, 0x398, 6));
    fresh.messages.clear();
    fresh.enterFrequency("15301250");
    QVERIFY(fresh.messages.shown.isEmpty());
}

void TestMainWindow::loadedImageRebuildsSpacingLists()
{
    Fixture f;
    MainWindow &w = *f.window;
    f.state.image[0x397] = 4; // 20 kHz, only ever decoded
    w.select_band_from_image();
    QCOMPARE(w.lblCHANNEL[0]->text(), QString("20KHz"));
    QCOMPARE(w.cboChannel[0]->currentText(), QString("Auto"));
    QCOMPARE(w.cboChannel[1]->currentText(), QString("Auto"));
    QVERIFY(f.messages.shown.isEmpty());
    QVERIFY(!f.state.controls_loading);
    QVERIFY(!f.state.loaded_image_refresh);

    // A GP image selects its band without writing band defaults and decodes the digits.
    PagerImage gp = default_image();
    gp[0x3F8] = 0xAA;
    const std::uint8_t digits[] = {1, 5, 3, 0, 1, 2, 5};
    for (int k = 0; k < 7; ++k) gp[0x390 + k] = digits[k];
    f.state.image = gp;
    w.select_band_from_image();
    QCOMPARE(w.band(), 3);
    QCOMPARE(w.txtFreq->text(), QString("15301250"));
    QCOMPARE(hex(f.state.image, 0x390, 14), hex(gp, 0x390, 14));

    // A first digit of 2 keeps the band list where it was.
    PagerImage odd = default_image();
    odd[0x390] = 2;
    f.state.image = odd;
    w.select_band_from_image();
    QCOMPARE(w.band(), 3);
}

void TestMainWindow::functionBitDialogWritesEachSettingOfEachSet()
{
    Fixture f;
    struct SetAddr { int set, type, disp, pri, en; };
    const SetAddr sets[] = {{3, 0x35C, 0xEE, 0x38F, 0xED}, {0, 0x3A0, 0x2F, 0x38C, 0x38C},
                            {1, 0x3A4, 0x31, 0x38D, 0x38D}, {2, 0x3A8, 0x33, 0x38E, 0x38E}};
    for (const SetAddr &s : sets) {
        f.state.func_set_index = s.set;
        FunctionBitDialog dialog(f.state, *f.window);
        QCOMPARE(dialog.Label3->text(), s.set == 3 ? QString("#1") : QString("#%1").arg(s.set + 2));
        for (int k = 0; k < 4; ++k) {
            const QString ctx = QString("set %1 bit %2").arg(s.set).arg(k);
            dialog.cboType[k]->setCurrentIndex(0);
            dialog.cboType[k]->setCurrentIndex(k + 1); // Mail Drop k+1
            QVERIFY2(f.state.image[s.type + k] == k + 3, qPrintable(ctx));
            dialog.cboType[k]->setCurrentIndex(0);
            QCOMPARE(int(f.state.image[s.type + k]), 0);

            dialog.cboDisp[k]->setCurrentIndex(k == 3 ? 0 : 3);
            dialog.cboDisp[k]->setCurrentIndex(k);
            const int nibble = k % 2 == 0 ? f.state.image[s.disp + k / 2] >> 4 : f.state.image[s.disp + k / 2] & 15;
            QVERIFY2(nibble == k, qPrintable(ctx));

            const bool pri = dialog.chkPri[k]->isChecked();
            dialog.chkPri[k]->setChecked(!pri);
            QVERIFY2(f.state.image.field_get(s.pri, 7 - k, 1) == (pri ? 0 : 1), qPrintable(ctx));
            const bool en = dialog.chkFunEn[k]->isChecked();
            dialog.chkFunEn[k]->setChecked(!en);
            QVERIFY2(f.state.image.field_get(s.en, k, 1) == (en ? 0 : 1), qPrintable(ctx));
        }
        // The summaries on the main window follow each change.
        QCOMPARE(f.window->tlblType[s.set]->text(), QString("PPPP"));
        QCOMPARE(f.window->tlblDisp[s.set]->text(), QString("NPAI"));
    }
}

void TestMainWindow::functionBitDialogShowsValuesWithoutEntries()
{
    Fixture f;
    f.state.image[0x3A4] = 255;
    f.state.image[0x3A5] = 1;
    f.state.image[0x3A6] = 2;
    f.state.image[0x31] = 0x40; // display nibble 4
    f.state.func_set_index = 1;
    const PagerImage before = f.state.image;
    FunctionBitDialog dialog(f.state, *f.window);
    QCOMPARE(dialog.cboType[0]->currentIndex(), -1);
    QCOMPARE(dialog.cboType[1]->currentIndex(), -1);
    QCOMPARE(dialog.cboDisp[0]->currentIndex(), -1);
    QVERIFY(f.state.image == before); // opening writes nothing
    f.window->read_Type();
    QCOMPARE(f.window->tlblType[1]->text().left(1), QString("G"));
}

void TestMainWindow::disabledFunctionBitsShowTheNoteAfterOk()
{
    Fixture f;
    f.state.func_set_index = 1; // capcode #3
    FunctionBitDialog dialog(f.state, *f.window);
    dialog.show();
    for (int k = 0; k < 4; ++k) dialog.chkFunEn[k]->setChecked(false);
    QVERIFY(!f.window->EnToolTip[1]->isVisible());
    QTest::mouseClick(dialog.Command1, Qt::LeftButton);
    QVERIFY(f.window->EnToolTip[1]->isVisible());
    QCOMPARE(f.window->EnToolTip[1]->text(), QString(" Note:Capcode #3 will be disable"));
    QVERIFY(!f.window->EnToolTip[0]->isVisible());
    // The enable box of capcode #3 refreshes its note too.
    f.state.image[0x38D] |= 1;
    f.window->chkCtl[12]->setChecked(true);
    QVERIFY(!f.window->EnToolTip[1]->isVisible());
}

void TestMainWindow::settingsPresetAutoShowsTheFrequencyFrameList()
{
    InstallationSettings s;
    s.channelPreset100_200 = 2;
    Fixture f(s);
    QVERIFY(f.window->Picture2->isVisible());
    QVERIFY(f.window->cboChannel[1]->isVisible());
    // "Auto" as a preset starts the band at 5 kHz.
    QCOMPARE(int(f.state.image[0x397]), 0);
    QCOMPARE(f.window->cboChannel[1]->currentText(), QString("5KHz"));
    f.window->cboChannel[1]->setCurrentIndex(2);
    QCOMPARE(f.state.channel_choice_100_200, 2);
    f.messages.clear();
    f.enterFrequency("15301250");
    QCOMPARE(int(f.state.image[0x397]), 3);
}

void TestMainWindow::pagesHaveNoOverlappingOrClippedControls()
{
    Fixture f;
    const QString shots = qEnvironmentVariable("ZR730_SHOT_DIR");
    // Controls that lie on top of each other by design: the tab buttons over their captions and
    // the two spacing lists of each panel.
    auto intended = [](const QWidget *a, const QWidget *b) {
        const QSet<QString> pair{a->objectName(), b->objectName()};
        static const QList<QSet<QString>> pairs{{"EMoptCode", "Label14"}, {"EMoptStatus", "Label15"},
                                                {"EMoptPrompts", "lblPEdit"}, {"cboChannel(0)", "Combo1(0)"},
                                                {"cboChannel(1)", "Combo1(1)"}};
        return pairs.contains(pair) || a->objectName().startsWith("picSet") || b->objectName().startsWith("picSet");
    };
    // Code, Alerts, the text prompt page, then the Russian page with its keyboard.
    for (int page = 0; page < 4; ++page) {
        if (page == 3) f.window->prompts().cboLng->setCurrentIndex(5);
        page == 0 ? f.window->showCodePage() : page == 1 ? f.window->showAlertsPage() : f.window->showPromptsPage();
        QCoreApplication::processEvents();
        if (!shots.isEmpty()) f.window->grab().save(QString("%1/page%2.png").arg(shots).arg(page));
        QWidget *pages[] = {f.window->picSet1, f.window->picSet2, f.window->picSet5, f.window->picSet6};
        zr730::testing::verify_layout(pages[page], intended);
        if (QTest::currentTestFailed()) return;
    }
    QWidget *keyboard = f.window->prompts().russian().keyboard();
    QVERIFY(keyboard && keyboard->isVisible());
    if (!shots.isEmpty()) keyboard->grab().save(shots + "/keyboard.png");
    zr730::testing::verify_layout(keyboard);
}

void TestMainWindow::mouseOverTheBackgroundCommitsAnEdit()
{
    Fixture f;
    f.type(f.window->txtAddr[3], "77");
    QTest::mouseMove(f.window->picTabBack, QPoint(4, f.window->picTabBack->height() - 4));
    QCoreApplication::processEvents();
    QVERIFY(f.window->picTabBack->hasFocus());
    QCOMPARE(f.window->txtAddr[3]->text(), QString("0000077"));
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
