// The encodings of the alert and status options in the image, in both directions.
#include <QtTest>

#include "image/alert_options.h"
#include "image/defaults.h"

using namespace zr730;

class TestAlertOptions : public QObject {
    Q_OBJECT
private slots:
    void alertLengthsStoreTheirBytesAndSummaries_data();
    void alertLengthsStoreTheirBytesAndSummaries();
    void timersSwitchOffWithoutLosingTheirTime();
    void toneDecodesEveryStoredByte();
    void menuListPutsEnabledCodesLast_data();
    void menuListPutsEnabledCodesLast();
};

void TestAlertOptions::alertLengthsStoreTheirBytesAndSummaries_data()
{
    QTest::addColumn<int>("slot"); // 0 personal, 1 … 5 mail drops
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("flagByte"); // 0x3B for personal, 0x37 for mail drops
    QTest::addColumn<QString>("summary");
    QTest::newRow("2 sec") << 0 << 0 << 2 << 0x00 << "02";
    QTest::newRow("32 sec") << 0 << 3 << 32 << 0x00 << "32";
    QTest::newRow("continuos") << 0 << 4 << 255 << 0x80 << "CT";
    QTest::newRow("M1 beep") << 1 << 1 << 0 << 0x80 << "BP";
    QTest::newRow("M3 16 sec") << 3 << 3 << 16 << 0x20 << "16";
    QTest::newRow("M5 1 sec") << 5 << 2 << 1 << 0x08 << "01";
    QTest::newRow("M3 disable keeps the byte") << 3 << 0 << 77 << 0x00 << "--";
}

void TestAlertOptions::alertLengthsStoreTheirBytesAndSummaries()
{
    QFETCH(int, slot);
    QFETCH(int, index);
    QFETCH(int, byte);
    QFETCH(int, flagByte);
    QFETCH(QString, summary);
    PagerImage img = default_image();
    img[0x3B] = 0xFF & ~0x80;        // the other option bits stay as they are
    img[0x37] = 0x07;
    img[0xD0 + slot] = 77;
    if (slot == 0) {
        img[0x3B] |= 0x80; // a continuous length before: the flag is cleared first
        set_personal_alert(img, index);
        QCOMPARE(int(img[0x3B]), 0x7F | flagByte);
        QCOMPARE(personal_alert_index(img), std::optional<int>(index));
    } else {
        set_mail_alert(img, slot - 1, index);
        QCOMPARE(int(img[0x37]), 0x07 | flagByte);
        QCOMPARE(mail_alert_index(img, slot - 1), std::optional<int>(index));
    }
    QCOMPARE(int(img[0xD0 + slot]), byte);
    QCOMPARE(QString::fromUtf8(alert_summary(img, slot).value_or("?").data(), 2), summary);
}

void TestAlertOptions::timersSwitchOffWithoutLosingTheirTime()
{
    for (const TimerOption t : {kOutOfRange, kSequentialLockout}) {
        PagerImage img;
        img[t.address] = 0xC0 | (t.timeBit == 1 ? 0x10 : 0x30); // neighbouring fields
        const int others = img[t.address];
        set_timer(img, t, 3); // "5 min" / "120 seconds"
        QCOMPARE(int(img.field_get(t.address, t.timeBit, 2)), 2);
        QCOMPARE(timer_index(img, t), 3);
        set_timer(img, t, 0);
        QCOMPARE(timer_index(img, t), 0);
        QCOMPARE(int(img.field_get(t.address, t.timeBit, 2)), 2);
        set_timer(img, t, 4);
        QCOMPARE(int(img[t.address]), others | 0x08 | (3 << t.timeBit));
    }
}

void TestAlertOptions::toneDecodesEveryStoredByte()
{
    const QList<QPair<int, int>> shown{{1, 0}, {4, 1}, {5, 2}, {6, 3}, {7, 4}, {32, 4}, {0, 0}, {2, 0}, {237, 0}};
    for (const auto &[stored, index] : shown) QCOMPARE(tone_index(stored), index);
    PagerImage img;
    const int codes[] = {1, 4, 5, 6, 32};
    for (int i = 0; i < 5; ++i) {
        set_tone(img, i);
        QCOMPARE(int(img[0xF7]), codes[i]);
    }
}

void TestAlertOptions::menuListPutsEnabledCodesLast_data()
{
    QTest::addColumn<QString>("disabled"); // one character per menu item, 'x' = disabled
    QTest::addColumn<QString>("list");
    QTest::newRow("all enabled") << "......." << "16 17 18 19 20 21 22";
    QTest::newRow("pager off and zoom in") << ".x....x" << "255 255 16 18 19 20 21";
    QTest::newRow("all disabled") << "xxxxxxx" << "255 255 255 255 255 255 255";
}

void TestAlertOptions::menuListPutsEnabledCodesLast()
{
    QFETCH(QString, disabled);
    QFETCH(QString, list);
    std::array<bool, kMenuItemCount> d{};
    for (int k = 0; k < kMenuItemCount; ++k) d[std::size_t(k)] = disabled[k] == 'x';
    PagerImage img;
    set_menu_list(img, d);
    QStringList bytes;
    for (int j = 0; j < kMenuItemCount; ++j) bytes << QString::number(img[0xC0 + j]);
    QCOMPARE(bytes.join(' '), list);
    QVERIFY(menu_disabled(img) == d);
}

QTEST_APPLESS_MAIN(TestAlertOptions)
#include "test_alert_options.moc"
