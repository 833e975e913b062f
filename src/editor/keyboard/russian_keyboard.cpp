#include "editor/keyboard/russian_keyboard.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
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

// Screen readers see the keyboard as the window it is, not as a panel.
QAccessibleInterface *keyboard_accessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(RussianKeyboard::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

RussianKeyboard::RussianKeyboard(MainWindow &main, RussianPage &page)
    : QWidget(&main, Qt::Tool | Qt::WindowStaysOnTopHint), m_main(main), m_page(page)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(keyboard_accessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
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
            // Tab reaches every key, in rows; a click leaves the focus where it was.
            key->setFocusPolicy(Qt::TabFocus);
            const auto c = russian_glyph(k);
            key->setAccessibleName(k == 32 ? QStringLiteral("Blank") : QString::fromUcs4(&*c, 1));
            connect(key, &QToolButton::clicked, this, [this, key, k] {
                const bool fromKeyboard = focusWidget() == key;
                pressKey(k);
                // Pressed from the keyboard, the key keeps the focus, so the next one is near.
                if (fromKeyboard) key->setFocus(Qt::OtherFocusReason);
            });
            Command1[std::size_t(k)] = key;
            x += w;
        }
    }
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    // The focus rests here after a clicked key; Tab passes it by.
    Picture1->setFocusPolicy(Qt::ClickFocus);
    Picture1->setAccessibleName(windowTitle());
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

void RussianKeyboard::takeFocus()
{
    show();
    raise();
    activateWindow();
    QWidget *key = focusWidget();
    if (!qobject_cast<QToolButton *>(key)) key = Command1[std::size_t(keyboard_rows()[0].front())];
    key->setFocus(Qt::OtherFocusReason);
}

void RussianKeyboard::keyPressEvent(QKeyEvent *event)
{
    // Enter presses the key in focus as Space does.
    auto *key = qobject_cast<QToolButton *>(focusWidget());
    if (key && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        key->click();
        return;
    }
    if (event->key() == Qt::Key_F6) {
        m_page.focusCursorRow();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace zr730
