// Prompt records: the storing rule, alignment, languages and defaults, the code page, and the
// Russian page's rows and cells.
#include <QtTest>

#include "image/cp1252.h"
#include "image/defaults.h"
#include "image/prompts.h"

using namespace zr730;

namespace {
PromptLine line(const QByteArray &latin1) { return PromptLine(latin1.begin(), latin1.end()); }
QByteArray bytes(const PagerImage &img, int a, int n) { return QByteArray(reinterpret_cast<const char *>(&img.bytes()[a]), n); }
} // namespace

class TestPrompts : public QObject {
    Q_OBJECT
private slots:
    void storingRule_data();
    void storingRule();
    void alignmentWidths();
    void languagesSetTheirCodesAndBlocks();
    void loadDefaultFromBothBlocks();
    void everyByteSurvivesTheCodePage();
    void longLengthBytesShowEighteenCharacters();
    void russianRowsAndCells();
};

void TestPrompts::storingRule_data()
{
    QTest::addColumn<int>("box");
    QTest::addColumn<QByteArray>("typed");
    QTest::addColumn<int>("layout"); // -1: refused, nothing changes
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("logoShown");
    QTest::newRow("two blanks, HELLO") << 3 << QByteArray("  HELLO ") << 2 << QByteArray("HELLO") << 2;
    QTest::newRow("19 blanks keep 4 in the text") << 5 << QByteArray(19, ' ') + "AB" << 15 << QByteArray("    AB") << 2;
    QTest::newRow("empty logo") << 0 << QByteArray("   ") << 3 << QByteArray(" ") << 0;
    QTest::newRow("typed logo") << 0 << QByteArray(" ACME") << 1 << QByteArray("ACME") << 2;
    QTest::newRow("19 characters refused") << 5 << QByteArray("ABCDEFGHIJKLMNOPQRS") << -1 << QByteArray() << 2;
    QTest::newRow("German letters") << 2 << QByteArray("\xE4\xDF") << 0 << QByteArray("\xE4\xDF") << 2;
}

void TestPrompts::storingRule()
{
    QFETCH(int, box);
    QFETCH(QByteArray, typed);
    QFETCH(int, layout);
    QFETCH(QByteArray, text);
    QFETCH(int, logoShown);
    PagerImage img = default_image();
    img.field_set(kLogoShownAddress, 0, 2, 2);
    const int a = prompt_address(box);
    img[a] |= 0x40;
    const PagerImage before = img;
    const StoreResult r = store_prompt(img, box, line(typed));
    if (layout < 0) {
        QCOMPARE(int(r), int(StoreResult::TooLong));
        QVERIFY(img == before);
        return;
    }
    QCOMPARE(int(img[a]), (before[a] & 0xF0) | layout);
    QCOMPARE(int(img[a + 1]), int(text.size()));
    QCOMPARE(bytes(img, a + 2, int(text.size())), text);
    QCOMPARE(bytes(img, a + 2 + int(text.size()), 18 - int(text.size())),
             bytes(before, a + 2 + int(text.size()), 18 - int(text.size()))); // the rest unchanged
    QCOMPARE(int(img.field_get(kLogoShownAddress, 0, 2)), logoShown);
}

void TestPrompts::alignmentWidths()
{
    const PromptLine ten = line("  0123456789 ");
    QCOMPARE(align_line(ten, kSmallWidth, Align::Center), line("     0123456789"));
    QCOMPARE(align_line(ten, kSmallWidth, Align::Right), line(QByteArray(11, ' ') + "0123456789"));
    QCOMPARE(align_line(ten, kLargeWidth, Align::Right), line("      0123456789"));
    QCOMPARE(align_line(ten, kLargeWidth, Align::Left), line("0123456789"));
    const PromptLine long18 = line("ABCDEFGHIJKLMNOPQR");
    QCOMPARE(align_line(long18, kLargeWidth, Align::Center), long18); // no negative blanks
    QCOMPARE(align_line(long18, kLargeWidth, Align::Right), long18);
}

