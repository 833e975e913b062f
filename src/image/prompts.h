#pragma once
// The prompt records of the image: the power-up logo and thirty menu prompts, their language,
// the rule that turns an edited line into a record, alignment and the factory defaults per
// record, and the Russian page's view of the records as rows of eighteen character cells.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "image/defaults.h"
#include "image/image.h"

namespace zr730 {

inline constexpr int kLanguageAddress = 0x03E;     // bits 0–3: prompt language code
inline constexpr int kCharacterSetAddress = 0x03A; // bits 0–3: the same code again
inline constexpr int kLogoShownAddress = 0x03B;    // bits 0–1: 2 logo present, 0 none
inline constexpr int kLogoFontAddress = 0x03F;     // bits 0–3: 0 large, 2 small
inline constexpr std::uint8_t kBlank = 32;         // the only blank
inline constexpr int kMaxLeadingBlanks = 15;
inline constexpr int kLargeWidth = 16;             // characters a large-font box holds
inline constexpr int kSmallWidth = 21;

// One prompt record: its place, whether it is large-font in English, and the labels of the
// text page and the Russian page (none for the logo).
struct PromptInfo {
    int address;
    bool large;
    std::string_view label;
    std::string_view russianLabel;
};
const std::array<PromptInfo, kPromptCount> &prompt_table();

struct PromptLanguage {
    std::string_view entry;
    int code;
    PromptSetId defaults; // Swedish has no set of its own and loads English
};
inline constexpr std::array<PromptLanguage, 6> kPromptLanguages{{{"English", 0, PromptSetId::English},
                                                                 {"Spainish", 5, PromptSetId::Spanish},
                                                                 {"French", 6, PromptSetId::French},
                                                                 {"German", 8, PromptSetId::German},
                                                                 {"Swedish", 15, PromptSetId::English},
                                                                 {"Russian", 3, PromptSetId::Russian}}};
inline constexpr int kEnglishIndex = 0;
inline constexpr int kRussianIndex = 5;

// The language list's index for the stored code; none for a code without entry.
std::optional<int> language_index(const PagerImage &image);
// Sets both codes and the logo-shown field, and replaces every prompt and the logo by the
// language's defaults.
void select_language(PagerImage &image, int index);

using PromptLine = std::vector<std::uint8_t>; // characters as stored bytes

// Record i as shown: its leading blanks, then its text (at most 18 characters, never past
// the end of the image).
PromptLine prompt_shown(const PagerImage &image, int i);

enum class StoreResult { Stored, TooLong };
// Stores an edited line into record i: up to 15 leading blanks go into the layout byte, more
// stay in the text; the text is trimmed, an empty one is a single blank. The logo also sets
// the logo-shown field. A text over 18 characters after its leading blanks is refused and
// nothing changes.
StoreResult store_prompt(PagerImage &image, int i, const PromptLine &line);

enum class Align { Left, Center, Right };
// The line trimmed and placed in `width` positions; a text longer than that gets no blanks.
PromptLine align_line(const PromptLine &line, int width, Align align);

// Record i back to the defaults of the language at `languageIndex`.
void load_default_prompt(PagerImage &image, int i, int languageIndex);

// ---- the Russian page: row r (0 … 29) is record r + 1; cell k = 20·r + column (0 … 17) ----
inline constexpr int kRussianRows = 30;
inline constexpr int kCellsPerRow = 18;
inline constexpr int kCellRowStride = 20;
inline constexpr int kLastCell = kCellRowStride * (kRussianRows - 1) + kCellsPerRow - 1; // 597

int russian_row_address(int row);
// Image address of cell k: 0x116 + k below cell 560, 0x182 + k from there.
int cell_address(int k);
// Aligns the 18 text bytes of the row; the layout and length bytes stay.
void align_russian_row(PagerImage &image, int row, Align align);

} // namespace zr730
