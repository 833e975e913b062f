#include <QtTest>

#include <set>

#include "image/capcodes.h"
#include "image/defaults.h"
#include "image/descriptor.h"
#include "image/field_catalogue.h"
#include "image/image.h"
#include "image/memory_map.h"
#include "factory_tables.h"

using namespace zr730;

class TestImage : public QObject {
    Q_OBJECT
private slots:
    void fieldOperationsAtTheBitEdges();
    void descriptorsBindOnlyWithFourParts();
    void memoryMapFieldsFitAndNeverOverlap();
    void catalogueCoversEveryBitExactlyOnce();
    void defaultImageHoldsTheFactoryValues();
    void defaultImageBlocksMeetAtTheirBoundaries();
    void defaultImageMatchesTheFactoryTablesByteForByte();
    void promptSetsMatchTheFactoryTablesRecordForRecord();
    void promptSetsAreThirtyOneRecordsOfTwentyBytes();
    void germanAndRussianPromptSetsKeepTheirOddRecords();
    void capcodeRecordsKeepTheEnableFlag();
    void functionBitSummariesShowUnusualValues();
    void textValuesShowEveryByteOnOneLine_data();
    void textValuesShowEveryByteOnOneLine();
};

void TestImage::fieldOperationsAtTheBitEdges()
{
    PagerImage img;
    img[0x3C] = 0x0F;
    img.field_set(0x3C, 6, 3, 2);
    QCOMPARE(int(img[0x3C]), 0xCF);
    QCOMPARE(int(img.field_get(0x3C, 6, 2)), 3);
    QCOMPARE(int(img.field_get(0x3C, 0, 4)), 0x0F);

    // Lowest and highest bit, full byte, and clearing inside a set byte.
    img[0x10] = 0xFF;
    img.field_set(0x10, 0, 0, 1);
    QCOMPARE(int(img[0x10]), 0xFE);
    img.field_set(0x10, 7, 0, 1);
    QCOMPARE(int(img[0x10]), 0x7E);
    img.field_set(0x10, 0, 0xA5, 8);
    QCOMPARE(int(img[0x10]), 0xA5);
    QCOMPARE(int(img.field_get(0x10, 0, 8)), 0xA5);
    QCOMPARE(int(img.field_get(0x10, 7, 1)), 1);
    img.field_set(0x10, 4, 0, 4);
    QCOMPARE(int(img[0x10]), 0x05);
    // The last address of the image.
    img.field_set(kImageLastIndex, 3, 5, 3);
    QCOMPARE(int(img[1023]), 5 << 3);
}

void TestImage::descriptorsBindOnlyWithFourParts()
{
    auto d = parse_descriptor("&H39,2,1,cbo");
    QVERIFY(d);
    QCOMPARE(d->address, 0x39);
    QCOMPARE(d->bit, 2);
    QCOMPARE(d->width, 1);
    QCOMPARE(d->kind, FieldKind::Cbo);
    // A layout record appended as a fifth part does not disturb the descriptor.
    d = parse_descriptor("&H375,4,2,cboBaud,#12#30#90#21#8#");
    QVERIFY(d);
    QCOMPARE(d->address, 0x375);
    QCOMPARE(d->kind, FieldKind::CboBaud);
    // Prompt boxes: two parts, and three once a layout record is appended.
    QVERIFY(!parse_descriptor("&H100,1"));
    QVERIFY(!parse_descriptor("&H100,1,#1#2#3#4#8#"));
    QVERIFY(!parse_descriptor(""));
    // Kinds are compared exactly.
    QCOMPARE(parse_descriptor("&H3A,5,1,CHK")->kind, FieldKind::Other);
    QCOMPARE(parse_descriptor("&H3A,5,1,chkN")->kind, FieldKind::ChkN);
    QCOMPARE(parse_descriptor("&H3F,0,4,Lng")->kind, FieldKind::Lng);
}

