#include "editor/keyboard/russian_keyboard.h"

#include <QRadioButton>
#include <QToolButton>

#include "editor/controls.h"
#include "editor/main_window.h"
#include "editor/keyboard/glyphs.h"
#include "editor/russian_page.h"

namespace zr730 {

namespace {
constexpr int kKey = 28;    // a key's side
constexpr int kMargin = 8;
} // namespace

RussianKeyboard::RussianKeyboard(MainWindow &main, RussianPage &page)
    : QWidget(&main, Qt::Tool | Qt::WindowStaysOnTopHint), m_main(main), m_page(page)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Russian Keyboard"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    const auto &rows = keyboard_rows();
    for (int r = 0; r < int(rows.size()); ++r) {
        int x = kMargin;
        for (int k : rows[std::size_t(r)]) {
            const int w = k == 32 ? 2 * kKey : kKey;
            auto *key = new QToolButton(this);
            key->setObjectName(indexed("Command1", k));
            key->setGeometry(x, kMargin + r * kKey, w, kKey);
            key->setIcon(QIcon(glyph_picture(k)));
            key->setIconSize(QSize(kGlyphSize, kGlyphSize));
            key->setFocusPolicy(Qt::NoFocus);
            const auto c = russian_glyph(k);
            key->setAccessibleName(k == 32 ? QStringLiteral("Blank") : QString::fromUcs4(&*c, 1));
            connect(key, &QToolButton::clicked, this, [this, k] { pressKey(k); });
            Command1[std::size_t(k)] = key;
            x += w;
        }
    }
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Picture1->setGeometry(kMargin, kMargin + 6 * kKey + 4, 16 * kKey, 4);
    setFixedSize(2 * kMargin + 16 * kKey, 2 * kMargin + 6 * kKey + 8);
    // Beside the main window's right edge, where it covers no prompt.
    move(main.geometry().right() - width(), main.geometry().bottom() - height());
}

void RussianKeyboard::pressKey(int k)
{
    if (m_main.ModifyOpt->isChecked()) m_page.type_code(k);
    Picture1->setFocus(Qt::OtherFocusReason);
}

} // namespace zr730
