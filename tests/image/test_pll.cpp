#include <QtTest>

#include "image/defaults.h"
#include "image/pll.h"

using namespace zr730;

class TestPll : public QObject {
    Q_OBJECT
private slots:
    void synthesizerWordsOfTheWorkedExamples_data();
    void synthesizerWordsOfTheWorkedExamples();
    void frequencyDigitsDropTheTenHertzDigit();
    void automaticSpacingPicksTheCoarsestRaster_data();
    void automaticSpacingPicksTheCoarsestRaster();
    void gpSpacingFollowsItsList();
    void bandLimitsComeFromTheEntryText();
    void decodingGivesBackTheFrequency();
    void spacingCodesDecode();
};

void TestPll::synthesizerWordsOfTheWorkedExamples_data()
{
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("f");
    QTest::addColumn<float>("khz");
    QTest::addColumn<int>("mutl");
    QTest::addColumn<QByteArray>("words"); // 0x398–0x39D
    QTest::addColumn<int>("rohs");
    QTest::newRow("band 2, 12.5 kHz") << 2 << 15300000 << 12.5f << 2 << QByteArray("\x00\x10\x01\x00\x52\x40", 6) << 0xFF;
    QTest::newRow("band 2, 5 kHz") << 2 << 15300000 << 5.0f << 2 << QByteArray("\x00\x28\x01\x00\xCD\xA0", 6) << 0xFF;
    QTest::newRow("band 1, 12.5 kHz") << 1 << 46200000 << 12.5f << 3 << QByteArray("\x00\x18\x01\x01\x13\x60", 6) << 0xFF;
    QTest::newRow("band 0 defaults") << 0 << 93101250 << 12.5f << 5 << QByteArray("\x00\x28\x01\x02\x38\x82", 6) << 0xFF;
    QTest::newRow("band 3, 2.5 kHz") << 3 << 15300000 << 2.5f << 1 << QByteArray("\x08\x2F\x11\x66\xD0\x00", 6) << 0xAA;
}

void TestPll::synthesizerWordsOfTheWorkedExamples()
{
    QFETCH(int, band);
    QFETCH(int, f);
    QFETCH(float, khz);
    QFETCH(int, mutl);
    QFETCH(QByteArray, words);
    QFETCH(int, rohs);
    PagerImage img;
    img[0x3F8] = band == 3 ? 0xFF : 0xAA;
    SetFreqPLL(img, std::uint32_t(f), double(f), band, khz, mutl);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&img.bytes()[0x398]), 6).toHex(' '), words.toHex(' '));
    QCOMPARE(int(img[0x3F8]), rohs);
}

void TestPll::frequencyDigitsDropTheTenHertzDigit()
{
    PagerImage img;
    SetFreqPLL(img, 93101259, 93101259.0, 0, 12.5f, 5);
    const std::uint8_t digits[] = {9, 3, 1, 0, 1, 2, 5};
    for (int k = 0; k < 7; ++k) QCOMPARE(img[0x390 + k], digits[k]);
    QCOMPARE(frequency_from_digits(img), 93101250LL);
    // GP R bytes for the other steps; an unknown step keeps 0x398/0x399.
    SetFreqPLL(img, 15300000, 15300000.0, 3, 12.5f, 1);
    QCOMPARE(int(img[0x398]), 0x01);
    QCOMPARE(int(img[0x399]), 0xA3);
    SetFreqPLL(img, 15300000, 15300000.0, 3, 6.25f, 1);
    QCOMPARE(int(img[0x398]), 0x03);
    QCOMPARE(int(img[0x399]), 0x46);
    SetFreqPLL(img, 15300000, 15300000.0, 3, 5.0f, 1);
    QCOMPARE(int(img[0x398]), 0x03);
    QCOMPARE(int(img[0x39A]), 0x11);
}

