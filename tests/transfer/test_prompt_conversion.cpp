// The national character conversion of the prompt texts between PC and pager codes.
#include <QtTest>

#include <map>
#include <set>
#include <vector>

#include "image/defaults.h"
#include "transfer/prompt_conversion.h"

using namespace zr730;

namespace {

using Table = std::map<int, int>; // PC code → pager code

const std::map<int, Table> &tables()
{
    static const std::map<int, Table> t{
        {5, {{161, 35}, {199, 91}, {209, 92}, {186, 93}, {170, 94}, {191, 96}, {231, 123}, {241, 124}, {220, 125}, {252, 126}}},
        {6, {{163, 35}, {224, 64}, {176, 91}, {231, 92}, {167, 93}, {233, 123}, {249, 124}, {232, 125}, {175, 126}}},
        {8, {{167, 64}, {196, 91}, {214, 92}, {220, 93}, {228, 123}, {246, 124}, {252, 125}, {223, 126}}},
        {15, {{163, 35}, {200, 64}, {196, 91}, {214, 92}, {197, 93}, {220, 94}, {233, 96}, {228, 123}, {246, 124}, {229, 125}, {252, 126}}},
    };
    return t;
}

bool isPromptText(int a)
{
    for (int i = 0; i < kPromptCount; ++i) {
        const int text = prompt_address(i) + 2;
        if (a >= text && a < text + kPromptTextSize) return true;
    }
    return false;
}

// An image whose every byte is its address's low byte, with character set l.
PagerImage patterned(int l)
{
    PagerImage image;
    for (int a = 0; a < kImageSize; ++a) image[a] = std::uint8_t(a);
    image[kCharacterSetAddress] = std::uint8_t(0x30 | l);
    return image;
}

} // namespace

class TestPromptConversion : public QObject {
    Q_OBJECT
private slots:
    void everyTableEntryConvertsBothWays_data();
    void everyTableEntryConvertsBothWays();
    void unlistedCodesStayAsTheyAre();
    void otherCharacterSetsConvertNothing();
    void onlyTheTextBytesOfPromptRecordsAreConverted();
    void layoutByte0x40SurvivesAWriteAndRead_data();
    void layoutByte0x40SurvivesAWriteAndRead();
    void germanUmlautTravelsAsTheBraceAndABraceReadsBackAsUmlaut();
    void characterSetComesFromTheLowFourBitsOf0x03A();
};

void TestPromptConversion::everyTableEntryConvertsBothWays_data()
{
    QTest::addColumn<int>("l");
    QTest::newRow("Spanish") << 5;
    QTest::newRow("French") << 6;
    QTest::newRow("German") << 8;
    QTest::newRow("Swedish") << 15;
}

void TestPromptConversion::everyTableEntryConvertsBothWays()
{
    QFETCH(int, l);
    for (const auto &[pc, pager] : tables().at(l)) {
        QCOMPARE(int(char_to_pager(l, std::uint8_t(pc))), pager);
        QCOMPARE(int(char_to_pc(l, std::uint8_t(pager))), pc);
    }
}

void TestPromptConversion::unlistedCodesStayAsTheyAre()
{
    for (const auto &[l, table] : tables()) {
        std::set<int> pagerCodes;
        for (const auto &entry : table) pagerCodes.insert(entry.second);
        for (int c = 0; c < 256; ++c) {
            if (!table.count(c)) QCOMPARE(int(char_to_pager(l, std::uint8_t(c))), c);
            if (!pagerCodes.count(c)) QCOMPARE(int(char_to_pc(l, std::uint8_t(c))), c);
        }
    }
}

void TestPromptConversion::otherCharacterSetsConvertNothing()
{
    for (int l : {0, 1, 2, 3, 4, 7, 9, 10, 14}) {
        for (int c = 0; c < 256; ++c) {
            QCOMPARE(int(char_to_pager(l, std::uint8_t(c))), c);
            QCOMPARE(int(char_to_pc(l, std::uint8_t(c))), c);
        }
        PagerImage image = patterned(l);
        const PagerImage before = image;
        prompt_to_pager(image);
        QVERIFY(image == before);
    }
}

