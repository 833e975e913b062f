#include "image/field_catalogue.h"

#include <algorithm>
#include <cstdio>

#include "image/alert_options.h"
#include "image/capcodes.h"
#include "image/cp1252.h"
#include "image/defaults.h"
#include "image/descriptor.h"
#include "image/memory_map.h"
#include "image/pll.h"
#include "image/prompts.h"

namespace zr730 {

namespace {

using Names = std::vector<std::pair<int, std::string>>;

std::string hex3(int a)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%03X", a);
    return buf;
}

std::string span_text(int from, int to) { return from == to ? hex3(from) : hex3(from) + "\u2013" + hex3(to); }

const char kBitLetter[] = "ABCD";

Names on_off(bool inverted) { return {{0, inverted ? "on" : "off"}, {1, inverted ? "off" : "on"}}; }

Names display_names()
{
    Names n;
    const auto *e = map_entry("cboCtl(1)");
    for (std::size_t i = 0; i < e->entries.size(); ++i) n.emplace_back(int(i), std::string(e->entries[i]));
    return n;
}

Names message_type_names()
{
    Names n{{0, "Personal"}};
    for (int d = 1; d <= kMailDropCount; ++d) n.emplace_back(d + 2, "Mail Drop " + std::to_string(d));
    return n;
}

template <std::size_t N> Names choice_names(const std::array<Choice, N> &choices)
{
    Names n;
    for (const Choice &c : choices)
        if (c.value >= 0) n.emplace_back(c.value, std::string(c.entry));
    return n;
}

// A timer's two-bit time: the list entry after its "off" entry.
template <std::size_t N> Names timer_names(const std::array<std::string_view, N> &entries)
{
    Names n;
    for (std::size_t i = 1; i < N; ++i) n.emplace_back(int(i) - 1, std::string(entries[i]));
    return n;
}

class Builder {
public:
    std::vector<CatalogueField> fields;