void TestImage::catalogueCoversEveryBitExactlyOnce()
{
    std::array<int, kImageSize * 8> owners{};
    std::set<std::string> names;
    for (const CatalogueField &f : field_catalogue()) {
        QVERIFY2(names.insert(f.name).second, f.name.c_str());
        QVERIFY2(f.address >= 0 && f.address + f.length <= kImageSize && f.width >= 1 && f.bit + f.width <= 8,
                 f.name.c_str());
        for (int b = f.bit; b < f.bit + f.width; ++b) ++owners[std::size_t(f.address * 8 + b)];
        for (int a = f.address + 1; a < f.address + f.length; ++a)
            for (int b = 0; b < 8; ++b) ++owners[std::size_t(a * 8 + b)];
    }
    for (int i = 0; i < kImageSize * 8; ++i)
        QVERIFY2(owners[std::size_t(i)] == 1, qPrintable(QStringLiteral("0x%1 bit %2 has %3 fields")
                                                              .arg(i / 8, 3, 16, QLatin1Char('0'))
                                                              .arg(i % 8)
                                                              .arg(owners[std::size_t(i)])));
    // Every bound control's field is in the catalogue at the map's place.
    for (const MapEntry &e : memory_map()) {
        const auto d = parse_descriptor(e.descriptor);
        const auto hit = std::find_if(field_catalogue().begin(), field_catalogue().end(), [&](const CatalogueField &f) {
            return f.address == d->address && f.bit == d->bit && f.width == d->width && f.length == 1 && !f.reserved;
        });
        QVERIFY2(hit != field_catalogue().end(), e.descriptor.data());
    }
    // Values read as the window shows them.
    const PagerImage img = default_image();
    QCOMPARE(field_value(*catalogue_field("Password"), img), std::string("1234"));
    QCOMPARE(field_value(*catalogue_field("Prompt 1 (NO PAGES)"), img).front(), '"');
    QCOMPARE(field_value(*catalogue_field("Identity"), img).substr(0, 5), std::string("ZR730"));
}

void TestImage::textValuesShowEveryByteOnOneLine_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QByteArray>("bytes"); // the prompt's text, or the field's bytes
    QTest::addColumn<QString>("shown");
    const QString prompt = QStringLiteral("Prompt 1 (NO PAGES)");
    QTest::newRow("NUL inside a prompt") << prompt << QByteArray("AB\0C", 4) << QString("\"AB\\x00C\"");
    QTest::newRow("line break and DEL") << prompt << QByteArray("A\r\n\x7F") << QString("\"A\\x0D\\x0A\\x7F\"");
    QTest::newRow("quote and backslash") << prompt << QByteArray("a\"b\\") << QString("\"a\\\"b\\\\\"");
    QTest::newRow("code page: undefined, euro, e acute")
        << prompt << QByteArray("\x81\x80\xE9") << QString::fromUtf8("\"\\x81\u20AC\u00E9\"");
    QTest::newRow("identity ends at its trailing NULs")
        << "Identity" << QByteArray("ZR730\0\0\0\0\0\0\0\0\0", 14) << QString("ZR730");
    QTest::newRow("identity with a NUL inside") << "Identity" << QByteArray("ZR\0\x01\"\\X\0\0\0\0\0\0\0", 14)
                                                << QString("ZR\\x00\\x01\"\\\\X");
}

void TestImage::textValuesShowEveryByteOnOneLine()
{
    QFETCH(QString, field);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const CatalogueField *f = catalogue_field(field.toStdString());
    QVERIFY(f);
    PagerImage img = default_image();
    if (f->show == FieldShow::Prompt) {
        img[f->address] &= 0xF0; // no leading blanks
        img[f->address + 1] = std::uint8_t(bytes.size());
        std::copy(bytes.begin(), bytes.end(), &img[f->address + 2]);
    } else {
        std::copy(bytes.begin(), bytes.end(), &img[f->address]);
    }
    const std::string value = field_value(*f, img);
    QCOMPARE(QString::fromStdString(value), shown);
    // The report of the difference is one whole line.
    const auto report = differences_report(field_differences(default_image(), img), "expected", "read back");
    QVERIFY2(report.find("read back " + value + "\n") != std::string::npos, report.c_str());
    QCOMPARE(std::count(report.begin(), report.end(), '\n'), 1);
}

void TestImage::memoryMapFieldsFitAndNeverOverlap()
{
    QCOMPARE(int(memory_map().size()), 31);
    std::set<std::pair<int, int>> bits;
    std::set<std::string_view> names;
    for (const MapEntry &e : memory_map()) {
        const auto d = parse_descriptor(e.descriptor);
        QVERIFY2(d, e.descriptor.data());
        QVERIFY(d->kind != FieldKind::Other);
        QVERIFY(d->address <= kImageLastIndex);
        QVERIFY(d->bit + d->width <= 8);
        QVERIFY2(names.insert(e.control).second, e.control.data());
        for (int b = d->bit; b < d->bit + d->width; ++b)
            QVERIFY2(bits.insert({d->address, b}).second, e.descriptor.data());
        // A list has no more entries than its field has values.
        if (!e.entries.empty()) {
            const int offset = d->kind == FieldKind::CboBaud ? 1 : 0;
            QVERIFY(int(e.entries.size()) + offset <= (1 << d->width));
        }
    }
}

