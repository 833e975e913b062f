#include "editor/russian_page.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "editor/controls.h"
#include "editor/main_window.h"
#include "editor/keyboard/russian_keyboard.h"
#include "editor/keyboard/glyphs.h"

namespace zr730 {

GlyphCell::GlyphCell(QWidget *parent, RussianPage &page, int k) : QWidget(parent), m_page(page), m_k(k)
{
    setObjectName(indexed("Image1", k));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GlyphCell::setCode(int code)
{
    if (code == m_code) return;
    m_code = code;
    update();
}

void GlyphCell::setSelected(bool on)
{
    if (on == m_selected) return;
    m_selected = on;
    if (on) raise();
    update();
}

void GlyphCell::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const QPixmap &pm = glyph_picture(m_code);
    if (!pm.isNull()) p.drawPixmap(rect().adjusted(1, 1, -1, -1), pm);
    if (m_selected) {
        // While its row has the keyboard focus the cursor cell is framed in the focus colour,
        // two pixels wide, inside the cell.
        const bool focused = parentWidget() && parentWidget()->hasFocus();
        p.setPen(focused ? palette().color(QPalette::Highlight) : QColor(Qt::black));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        if (focused) p.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void GlyphCell::mousePressEvent(QMouseEvent *e)
{
    m_page.selectCell(m_k);
    e->accept();
}

namespace {

QString glyph_text(int code)
{
    const auto c = russian_glyph(code);
    return c ? QString::fromUcs4(&*c, 1) : QStringLiteral(" ");
}

// What screen readers and automation tools see of a row: a text of eighteen characters whose
// caret is the cell cursor; moving the caret selects that cell, as a click on it does.
class GlyphRowAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit GlyphRowAccessible(GlyphRow *row) : QAccessibleWidget(row, QAccessible::EditableText) {}

    // The row is read as its text; its cells are not controls of their own.
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? row()->text() : QAccessibleWidget::text(t);
    }
    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    void selection(int, int *startOffset, int *endOffset) const override { *startOffset = *endOffset = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return row()->caret(); }
    void setCursorPosition(int position) override
    {
        // Disabled (input held during a transfer), the row takes nothing from outside either.
        if (row()->isEnabled()) row()->selectColumn(position);
    }
    QString text(int startOffset, int endOffset) const override
    {
        return row()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return kCellsPerRow; }
    QRect characterRect(int offset) const override
    {
        if (offset < 0 || offset >= kCellsPerRow) return {};
        const QWidget *cell = row()->page().Image1[std::size_t(kCellRowStride * row()->row() + offset)];
        return {cell->mapToGlobal(QPoint(0, 0)), cell->size()};
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint at = row()->mapFromGlobal(point);
        if (!row()->rect().contains(at)) return -1;
        return std::min(kCellsPerRow - 1, at.x() * kCellsPerRow / std::max(1, row()->width()));
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = kCellsPerRow;
        return {};
    }

private:
    GlyphRow *row() const { return static_cast<GlyphRow *>(widget()); }
};

QAccessibleInterface *glyph_row_accessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(GlyphRow::staticMetaObject.className()) && object->isWidgetType())
        return new GlyphRowAccessible(static_cast<GlyphRow *>(object));
    return nullptr;
}

} // namespace

std::optional<int> cell_after_key(int k, int key)
{
    const int row = k / kCellRowStride, column = k % kCellRowStride, first = kCellRowStride * row;
    switch (key) {
    case Qt::Key_Left: return column > 0 ? k - 1 : k;
    case Qt::Key_Right: return column < kCellsPerRow - 1 ? k + 1 : k;
    case Qt::Key_Home: return first;
    case Qt::Key_End: return first + kCellsPerRow - 1;
    case Qt::Key_Up: return row > 0 ? k - kCellRowStride : k;
    case Qt::Key_Down: return row < kRussianRows - 1 ? k + kCellRowStride : k;
    default: return std::nullopt;
    }
}

GlyphRow::GlyphRow(QWidget *parent, RussianPage &page, int row) : QWidget(parent), m_page(page), m_row(row)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(glyph_row_accessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(indexed("Picture1", row));
    // Tab reaches the row; a click on a cell selects the cell and leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
}

QString GlyphRow::text() const
{
    QString t;
    if (m_detached) return t;
    for (int c = 0; c < kCellsPerRow; ++c)
        if (const GlyphCell *cell = m_page.Image1[std::size_t(kCellRowStride * m_row + c)]) t += glyph_text(cell->code());
    return t;
}

int GlyphRow::caret() const
{
    if (m_detached) return 0;
    const int k = m_page.cursor();
    return k / kCellRowStride == m_row ? k % kCellRowStride : 0;
}

void GlyphRow::selectColumn(int column)
{
    if (!m_detached && column >= 0 && column < kCellsPerRow) m_page.selectCell(kCellRowStride * m_row + column);
}

void GlyphRow::notifyTextChanged()
{
    const QString now = text();
    if (now == m_shown) return;
    QAccessibleTextUpdateEvent event(this, 0, m_shown, now);
    m_shown = now;
    QAccessible::updateAccessibility(&event);
}

void GlyphRow::notifyCaretMoved()
{
    QAccessibleTextCursorEvent event(this, caret());
    QAccessible::updateAccessibility(&event);
}