    CatalogueField &add(std::string name, int address, int length, int bit, int width, FieldShow show, Names names = {})
    {
        CatalogueField f;
        f.name = std::move(name);
        f.address = address;
        f.length = length;
        f.bit = bit;
        f.width = width;
        f.show = show;
        f.names = std::move(names);
        fields.push_back(std::move(f));
        return fields.back();
    }
    CatalogueField &bytes(std::string name, int address, int length, FieldShow show, Names names = {})
    {
        return add(std::move(name), address, length, 0, 8, show, std::move(names));
    }
    CatalogueField &bits(std::string name, int address, int bit, int width, FieldShow show, Names names = {})
    {
        return add(std::move(name), address, 1, bit, width, show, std::move(names));
    }
    void reserved(int from, int to)
    {
        bytes("Reserved " + span_text(from, to), from, to - from + 1, FieldShow::Hex).reserved = true;
    }
    void reservedBits(int address, int bit, int width)
    {
        const std::string which = width == 1 ? " bit " + std::to_string(bit)
                                             : " bits " + std::to_string(bit) + "\u2013" + std::to_string(bit + width - 1);
        bits("Reserved " + hex3(address) + which, address, bit, width, FieldShow::Hex).reserved = true;
    }
    // A field of a bound control of the main window: its place and list entries from the map.
    void bound(const char *control, std::string name)
    {
        const MapEntry *e = map_entry(control);
        const auto d = parse_descriptor(e->descriptor);
        Names names;
        switch (d->kind) {
        case FieldKind::Chk: names = on_off(false); break;
        case FieldKind::ChkN: names = on_off(true); break;
        case FieldKind::Cbo:
            for (std::size_t i = 0; i < e->entries.size(); ++i) names.emplace_back(int(i), std::string(e->entries[i]));
            break;
        case FieldKind::CboBaud:
            for (std::size_t i = 0; i < e->entries.size(); ++i) names.emplace_back(int(i) + 1, std::string(e->entries[i]));
            break;
        case FieldKind::Lng:
            names = {{0, std::string(e->entries[0])}, {1, std::string(e->entries[0])}, {2, std::string(e->entries[1])}};
            break;
        case FieldKind::Other: break;
        }
        bits(std::move(name), d->address, d->bit, d->width, FieldShow::Named, std::move(names));
    }
};

// The prompt's name: its number and its English words ("Prompt 1 (NO PAGES)"); record 0 is the logo.
std::string prompt_name(int i)
{
    if (i == 0) return "Logo";
    std::string words(prompt_table()[std::size_t(i)].label);
    // The label ends in an arrow ("NO PAGES ------->", "MESSAGE UNLOCK ->", "CHIRP OFF------->").
    const auto arrow = std::min(words.find("--"), words.find(" -"));
    if (arrow != std::string::npos) words.erase(arrow);
    for (std::size_t p; (p = words.find("&&")) != std::string::npos;) words.erase(p, 1);
    while (!words.empty() && (words.back() == ' ' || words.back() == '-')) words.pop_back();
    return "Prompt " + std::to_string(i) + " (" + words + ")";
}

std::vector<CatalogueField> build()
{
    Builder b;
    const Names display = display_names();
    const Names types = message_type_names();
    auto fbit = [](int capcode, int k, const char *what) {
        return "Capcode #" + std::to_string(capcode) + " function bit " + kBitLetter[k] + " " + what;
    };
    // Function-bit sets: capcode #1 is set 3, capcodes #2 … #4 are sets 0 … 2.
    auto capcodeOfSet = [](int s) { return s == 3 ? 1 : s + 2; };

    b.bytes("Factory signature", 0x000, 4, FieldShow::Hex);
    b.reserved(0x004, 0x02E);
    for (int s = 0; s < 4; ++s) {
        const FunctionBitSet set = function_bit_set(s);
        const int c = capcodeOfSet(s);
        for (int k = 0; k < 4; ++k) {
            b.bits(fbit(c, k, "display"), set.displayAddress + k / 2, k % 2 == 0 ? 4 : 0, 4, FieldShow::Named, display);
            b.bytes(fbit(c, k, "message type"), set.typeAddress + k, 1, FieldShow::Named, types);
            b.bits(fbit(c, k, "priority"), set.priorityAddress, 7 - k, 1, FieldShow::Named, on_off(false));
            b.bits(fbit(c, k, "enable"), set.enableAddress, k, 1, FieldShow::Named, on_off(false));
        }
    }
    b.reservedBits(0x0ED, 4, 4);

    b.bound("cboCtl(1)", "Capcode #5 display");
    b.bound("cboCtl(7)", "Capcode #6 display");
    b.bound("chkCtl(4)", "Frequency Modification Enable");
    b.bound("chkCtl(5)", "Password Required Enable");
    b.reservedBits(0x036, 2, 1);
    b.bound("chkCtl(20)", "Direct Show Lamp On");
    b.reservedBits(0x036, 4, 4);
    b.reservedBits(kAddrMailEnable, 0, 3);
    for (int d = 1; d <= kMailDropCount; ++d)
        b.bits("Mail drop " + std::to_string(d) + " enable", kAddrMailEnable, 8 - d, 1, FieldShow::Named, on_off(false));
    b.reserved(0x038, 0x038);
    b.reservedBits(0x039, 0, 2);
    b.bound("cboCtl(0)", "Bandwidth");
    b.bound("chkCtl(21)", "Duplicate Msg Enable");
    b.bound("chkCtl(2)", "Counter Out Enable");
    b.bound("chkCtl(18)", "Discard Error Message");
    b.bound("chkCtl(6)", "Lowcell Alert Enable");
    b.bound("chkCtl(0)", "Display Source Enable");

    Names languages;
    for (const PromptLanguage &l : kPromptLanguages) languages.emplace_back(l.code, std::string(l.entry));
    b.bits("Character set", kCharacterSetAddress, 0, 4, FieldShow::Named, languages);
    b.reservedBits(0x03A, 4, 1);
    b.bound("chkCtl(22)", "Vibration And Beep");
    b.reservedBits(0x03A, 6, 2);
    b.bits("Logo shown", kLogoShownAddress, 0, 2, FieldShow::Named, {{0, "no"}, {2, "yes"}});
    b.bound("chkCtl(1)", "Long Message Control");
    b.bound("cboCtl(6)", "Date Display Method");
    b.bound("cboCtl(3)", "Paging Disp Mode");
    b.bound("chkCtl(19)", "Air Program Enable");
    b.bound("chkCtl(7)", "Password Modification Enable");
    b.bound("chkCtl(17)", "Manual Alert Override");
    b.bits("Sequential lockout time", kSequentialLockout.address, kSequentialLockout.timeBit, 2, FieldShow::Named,
           timer_names(kLockoutEntries));
    b.bits("Two-line mode", 0x03C, 2, 1, FieldShow::Named, on_off(false));
    b.bits("Sequential lockout", kSequentialLockout.address, 3, 1, FieldShow::Named, on_off(false));
    b.reservedBits(0x03C, 4, 2);
    b.bound("cboCtl(4)", "Reminder Duration Control");
    b.reservedBits(0x03D, 0, 1);
    b.bits("Out-of-range time", kOutOfRange.address, kOutOfRange.timeBit, 2, FieldShow::Named,
           timer_names(kOutOfRangeEntries));
    b.bits("Out-of-range alert", kOutOfRange.address, 3, 1, FieldShow::Named, on_off(false));
    b.bound("chkCtl(16)", "Manual Write Enable");
    b.reservedBits(0x03D, 5, 3);
    b.bits("Prompt language", kLanguageAddress, 0, 4, FieldShow::Named, languages);
    b.reservedBits(kLanguageAddress, 4, 4);
    b.bound("cboLogo", "Logo font");
    b.reservedBits(kLogoFontAddress, 4, 4);
    b.reserved(0x040, 0x040);
    b.bytes("Band type", kAddrBandType, 1, FieldShow::Hex);
    b.reserved(0x042, kAddrMenuList - 1);

    for (int j = 0; j < kMenuItemCount; ++j) {
        Names items{{kMenuEmptySlot, "empty"}};
        for (const Choice &c : kMenuItems) {
            std::string item(c.entry);
            item.erase(item.rfind(" Disable"));
            items.emplace_back(c.value, item);
        }
        b.bytes("Menu slot " + std::to_string(j + 1), kAddrMenuList + j, 1, FieldShow::Named, items);
    }
    b.reserved(kAddrMenuList + kMenuItemCount, kAddrPersonalAlert - 1);
    b.bytes("Personal alert length", kAddrPersonalAlert, 1, FieldShow::Named, choice_names(kPersonalAlert));
    for (int d = 0; d < kMailDropCount; ++d)
        b.bytes("Mail drop " + std::to_string(d + 1) + " alert length", kAddrMailAlert + d, 1, FieldShow::Named,
                choice_names(kMailAlert));
    b.reserved(kAddrMailAlert + kMailDropCount, kAddrContrast - 1);
    b.bytes("Screen contrast", kAddrContrast, 1, FieldShow::Number);
    b.reserved(kAddrContrast + 1, 0x0EC);
    b.reserved(0x0F0, kAddrTone - 1);
    b.bytes("Alert tone", kAddrTone, 1, FieldShow::Named, choice_names(kTones));
    b.reserved(0x0F8, 0x0F8);
    b.bytes("Factory word", 0x0F9, 7, FieldShow::Text);

    for (int i = 0; i < kPromptCount; ++i)
        b.bytes(prompt_name(i), prompt_address(i), kPromptRecordSize, FieldShow::Prompt).prompt = i;
    b.reserved(kMainPromptBase + kMainPromptBlockSize, 0x35B);

    for (int i = 0; i < kCapcodeCount; ++i) {
        const int a = kCapcodeBase + 3 * i;
        b.add("Capcode #" + std::to_string(i + 1), a, 3, 0, 7, FieldShow::Capcode);
        b.bound(("chkCtl(" + std::to_string(10 + i) + ")").c_str(), "Capcode #" + std::to_string(i + 1) + " enable");
    }
    b.bytes("Baud rate constant 1", 0x372, 1, FieldShow::Number);
    b.bytes("Baud rate constant 2", 0x373, 1, FieldShow::Number);
    b.reservedBits(0x374, 0, 7);
    b.bound("cboCtl(5)", "Pager Signal Polarity");
    b.reservedBits(0x375, 0, 2);
    b.bits("Error discard code", 0x375, 2, 2, FieldShow::Number);
    b.bound("cboCtl(9)", "POCSAG Signal Baud Rate");
    b.reservedBits(0x375, 6, 2);
    b.bytes("Error discard constant", 0x376, 1, FieldShow::Number);
    b.reserved(0x377, kAddrPassword - 1);
    b.bytes("Password", kAddrPassword, kPasswordDigits, FieldShow::Digits);
    const Names volts = choice_names(kBatteryLevels);
    b.bytes("Battery level low (copy)", kAddrBatteryCopy, 1, FieldShow::Named, volts);
    b.bytes("Battery level low", kAddrBatteryLevel, 1, FieldShow::Named, volts);
    b.bytes("Battery level medium", kAddrBatteryLevel + 1, 1, FieldShow::Named, volts);
    b.bytes("Battery level high", kAddrBatteryLevel + 2, 1, FieldShow::Named, volts);
    b.reserved(0x384, 0x38B);
    b.reservedBits(0x38F, 0, 1);
    b.bound("chkCtl(8)", "Capcode #5 priority");
    b.bound("chkCtl(9)", "Capcode #6 priority");
    b.reservedBits(0x38F, 3, 1);

    b.bytes("Frequency", kAddrFreqDigits, 7, FieldShow::Digits);
    Names spacings;
    for (int code = 0; code < 8; ++code)
        if (const auto khz = spacing_khz_from_code(code)) spacings.emplace_back(code, spacing_caption(*khz));
    b.bytes("Channel spacing", kAddrSpacingCode, 1, FieldShow::Named, spacings);
    b.bytes("R word", kAddrRWord, 3, FieldShow::Word);
    b.bytes("N word", kAddrNWord, 3, FieldShow::Word);
    b.reserved(kAddrNWord + 3, 0x39F);
    b.bytes("Capcode #5 message type", kTypeCap5, 1, FieldShow::Named, types);
    b.bytes("Capcode #6 message type", kTypeCap5 + 1, 1, FieldShow::Named, types);
    b.reserved(kTypeCap5 + 2, kExtraPromptBase - 1);
    b.reserved(kExtraPromptBase + kExtraPromptBlockSize, 0x3DF);
    b.bytes("Write marker", 0x3E0, 1, FieldShow::Number);
    b.bytes("Identity", 0x3E1, 14, FieldShow::Text);
    b.reserved(0x3EF, 0x3EF);
    b.bytes("Factory data", 0x3F0, 8, FieldShow::Hex);
    b.bytes("RoHS marker", kAddrRohsMarker, 1, FieldShow::Named, {{kRohsGp, "RoHS"}});
    b.reserved(kAddrRohsMarker + 1, kImageLastIndex);

    // By address; the fields of one byte stay in the order they were declared (A before B).
    std::stable_sort(b.fields.begin(), b.fields.end(),
                     [](const CatalogueField &x, const CatalogueField &y) { return x.address < y.address; });
    return b.fields;
}

const std::vector<CatalogueField> &catalogue()
{
    static const std::vector<CatalogueField> fields = build();
    return fields;
}

void append_utf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// One byte of a text as a technician can read it, whatever it holds: control bytes (and the
// bytes the code page leaves undefined) as "\x00", so a NUL or a line break neither ends nor
// breaks the line it is shown on; the backslash, and the quote in a quoted value, escaped so
// every shown text stands for one byte sequence only.
void append_shown(std::string &out, std::uint8_t byte, bool quoted)
{
    const char32_t c = cp1252_to_unicode(byte);
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", unsigned(byte));
        out += buf;
        return;
    }
    if (c == '\\' || (quoted && c == '"')) out += '\\';
    append_utf8(out, c);
}