void TestImage::defaultImageHoldsTheFactoryValues()
{
    const PagerImage img = default_image();
    const std::uint8_t signature[] = {0x55, 0xAA, 0xAA, 0x55};
    for (int k = 0; k < 4; ++k) QCOMPARE(img[k], signature[k]);
    QCOMPARE(capcode_get(img, 0), 1234567u);
    QVERIFY(capcode_enabled(img, 0));
    for (int i = 1; i < 6; ++i) {
        QCOMPARE(capcode_get(img, i), 1234560u + i - 1);
        QVERIFY(!capcode_enabled(img, i));
    }
    for (int j = 0; j < 7; ++j) QCOMPARE(int(img[0xC0 + j]), 0x10 + j);
    QCOMPARE(int(img[0xC7]), 0x17);
    QCOMPARE(int(img.field_get(0x374, 7, 1)), 0);
    QCOMPARE(int(img.field_get(0x375, 4, 2)), 3);
    QCOMPARE(int(img[0x372]), 2);
    QCOMPARE(int(img[0x373]), 17);
    const std::uint8_t freq[] = {0x01, 0x05, 0x03, 0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x10, 0x01, 0x00, 0x52, 0x40};
    for (int k = 0; k < 14; ++k) QCOMPARE(img[0x390 + k], freq[k]);
    QCOMPARE(int(img[0x3F8]), 0xFF);
    QCOMPARE(int(img[0x3E0]), 1);
    auto text = [&img](int a, int n) {
        QByteArray b;
        for (int k = 0; k < n; ++k) b.append(char(img[a + k]));
        return b;
    };
    QCOMPARE(text(0x3E1, 5), QByteArray("ZR730"));
    QCOMPARE(text(0x3E6, 4), QByteArray("V1.0"));
    QCOMPARE(text(0x3EA, 5), QByteArray("V6.10"));
    QCOMPARE(text(0x3F0, 8), QByteArray("ZR-730OK"));
    for (int a = 0x3F8; a <= 0x3FF; ++a) QCOMPARE(int(img[a]), 0xFF);
    for (int a = 0x3D8; a <= 0x3DF; ++a) QCOMPARE(int(img[a]), 0xFF);
    // Word at 0x0F9: seven upper-case letters; password: four decimal digits.
    for (int a = 0xF9; a <= 0xFF; ++a) QVERIFY(img[a] >= 'A' && img[a] <= 'Z');
    for (int a = 0x37C; a <= 0x37F; ++a) QVERIFY(img[a] <= 9);
    QCOMPARE(int(img[0xE9]), 0x04);
    QCOMPARE(int(img[0xF8]), 0xFF);
    QCOMPARE(int(img[0xD0]), 0x08);
}

void TestImage::defaultImageBlocksMeetAtTheirBoundaries()
{
    const PagerImage img = default_image();
    // Last bytes of block A, first and last of block C up to the prompts.
    QCOMPARE(int(img[0xF4]), 0x00);
    QCOMPARE(int(img[0xF7]), 0xED);
    QCOMPARE(int(img[0x344]), 0x00);
    QCOMPARE(int(img[0x350]), 0x18);
    QCOMPARE(int(img[0x36E]), 0x83);
    QCOMPARE(int(img[0x36F]), 0x12);
    QCOMPARE(int(img[0x371]), 0x84);
    QCOMPARE(int(img[0x3AF]), 0xFF);
    QCOMPARE(int(img[0x3AE]), 0x00);
    // Block B starts and ends where the English prompts do.
    QCOMPARE(int(img[0x100]), 0x05);
    QCOMPARE(int(img[0x101]), 0x06);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&img.bytes()[0x102]), 6), QByteArray("VORTEK"));
    QCOMPARE(int(img[0x330]), 0x46);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&img.bytes()[0x332]), 18), QByteArray("ZOOM OUT          "));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&img.bytes()[0x3C6]), 9), QByteArray("CHIRP OFF"));
}

