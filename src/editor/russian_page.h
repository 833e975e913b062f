#pragma once
// The Russian prompt page: thirty rows of eighteen glyph cells showing the prompt records as
// pager codes, the cell cursor, the row alignment and default buttons, and the keyboard window
// that types at the cursor.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>

#include "image/prompts.h"
#include "support/program_state.h"

class QLabel;
class QPushButton;

namespace zr730 {

class MainWindow;
class RussianKeyboard;
class RussianPage;

// One glyph cell Image1(k): the picture of its code, with a single-line border while it is the
// cursor. A click selects it.
class GlyphCell : public QWidget {
public:
    GlyphCell(QWidget *parent, RussianPage &page, int k);
    void setCode(int code);
    void setSelected(bool on);
    int code() const { return m_code; }
    bool selected() const { return m_selected; }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    RussianPage &m_page;
    int m_k;
    int m_code = -1;
    bool m_selected = false;
};

class RussianPage : public QObject {
    Q_OBJECT
public:
    RussianPage(ProgramState &state, MainWindow &main);
    ~RussianPage() override;

    void build(QWidget *page);

    // The thirty glyph rows from the image.
    void read_rows();
    // selectCell: selects cell k (0 … 597, columns 0 … 17 of each row of 20).
    void selectCell(int k);
    int cursor() const { return m_cursor; }
    // A key of the keyboard: writes its code at the cursor and moves on, except on a row's last
    // column. The caller checks the mode.
    void type_code(int code);

    void alignRowLeft() { alignRow(Align::Left); }
    void alignRowCenter() { alignRow(Align::Center); }
    void alignRowRight() { alignRow(Align::Right); }
    void restoreDefaultRow();

    // The keyboard window opens with the page (cursor back to cell 0) and closes with it.
    void open_keyboard();
    void close_keyboard();
    RussianKeyboard *keyboard() const;

    std::array<QWidget *, kRussianRows> Picture1{};
    std::array<GlyphCell *, kLastCell + 1> Image1{}; // columns 18 and 19 of each row are empty
    std::array<QLabel *, kRussianRows> lblRus{};
    QPushButton *optRusL = nullptr, *optRusC = nullptr, *optRusR = nullptr, *optRusD = nullptr;

private:
    void alignRow(Align a);
    void showCell(int k);

    ProgramState &m_state;
    MainWindow &m_main;
    int m_cursor = 0;
    QPointer<RussianKeyboard> m_keyboard;
};

} // namespace zr730
