#pragma once
// The Russian keyboard: one key per character of the pager's Russian font. A key writes its
// pager code at the Russian page's cell cursor, in Modify Mode only. Top-most and modeless.
// Tab reaches the keys row by row; Space or Enter presses the key in focus, which keeps the
// focus; F6 goes back to the cursor's row on the Russian page.
#include <QWidget>
#include <array>

class QToolButton;

namespace zr730 {

class MainWindow;
class RussianPage;

class RussianKeyboard : public QWidget {
    Q_OBJECT
public:
    RussianKeyboard(MainWindow &main, RussianPage &page);

    // pressKey: the key with pager code k.
    void pressKey(int k);
    // The window takes the keyboard focus: the key that had it last, else the first key.
    void takeFocus();

    std::array<QToolButton *, 127> Command1{}; // by pager code; codes without a key are null
    QWidget *Picture1 = nullptr;               // takes the focus after every key

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    MainWindow &m_main;
    RussianPage &m_page;
};

} // namespace zr730