void TestPll::automaticSpacingPicksTheCoarsestRaster_data()
{
    QTest::addColumn<double>("entry");
    QTest::addColumn<int>("code");
    QTest::newRow("12.5 kHz") << 15301250.0 << 3;
    QTest::newRow("10 kHz") << 15301000.0 << 2;
    QTest::newRow("6.25 kHz") << 15300625.0 << 1;
    QTest::newRow("5 kHz") << 15300500.0 << 0;
    QTest::newRow("2.5 kHz") << 15300250.0 << 6;
    QTest::newRow("off raster") << 15300100.0 << -1;
    QTest::newRow("band 1 high, no overflow") << 49900000.0 << 3;
}

void TestPll::automaticSpacingPicksTheCoarsestRaster()
{
    QFETCH(double, entry);
    QFETCH(int, code);
    const auto c = auto_spacing(entry);
    QCOMPARE(c ? c->code : -1, code);
}

void TestPll::gpSpacingFollowsItsList()
{
    QVERIFY(gp_spacing(15300500, 0).ok);
    QCOMPARE(gp_spacing(15300500, 0).choice->code, 6);
    QVERIFY(!gp_spacing(15300250, 0).ok);
    QCOMPARE(gp_spacing(15300625, 1).choice->code, 1);
    QVERIFY(!gp_spacing(15300500, 1).ok);
    QCOMPARE(gp_spacing(15301250, 2).choice->code, 3);
    QCOMPARE(gp_spacing(15300625, 2).choice->code, 1);
    QCOMPARE(gp_spacing(15300250, 2).choice->code, 6);
    QVERIFY(!gp_spacing(15300100, 2).ok);
    // No selection: nothing is checked and the spacing is kept.
    QVERIFY(gp_spacing(15300100, -1).ok);
    QVERIFY(!gp_spacing(15300100, -1).choice);
}

void TestPll::bandLimitsComeFromTheEntryText()
{
    QCOMPARE(band_limits("130-180MHz").lower, 13000000LL);
    QCOMPARE(band_limits("130-180MHz").upper, 18000000LL);
    QCOMPARE(band_limits("929-932MHz").lower, 92900000LL);
    QCOMPARE(band_limits("380-499MHz").upper, 49900000LL);
    QCOMPARE(band_limits("130-180MHz-GP(RoHS)").upper, 18000000LL);
}

void TestPll::decodingGivesBackTheFrequency()
{
    PagerImage img;
    SetFreqPLL(img, 46201250, 46201250.0, 1, 12.5f, 3);
    QCOMPARE(frequency_from_n_word(word24(img, 0x39B), 12.5f), 46201250LL);
    SetFreqPLL(img, 15300000, 15300000.0, 2, 5.0f, 2);
    QCOMPARE(frequency_from_n_word(word24(img, 0x39B), 5.0f), 15300000LL);
    std::copy(kBand0Pll.begin(), kBand0Pll.end(), img.bytes().begin() + 0x398);
    QCOMPARE(frequency_from_n_word(word24(img, 0x39B), 12.5f), 93101250LL);
    QCOMPARE(word24(img, 0x398), 0x2801u);
    QCOMPARE(word24(img, 0x39B), 0x23882u);
}

void TestPll::spacingCodesDecode()
{
    QCOMPARE(spacing_caption(*spacing_khz_from_code(0)), std::string("5KHz"));
    QCOMPARE(spacing_caption(*spacing_khz_from_code(1)), std::string("6.25KHz"));
    QCOMPARE(spacing_caption(*spacing_khz_from_code(3)), std::string("12.5KHz"));
    QCOMPARE(spacing_caption(*spacing_khz_from_code(4)), std::string("20KHz"));
    QCOMPARE(spacing_caption(*spacing_khz_from_code(6)), std::string("2.5KHz"));
    QVERIFY(!spacing_khz_from_code(7));
    QCOMPARE(spacing_step_hz(6.25f), 6250);
}

QTEST_GUILESS_MAIN(TestPll)
#include "test_pll.moc"