void TestPromptConversion::onlyTheTextBytesOfPromptRecordsAreConverted()
{
    // Swedish converts 0x40 (64), which also appears as a layout byte.
    for (auto convert : {&prompt_to_pager, &prompt_to_pc}) {
        PagerImage image;
        for (int a = 0; a < kImageSize; ++a) image[a] = (a == kCharacterSetAddress) ? 15 : (convert == &prompt_to_pager ? 200 : 64);
        const PagerImage before = image;
        convert(image);
        for (int a = 0; a < kImageSize; ++a) {
            if (isPromptText(a))
                QVERIFY2(image[a] != before[a], qPrintable(QString::number(a, 16)));
            else
                QVERIFY2(image[a] == before[a], qPrintable(QString::number(a, 16)));
        }
    }
    // The text regions: 29 records from 0x100 and 2 from 0x3B0.
    QVERIFY(isPromptText(0x102) && isPromptText(0x113) && !isPromptText(0x114) && !isPromptText(0x115));
    QVERIFY(isPromptText(0x343) && !isPromptText(0x344) && isPromptText(0x3D7) && !isPromptText(0x3D8));
}

void TestPromptConversion::layoutByte0x40SurvivesAWriteAndRead_data()
{
    QTest::addColumn<int>("l");
    QTest::newRow("French") << 6;
    QTest::newRow("German") << 8;
    QTest::newRow("Swedish") << 15;
}

void TestPromptConversion::layoutByte0x40SurvivesAWriteAndRead()
{
    QFETCH(int, l);
    PagerImage image = default_image();
    image[kCharacterSetAddress] = std::uint8_t((image[kCharacterSetAddress] & 0xF0) | l);
    for (int i = 0; i < kPromptCount; ++i) {
        image[prompt_address(i)] = 0x40; // 0 leading blanks
        image[prompt_address(i) + 1] = 0x40;
    }
    const PagerImage onScreen = image;

    PagerImage pager = image;
    prompt_to_pager(pager);
    for (int i = 0; i < kPromptCount; ++i) {
        QCOMPARE(int(pager[prompt_address(i)]), 0x40);
        QCOMPARE(int(pager[prompt_address(i) + 1]), 0x40);
    }
    prompt_to_pc(pager); // read back
    for (int i = 0; i < kPromptCount; ++i) {
        QCOMPARE(int(pager[prompt_address(i)]), 0x40);
        QCOMPARE(int(pager[prompt_address(i) + 1]), 0x40);
    }
    QVERIFY(pager == onScreen); // default prompts hold no code the tables swap
}

void TestPromptConversion::germanUmlautTravelsAsTheBraceAndABraceReadsBackAsUmlaut()
{
    PagerImage image;
    image[kCharacterSetAddress] = 8;
    const int text = prompt_address(3) + 2;
    image[text] = 228;     // ä
    image[text + 1] = 123; // {
    prompt_to_pager(image);
    QCOMPARE(int(image[text]), 123);
    QCOMPARE(int(image[text + 1]), 123);
    prompt_to_pc(image);
    QCOMPARE(int(image[text]), 228);
    QCOMPARE(int(image[text + 1]), 228);
}

void TestPromptConversion::characterSetComesFromTheLowFourBitsOf0x03A()
{
    PagerImage image;
    image[kCharacterSetAddress] = 0xA6; // French
    image[prompt_address(30) + 19] = 233; // é in the last text byte of the last record
    prompt_to_pager(image);
    QCOMPARE(int(image[prompt_address(30) + 19]), 123);
}

QTEST_GUILESS_MAIN(TestPromptConversion)
#include "test_prompt_conversion.moc"