std::string hex_bytes(const std::vector<std::uint8_t> &bytes)
{
    std::string s;
    char buf[4];
    for (std::uint8_t v : bytes) {
        if (!s.empty()) s += ' ';
        std::snprintf(buf, sizeof buf, "%02X", v);
        s += buf;
    }
    return s;
}

} // namespace

std::span<const CatalogueField> field_catalogue() { return catalogue(); }

const CatalogueField *catalogue_field(const std::string &name)
{
    for (const CatalogueField &f : catalogue())
        if (f.name == name) return &f;
    return nullptr;
}

std::vector<std::uint8_t> field_bytes(const CatalogueField &field, const PagerImage &image)
{
    std::vector<std::uint8_t> v;
    v.push_back(image.field_get(field.address, field.bit, field.width));
    for (int a = field.address + 1; a < field.address + field.length; ++a) v.push_back(image[a]);
    return v;
}

std::string field_value(const CatalogueField &field, const PagerImage &image)
{
    const std::vector<std::uint8_t> v = field_bytes(field, image);
    // The bytes as one number, for the fields that read as one (at most three bytes); texts,
    // prompts and reserved ranges are longer and read byte by byte.
    long long number = 0;
    if (v.size() <= 4)
        for (std::uint8_t x : v) number = number * 256 + x;
    switch (field.show) {
    case FieldShow::Number: return std::to_string(number);
    case FieldShow::Hex: return hex_bytes(v);
    case FieldShow::Named:
        for (const auto &[value, name] : field.names)
            if (value == number) return name;
        return std::to_string(number);
    case FieldShow::Capcode: return capcode_text(std::uint32_t(number));
    case FieldShow::Digits: {
        std::string s;
        for (std::uint8_t x : v) s += x <= 9 ? std::to_string(x) : "[" + std::to_string(x) + "]";
        if (field.address == kAddrFreqDigits && s.size() == 7) s = s.substr(0, 3) + "." + s.substr(3) + " MHz";
        return s;
    }
    case FieldShow::Word: {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%06llX", number);
        return buf;
    }
    case FieldShow::Prompt: {
        std::string s = "\"";
        for (std::uint8_t c : prompt_shown(image, field.prompt)) append_shown(s, c, true);
        return s + "\"";
    }
    case FieldShow::Text: {
        // Trailing NULs end the text; every byte before them is shown.
        std::size_t end = v.size();
        while (end > 0 && v[end - 1] == 0) --end;
        std::string s;
        for (std::size_t k = 0; k < end; ++k) append_shown(s, v[k], false);
        return s;
    }
    }
    return {};
}