namespace {

// Compares one hex table with the image; ".." bytes are returned for the caller to check.
QList<int> compareHexRows(const PagerImage &img, const testing::HexRow *rows, int count)
{
    QList<int> chosen;
    for (int r = 0; r < count; ++r) {
        const QStringList bytes = QString::fromLatin1(rows[r].bytes).split(QLatin1Char(' '));
        for (int k = 0; k < bytes.size(); ++k) {
            const int address = rows[r].address + k;
            if (bytes[k] == QLatin1String("..")) {
                chosen << address;
                continue;
            }
            bool ok = false;
            const int expected = bytes[k].toInt(&ok, 16);
            if (!ok || img[address] != expected) {
                qWarning("byte 0x%03X: 0x%02X, expected %s", address, img[address], qPrintable(bytes[k]));
                return {-1};
            }
        }
    }
    return chosen;
}

} // namespace

void TestImage::defaultImageMatchesTheFactoryTablesByteForByte()
{
    const PagerImage img = default_image();
    const QList<int> chosenA = compareHexRows(img, testing::kFactoryBlockA, int(std::size(testing::kFactoryBlockA)));
    const QList<int> chosenC = compareHexRows(img, testing::kFactoryBlockC, int(std::size(testing::kFactoryBlockC)));
    QCOMPARE(chosenA.size(), 7);
    QCOMPARE(chosenC.size(), 4);
    for (int a : chosenA) QVERIFY2(img[a] >= 'A' && img[a] <= 'Z', qPrintable(QString::number(a, 16)));
    for (int a : chosenC) QVERIFY2(img[a] <= 9, qPrintable(QString::number(a, 16))); // password digits

    // The English main and extra prompt blocks.
    for (int i = 0; i < kPromptCount; ++i) {
        const PromptRecord rec = prompt_record(PromptSetId::English, i);
        for (int k = 0; k < kPromptRecordSize; ++k) QCOMPARE(int(img[prompt_address(i) + k]), int(rec[k]));
    }

    // 0x3D8–0x3DF and the identity block.
    QByteArray tail(8, char(0xFF));
    tail += char(0x01);
    tail += "ZR730V1.0V6.10";
    tail += char(0xFF);
    tail += "ZR-730OK";
    tail += QByteArray(8, char(0xFF));
    QCOMPARE(tail.size(), 0x400 - 0x3D8);
    for (int k = 0; k < tail.size(); ++k) QCOMPARE(int(img[0x3D8 + k]), int(quint8(tail[k])));
}

void TestImage::promptSetsMatchTheFactoryTablesRecordForRecord()
{
    const QRegularExpression cell(QStringLiteral(R"re(^([0-9A-F]{2}) ([0-9A-F]{2}) "(.*)"$)re"));
    const PromptSetId sets[5] = {PromptSetId::English, PromptSetId::Spanish, PromptSetId::French,
                                 PromptSetId::German, PromptSetId::Russian};
    QCOMPARE(int(std::size(testing::kFactoryPrompts)), kPromptCount);
    for (int i = 0; i < kPromptCount; ++i) {
        const QStringList cells = QString::fromUtf8(testing::kFactoryPrompts[i]).split(QStringLiteral(" | "));
        QCOMPARE(cells.size(), 6);
        QCOMPARE(cells[0].toInt(nullptr, 16), prompt_address(i));
        for (int s = 0; s < 5; ++s) {
            const auto m = cell.match(cells[s + 1]);
            QVERIFY2(m.hasMatch(), qPrintable(cells[s + 1]));
            QByteArray expected;
            expected += char(m.captured(1).toInt(nullptr, 16));
            expected += char(m.captured(2).toInt(nullptr, 16));
            expected += m.captured(3).toLatin1().leftJustified(kPromptTextSize, ' ');
            const PromptRecord rec = prompt_record(sets[s], i);
            const QByteArray actual(reinterpret_cast<const char *>(rec.data()), kPromptRecordSize);
            QVERIFY2(actual == expected, qPrintable(QStringLiteral("set %1, record 0x%2: \"%3\"")
                                                        .arg(s).arg(prompt_address(i), 3, 16)
                                                        .arg(QString::fromLatin1(actual.mid(2)))));
        }
    }
}

void TestImage::promptSetsAreThirtyOneRecordsOfTwentyBytes()
{
    QCOMPARE(prompt_address(0), 0x100);
    QCOMPARE(prompt_address(28), 0x330);
    QCOMPARE(prompt_address(29), 0x3B0);
    QCOMPARE(prompt_address(30), 0x3C4);
    for (int set = 0; set < 5; ++set) {
        for (int i = 0; i < kPromptCount; ++i) {
            const PromptRecord r = prompt_record(PromptSetId(set), i);
            QVERIFY(r[1] <= kPromptTextSize);
            QVERIFY(prompt_set_sources()[set].records[i].text.size() <= std::size_t(kPromptTextSize));
            // Padding after the stored text is blank.
            for (std::size_t k = 2 + prompt_set_sources()[set].records[i].text.size(); k < r.size(); ++k)
                QCOMPARE(int(r[k]), 0x20);
        }
    }
}

