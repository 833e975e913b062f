#include "image/prompts.h"

#include <algorithm>

namespace zr730 {

namespace {

PromptLine blanks(int n) { return PromptLine(std::size_t(std::max(0, n)), kBlank); }

PromptLine trimmed(const PromptLine &line, bool front, bool back)
{
    auto b = line.begin();
    auto e = line.end();
    if (front)
        while (b != e && *b == kBlank) ++b;
    if (back)
        while (e != b && *(e - 1) == kBlank) --e;
    return PromptLine(b, e);
}

PromptLine operator+(PromptLine a, const PromptLine &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

const std::array<PromptInfo, kPromptCount> &prompt_table()
{
    static const std::array<PromptInfo, kPromptCount> t{{
        {0x100, true, "Power Up Logo", ""},
        {0x114, true, "NO PAGES ------->", "NO PAGES ------"},
        {0x128, false, "UP OR ESCAPE --->", "MENU OR ESCAPE "},
        {0x13C, false, "MESSAGE LOCK --->", "MESSAGE LOCK --"},
        {0x150, false, "MESSAGE UNLOCK ->", "MESSAGE UNLOCK "},
        {0x164, false, "DELETE --------->", "MESSAGE DELETE "},
        {0x178, false, "DELETE ALL ----->", "DELETE ALL ----"},
        {0x18C, false, "MOVE TO MEMO --->", "MOVE TO MEMO --"},
        {0x1A0, false, "SET SCROLL ----->", "SET SCROLL ----"},
        {0x1B4, false, "SET TIME ------->", "SET TIME ------"},
        {0x1C8, false, "SET ALARM ------>", "SET ALARM -----"},
        {0x1DC, false, "SET ALERT ------>", "SET ALERT -----"},
        {0x1F0, false, "PAGER OFF ------>", "PAGER OFF -----"},
        {0x204, true, "TONE ONLY ------> ", "TONE ONLY -----"},
        {0x218, true, "SLEEP ----------> ", "SLEEP ---------"},
        {0x22C, true, "SILENT --------->", "SILENT --------"},
        {0x240, true, "PAGER OFF ? ---->", "PAGER OFF ? ---"},
        {0x254, true, "DELETE? -------->", "DELETE ? ------"},
        {0x268, true, "DELETE ALL ? --->", "DELETE ALL ? --"},
        {0x27C, true, "TIME SET ------->", "TIME SET ------"},
        {0x290, true, "ALARM SET ------>", "ALARM SET -----"},
        {0x2A4, true, "SCROLL SET ----->", "SCROLL SET ----"},
        {0x2B8, false, "AUTO SLEEP SET ->", "AUTO SLEEP SET "},
        {0x2CC, true, "START END ------>", "START END -----"},
        {0x2E0, false, "MESSAGE AREA --->", "MESSAGE AREA --"},
        {0x2F4, false, "MAIL DROP AREA ->", "MAIL DROP AREA"},
        {0x308, true, "SILENT && BEEP -->", "SLIENT && BEEP -"},
        {0x31C, false, "ZOOM IN -------->", "ZOOM IN -------"},
        {0x330, false, "ZOOM OUT ------->", "ZOOM OUT ------"},
        {0x3B0, false, "CHIRP ON ------->", "CHIRP ON ------"},
        {0x3C4, false, "CHIRP OFF------->", "CHIRP OFF -----"},
    }};
    return t;
}

std::optional<int> language_index(const PagerImage &image)
{
    const int code = image.field_get(kLanguageAddress, 0, 4);
    for (std::size_t i = 0; i < kPromptLanguages.size(); ++i)
        if (kPromptLanguages[i].code == code) return int(i);
    return std::nullopt;
}

void select_language(PagerImage &image, int index)
{
    const PromptLanguage &l = kPromptLanguages.at(std::size_t(index));
    image.field_set(kLogoShownAddress, 0, 2, 2);
    image.field_set(kCharacterSetAddress, 0, l.code, 4);
    image.field_set(kLanguageAddress, 0, l.code, 4);
    copy_prompt_set(image, l.defaults);
}

PromptLine prompt_shown(const PagerImage &image, int i)
{
    const int a = prompt_address(i);
    PromptLine line = blanks(image[a] & 0x0F);
    const int n = std::min<int>(image[a + 1], kPromptTextSize);
    for (int k = 0; k < n && a + 2 + k < kImageSize; ++k) line.push_back(image[a + 2 + k]);
    return line;
}

StoreResult store_prompt(PagerImage &image, int i, const PromptLine &line)
{
    const PromptLine afterBlanks = trimmed(line, true, false);
    if (afterBlanks.size() > std::size_t(kPromptTextSize)) return StoreResult::TooLong;
    int lead = int(line.size() - afterBlanks.size());
    PromptLine extra;
    if (lead > kMaxLeadingBlanks) {
        extra = blanks(lead - kMaxLeadingBlanks);
        lead = kMaxLeadingBlanks;
    }
    PromptLine text = extra + trimmed(line, true, true);
    if (text.size() > std::size_t(kPromptTextSize)) return StoreResult::TooLong;
    const int a = prompt_address(i);
    image[a] = std::uint8_t((image[a] & 0xF0) | lead);
    const bool empty = text.empty();
    if (empty) text = blanks(1);
    if (i == 0) image.field_set(kLogoShownAddress, 0, empty ? 0 : 2, 2);
    image[a + 1] = std::uint8_t(text.size());
    std::copy(text.begin(), text.end(), image.bytes().begin() + a + 2);
    return StoreResult::Stored;
}

PromptLine align_line(const PromptLine &line, int width, Align align)
{
    const PromptLine t = trimmed(line, true, true);
    const int room = width - int(t.size());
    switch (align) {
    case Align::Left: return t;
    case Align::Center: return blanks(room / 2) + t;
    case Align::Right: return blanks(room) + t;
    }
    return t;
}

void load_default_prompt(PagerImage &image, int i, int languageIndex)
{
    const PromptRecord r = prompt_record(kPromptLanguages.at(std::size_t(languageIndex)).defaults, i);
    std::copy(r.begin(), r.end(), image.bytes().begin() + prompt_address(i));
}

int russian_row_address(int row) { return prompt_address(row + 1); }

int cell_address(int k) { return russian_row_address(k / kCellRowStride) + 2 + k % kCellRowStride; }

void align_russian_row(PagerImage &image, int row, Align align)
{
    const int a = russian_row_address(row) + 2;
    const PromptLine s(image.bytes().begin() + a, image.bytes().begin() + a + kPromptTextSize);
    PromptLine out;
    switch (align) {
    case Align::Left: out = trimmed(s, true, false); break;
    case Align::Center: {
        const PromptLine t = trimmed(s, true, true);
        out = blanks((kPromptTextSize - int(t.size())) / 2) + t;
        break;
    }
    case Align::Right: {
        const PromptLine t = trimmed(s, false, true);
        out = blanks(kPromptTextSize - int(t.size())) + t;
        break;
    }
    }
    out.resize(std::size_t(kPromptTextSize), kBlank);
    std::copy(out.begin(), out.end(), image.bytes().begin() + a);
}

} // namespace zr730
