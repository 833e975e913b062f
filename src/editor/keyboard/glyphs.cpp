#include "editor/keyboard/glyphs.h"

#include <QHash>
#include <QPainter>

namespace zr730 {

std::optional<char32_t> russian_glyph(int code)
{
    // Codes 97 … 125: the Cyrillic capitals without a Latin look-alike, in code order.
    static constexpr char32_t kCyrillic[] = {0x0411, 0x0413, 0x0490, 0x0414, 0x0401, 0x0416, 0x0417, 0x0418,
                                             0x0419, 0x041B, 0x041F, 0x0423, 0x0424, 0x0426, 0x0427, 0x0428,
                                             0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0402,
                                             0x0404, 0x0407, 0x040C, 0x040E, 0x040F};
    switch (code) {
    case 0: return 0x040A;  // Њ
    case 92: return 0x0409; // Љ
    case 94: return std::nullopt;
    case 95: return 0x040B; // Ћ
    case 96: return 0x0060; // the small grave stroke
    case 126: return 0x007E;
    default: break;
    }
    if (code >= 32 && code <= 93) return char32_t(code);
    if (code >= 97 && code <= 125) return kCyrillic[code - 97];
    return std::nullopt;
}

const QPixmap &glyph_picture(int code)
{
    static QHash<int, QPixmap> cache;
    static const QPixmap none;
    const auto c = russian_glyph(code);
    if (!c) return none;
    auto it = cache.find(code);
    if (it != cache.end()) return *it;
    QPixmap pm(kGlyphSize, kGlyphSize);
    pm.fill(QColor(215, 207, 199));
    QPainter p(&pm);
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setStyleHint(QFont::TypeWriter);
    f.setBold(true);
    f.setPixelSize(14);
    p.setFont(f);
    p.setPen(QColor(16, 16, 16));
    p.drawText(QRect(0, 0, kGlyphSize, kGlyphSize), Qt::AlignCenter, QString::fromUcs4(&*c, 1));
    p.end();
    return *cache.insert(code, pm);
}

const std::array<std::vector<int>, 6> &keyboard_rows()
{
    static const std::array<std::vector<int>, 6> rows = [] {
        std::array<std::vector<int>, 6> r;
        auto range = [](std::vector<int> &v, int from, int to) {
            for (int k = from; k <= to; ++k) v.push_back(k);
        };
        range(r[0], 33, 47);
        r[0].push_back(63);
        range(r[1], 48, 62);
        r[1].push_back(126);
        range(r[2], 65, 80);
        range(r[3], 81, 90);
        r[3].insert(r[3].end(), {95, 64, 92, 96, 91, 93});
        range(r[4], 97, 112);
        range(r[5], 113, 119);
        r[5].insert(r[5].end(), {32, 0});
        range(r[5], 120, 125);
        return r;
    }();
    return rows;
}

} // namespace zr730