void TestPrompts::languagesSetTheirCodesAndBlocks()
{
    for (int i = 0; i < int(kPromptLanguages.size()); ++i) {
        PagerImage img = default_image();
        img[0x3A] = 0xA0;
        img[0x3E] = 0xB0;
        img[0x3B] = 0xF0;
        img[0x100 + 3] = 'x'; // an edited logo is discarded
        select_language(img, i);
        const int code = kPromptLanguages[std::size_t(i)].code;
        QCOMPARE(int(img[0x3A]), 0xA0 | code);
        QCOMPARE(int(img[0x3E]), 0xB0 | code);
        QCOMPARE(int(img[0x3B]), 0xF2);
        QCOMPARE(language_index(img), std::optional<int>(i));
        PagerImage expected = img;
        copy_prompt_set(expected, i == 4 ? PromptSetId::English : kPromptLanguages[std::size_t(i)].defaults);
        QVERIFY2(img == expected, kPromptLanguages[std::size_t(i)].entry.data());
    }
    PagerImage german = default_image();
    select_language(german, 3);
    QVERIFY(bytes(german, 0x100, 0x244).contains("\xE4") && bytes(german, 0x100, 0x244).contains("\xDF"));
}

void TestPrompts::loadDefaultFromBothBlocks()
{
    PagerImage img;
    load_default_prompt(img, 5, 2);  // French main block
    load_default_prompt(img, 30, 4); // Swedish: English extra block
    const PromptRecord fr = prompt_record(PromptSetId::French, 5), en = prompt_record(PromptSetId::English, 30);
    QCOMPARE(bytes(img, 0x164, 20), QByteArray(reinterpret_cast<const char *>(fr.data()), 20));
    QCOMPARE(bytes(img, 0x3C4, 20), QByteArray(reinterpret_cast<const char *>(en.data()), 20));
    QCOMPARE(int(img[0x163]) + int(img[0x178]), 0); // neighbours untouched
}

void TestPrompts::everyByteSurvivesTheCodePage()
{
    for (int b = 0; b < 256; ++b) QCOMPARE(int(unicode_to_cp1252(cp1252_to_unicode(std::uint8_t(b))).value_or(-1)), b);
    QCOMPARE(int(cp1252_to_unicode(0x80)), 0x20AC);
    QCOMPARE(int(cp1252_to_unicode(0x9D)), 0x9D);
    QVERIFY(!unicode_to_cp1252(0x0416)); // Ж has no byte
    QVERIFY(!unicode_to_cp1252(0x0080)); // nor a C1 control the code page uses for a letter
}

void TestPrompts::longLengthBytesShowEighteenCharacters()
{
    PagerImage img = default_image();
    img[0x3C4] = 0x0F;
    img[0x3C5] = 200;
    const PromptLine shown = prompt_shown(img, 30);
    QCOMPARE(int(shown.size()), 15 + 18);
}

void TestPrompts::russianRowsAndCells()
{
    const QList<QPair<int, int>> cells{{0, 0x116}, {17, 0x127}, {557, 0x343}, {560, 0x3B2}, {577, 0x3C3}, {580, 0x3C6}};
    for (const auto &[k, a] : cells) QCOMPARE(cell_address(k), a);

    PagerImage img = default_image();
    const int a = russian_row_address(4);
    img[a] = 0x43;
    img[a + 1] = 0x12;
    const QByteArray row = QByteArray("\x61\x62") + QByteArray(16, ' ');
    std::copy(row.begin(), row.end(), img.bytes().begin() + a + 2);
    align_russian_row(img, 4, Align::Right);
    QCOMPARE(bytes(img, a, 20), QByteArray("\x43\x12") + QByteArray(16, ' ') + "\x61\x62");
    align_russian_row(img, 4, Align::Center);
    QCOMPARE(bytes(img, a + 2, 18), QByteArray(8, ' ') + "\x61\x62" + QByteArray(8, ' '));
    align_russian_row(img, 4, Align::Left);
    QCOMPARE(bytes(img, a + 2, 18), row);
}

QTEST_APPLESS_MAIN(TestPrompts)
#include "test_prompts.moc"
