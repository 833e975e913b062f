#include "editor/russian_page.h"

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
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void GlyphCell::mousePressEvent(QMouseEvent *e)
{
    m_page.selectCell(m_k);
    e->accept();
}

RussianPage::RussianPage(ProgramState &state, MainWindow &main) : QObject(nullptr), m_state(state), m_main(main) {}

RussianPage::~RussianPage() { close_keyboard(); }

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
        QWidget *row = new QWidget(page);
        row->setObjectName(indexed("Picture1", r));
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
    for (QPushButton *b : {optRusL, optRusC, optRusR, optRusD}) b->setFocusPolicy(Qt::NoFocus);
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
}

void RussianPage::showCell(int k) { Image1[std::size_t(k)]->setCode(m_state.image[cell_address(k)]); }

void RussianPage::selectCell(int k)
{
    if (k < 0 || k > kLastCell || k % kCellRowStride >= kCellsPerRow) return;
    Image1[std::size_t(m_cursor)]->setSelected(false);
    m_cursor = k;
    Image1[std::size_t(k)]->setSelected(true);
}

void RussianPage::type_code(int code)
{
    m_state.image[cell_address(m_cursor)] = static_cast<std::uint8_t>(code);
    showCell(m_cursor);
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

RussianKeyboard *RussianPage::keyboard() const { return m_keyboard.data(); }

void RussianPage::close_keyboard()
{
    if (m_keyboard) delete m_keyboard.data();
}

} // namespace zr730