void GlyphRow::keyPressEvent(QKeyEvent *event)
{
    if (m_detached) return QWidget::keyPressEvent(event);
    if (event->key() == Qt::Key_F6) {
        m_page.focusKeyboard();
        return;
    }
    const auto to = cell_after_key(m_page.cursor(), event->key());
    if (!to || (event->modifiers() & ~Qt::KeypadModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    m_page.selectCell(*to);
    // The focus follows the cursor to its row.
    if (*to / kCellRowStride != m_row) m_page.Picture1[std::size_t(*to / kCellRowStride)]->setFocus(Qt::OtherFocusReason);
}

void GlyphRow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (m_detached) return;
    // Tabbing into a row brings the cursor along, to the same column.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        selectColumn(m_page.cursor() % kCellRowStride);
    m_page.Image1[std::size_t(m_page.cursor())]->update();
}

void GlyphRow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    // The window's teardown moves the focus after the page object is gone.
    if (m_detached) return;
    m_page.Image1[std::size_t(m_page.cursor())]->update();
}

RussianPage::RussianPage(ProgramState &state, MainWindow &main) : QObject(nullptr), m_state(state), m_main(main) {}

RussianPage::~RussianPage()
{
    for (GlyphRow *row : Picture1)
        if (row) row->detach();
    close_keyboard();
}

void RussianPage::build(QWidget *page)
{
    const QString tip
        = QStringLiteral(" Small Font ( Less than 19 characters ).  Please use the Russian Keyboard to input.");
    constexpr int cell = kGlyphSize + 2, pitch = 26, labelWidth = 124;
    for (int r = 0; r < kRussianRows; ++r) {
        const int x = r < 15 ? 8 : 468, y = 12 + pitch * (r % 15);
        const auto &label = prompt_table()[std::size_t(r + 1)].russianLabel;
        lblRus[std::size_t(r)] = makeLabel(page, indexed("lblRus", r), QString::fromUtf8(label.data(), int(label.size())),
                                           {x, y, labelWidth, cell});
        lblRus[std::size_t(r)]->setToolTip(tip);
        auto *row = new GlyphRow(page, *this, r);
        row->setGeometry(x + labelWidth + 2, y, cell * kCellsPerRow, cell);
        labelControl(lblRus[std::size_t(r)], row);
        Picture1[std::size_t(r)] = row;
        for (int c = 0; c < kCellsPerRow; ++c) {
            const int k = kCellRowStride * r + c;
            auto *g = new GlyphCell(row, *this, k);
            g->setGeometry(cell * c, 0, cell, cell);
            Image1[std::size_t(k)] = g;
        }
    }
    const int by = 12 + pitch * 15 + 16;
    optRusL = makeButton(page, "optRusL", "Align Left", {8, by, 120, 28});
    optRusC = makeButton(page, "optRusC", "Align Center", {136, by, 120, 28});
    optRusR = makeButton(page, "optRusR", "Align Right", {264, by, 120, 28});
    optRusD = makeButton(page, "optRusD", "Load Default", {392, by, 120, 28});
    // Tab reaches the buttons; a click leaves the focus where it was.
    for (QPushButton *b : {optRusL, optRusC, optRusR, optRusD}) b->setFocusPolicy(Qt::TabFocus);
    connect(optRusL, &QPushButton::clicked, this, [this] { alignRowLeft(); });
    connect(optRusC, &QPushButton::clicked, this, [this] { alignRowCenter(); });
    connect(optRusR, &QPushButton::clicked, this, [this] { alignRowRight(); });
    connect(optRusD, &QPushButton::clicked, this, [this] { restoreDefaultRow(); });
    Image1[0]->setSelected(true);
}

void RussianPage::read_rows()
{
    for (int k = 0; k <= kLastCell; ++k)
        if (k % kCellRowStride < kCellsPerRow) showCell(k);
    for (GlyphRow *row : Picture1) row->notifyTextChanged();
}

void RussianPage::showCell(int k) { Image1[std::size_t(k)]->setCode(m_state.image[cell_address(k)]); }

void RussianPage::selectCell(int k)
{
    if (k < 0 || k > kLastCell || k % kCellRowStride >= kCellsPerRow) return;
    Image1[std::size_t(m_cursor)]->setSelected(false);
    m_cursor = k;
    Image1[std::size_t(k)]->setSelected(true);
    Picture1[std::size_t(k / kCellRowStride)]->notifyCaretMoved();
}

void RussianPage::type_code(int code)
{
    m_state.image[cell_address(m_cursor)] = static_cast<std::uint8_t>(code);
    showCell(m_cursor);
    Picture1[std::size_t(m_cursor / kCellRowStride)]->notifyTextChanged();
    if ((m_cursor + 1) % kCellRowStride < kCellsPerRow) selectCell(m_cursor + 1);
}

void RussianPage::alignRow(Align a)
{
    align_russian_row(m_state.image, m_cursor / kCellRowStride, a);
    read_rows();
}

void RussianPage::restoreDefaultRow()
{
    load_default_prompt(m_state.image, m_cursor / kCellRowStride + 1, kRussianIndex);
    read_rows();
}

void RussianPage::open_keyboard()
{
    selectCell(0);
    if (!m_keyboard) m_keyboard = new RussianKeyboard(m_main, *this);
    m_keyboard->show();
    m_keyboard->raise();
}

void RussianPage::focusKeyboard()
{
    if (m_keyboard) m_keyboard->takeFocus();
}

void RussianPage::focusCursorRow()
{
    m_main.activateWindow();
    Picture1[std::size_t(m_cursor / kCellRowStride)]->setFocus(Qt::OtherFocusReason);
}

RussianKeyboard *RussianPage::keyboard() const { return m_keyboard.data(); }

void RussianPage::close_keyboard()
{
    if (m_keyboard) delete m_keyboard.data();
}

} // namespace zr730
