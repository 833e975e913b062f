#pragma once
// The Russian prompt page: thirty rows of eighteen glyph cells showing the prompt records as
// pager codes, the cell cursor, the row alignment and default buttons, and the keyboard window
// that types at the cursor.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <array>
#include <optional>

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

// One row Picture1(r) of glyph cells, as one control for the keyboard and for screen readers: it
// takes the focus with Tab, its text is the row's eighteen characters and its caret is the cell
// cursor. Arrow keys, Home and End move the cursor within the row, Up and Down to the rows
// before and after, by the same cell rule as a click; F6 goes over to the Russian keyboard.
class GlyphRow : public QWidget {
    Q_OBJECT
public:
    GlyphRow(QWidget *parent, RussianPage &page, int row);
    int row() const { return m_row; }
    RussianPage &page() const { return m_page; }
    // The characters the cells show; a code without a glyph shows as a blank.
    QString text() const;
    // The cursor's column while the cursor is in this row, else 0.
    int caret() const;
    // Selects the cell in `column`, as a click on it does.
    void selectColumn(int column);
    // Tell assistive tools what changed.
    void notifyTextChanged();
    void notifyCaretMoved();
    // The page is going away before this row: from now on its events leave the page alone.
    void detach() { m_detached = true; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    RussianPage &m_page;
    int m_row;
    QString m_shown; // the text assistive tools last heard
    bool m_detached = false;
};

// The cell a key moves the cursor to from cell k: Left/Right within the row (stopping at its
// ends), Home/End to the row's first and last column, Up/Down to the same column of the row
// before or after (stopping at the first and last row). None for any other key.
std::optional<int> cell_after_key(int k, int key);

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
    // F6: the keyboard window takes the focus (its first key), or the cursor's row takes it back.
    void focusKeyboard();
    void focusCursorRow();
    RussianKeyboard *keyboard() const;

    std::array<GlyphRow *, kRussianRows> Picture1{};
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