void TestImage::germanAndRussianPromptSetsKeepTheirOddRecords()
{
    // "Nur TonLY": length 7, the leftover letters stored unchanged.
    const int toneOnly = (0x204 - 0x100) / 20;
    PromptRecord r = prompt_record(PromptSetId::German, toneOnly);
    QCOMPARE(int(r[0]), 0x00);
    QCOMPARE(int(r[1]), 7);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&r[2]), 9), QByteArray("Nur TonLY"));
    // Latin-1 letters: "Vergrößern".
    r = prompt_record(PromptSetId::German, (0x31C - 0x100) / 20);
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&r[2]), 10), QByteArray("Vergr\xF6\xDF" "ern"));
    r = prompt_record(PromptSetId::German, (0x2F4 - 0x100) / 20);
    QCOMPARE(int(r[2]), 0xD6);
    // Russian: length 18 everywhere but 0x204 (17); the logo record is the same in every set.
    for (int i = 1; i < kPromptCount; ++i)
        QCOMPARE(int(prompt_record(PromptSetId::Russian, i)[1]), i == toneOnly ? 0x11 : 0x12);
    for (int set = 0; set < 5; ++set)
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&prompt_record(PromptSetId(set), 0)[2]), 6), QByteArray("VORTEK"));
    // Copying a set fills exactly the two prompt regions.
    PagerImage img = default_image();
    const PagerImage before = img;
    copy_prompt_set(img, PromptSetId::French);
    for (int a = 0; a < kImageSize; ++a) {
        const bool inPrompts = (a >= 0x100 && a <= 0x343) || (a >= 0x3B0 && a <= 0x3D7);
        if (!inPrompts) QCOMPARE(img[a], before[a]);
    }
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&img.bytes()[0x3B2]), 17), QByteArray("AVEC MODE DISCRET"));
}

void TestImage::capcodeRecordsKeepTheEnableFlag()
{
    PagerImage img;
    img[0x363] = 0x80;
    capcode_set(img, 1, 2097151);
    QCOMPARE(int(img[0x363]), 0x9F);
    QCOMPARE(int(img[0x364]), 0xFF);
    QCOMPARE(int(img[0x365]), 0xFF);
    QCOMPARE(capcode_get(img, 1), 2097151u);
    QVERIFY(capcode_enabled(img, 1));
    capcode_set(img, 1, 0);
    QCOMPARE(int(img[0x363]), 0x80);
    QCOMPARE(capcode_text(8), std::string("0000008"));
    QCOMPARE(capcode_text(2097151), std::string("2097151"));
}

void TestImage::functionBitSummariesShowUnusualValues()
{
    PagerImage img = default_image();
    const FunctionBitSet set1 = function_bit_set(3); // capcode #1
    QCOMPARE(set1.typeAddress, 0x35C);
    QCOMPARE(function_bit_set(1).typeAddress, 0x3A4);
    QCOMPARE(function_bit_set(2).displayAddress, 0x33);
    img[0x35C] = 0;
    img[0x35D] = 255;
    img[0x35E] = 7;
    img[0x35F] = 1; // never written by the program and has no one-letter form
    QCOMPARE(type_summary(img, set1), std::string("PG5?"));
    img[0x35F] = 2;
    QCOMPARE(type_summary(img, set1), std::string("PG50"));
    img[0x35F] = 20;
    QCOMPARE(type_summary(img, set1), std::string("PG512"));
    img[0xEE] = 0x94; // 9 is rewritten to 2; 4 stays and shows "I"
    img[0xEF] = 0x01;
    QCOMPARE(display_summary(img, set1), std::string("AINP"));
    QCOMPARE(int(img[0xEE]), 0x24);
    img[0x38F] = 0xA0;
    QCOMPARE(priority_summary(img, set1), std::string("v-v-"));
    img[0xED] = 0xF2;
    QCOMPARE(enable_summary(img, set1), std::string("-v--"));
    QVERIFY(!set_disabled(img, set1));
    img[0xED] = 0xF0;
    QVERIFY(set_disabled(img, set1));
}

QTEST_GUILESS_MAIN(TestImage)
#include "test_image.moc"