std::string field_place(const CatalogueField &field)
{
    std::string place = span_text(field.address, field.address + field.length - 1);
    if (field.length == 1 && field.width < 8) {
        place += field.width == 1 ? " bit " + std::to_string(field.bit)
                                  : " bits " + std::to_string(field.bit) + "\u2013"
                                        + std::to_string(field.bit + field.width - 1);
    }
    return place;
}

std::vector<FieldDifference> field_differences(const PagerImage &expected, const PagerImage &actual)
{
    std::vector<FieldDifference> out;
    for (const CatalogueField &f : catalogue()) {
        const auto a = field_bytes(f, expected);
        const auto b = field_bytes(f, actual);
        if (a == b) continue;
        FieldDifference d{&f, field_value(f, expected), field_value(f, actual)};
        if (d.expected == d.actual) {
            d.expected = hex_bytes(a);
            d.actual = hex_bytes(b);
        }
        out.push_back(std::move(d));
    }
    return out;
}

std::string differences_report(const std::vector<FieldDifference> &differences, const char *firstWord,
                               const char *secondWord, std::size_t limit)
{
    std::string s;
    const std::size_t shown = std::min(limit, differences.size());
    for (std::size_t i = 0; i < shown; ++i) {
        const FieldDifference &d = differences[i];
        s += d.field->name + " (" + field_place(*d.field) + "): " + firstWord + " " + d.expected + ", " + secondWord
             + " " + d.actual + "\n";
    }
    if (differences.size() > shown)
        s += "\u2026 and " + std::to_string(differences.size() - shown) + " more fields\n";
    return s;
}

} // namespace zr730
