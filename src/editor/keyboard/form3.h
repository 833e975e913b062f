#pragma once
// The Russian keyboard: one key per character of the pager's Russian font. A key writes its
// pager code at the Russian page's cell cursor, in Modify Mode only. Top-most and modeless.
#include <QWidget>
#include <array>

class QToolButton;

namespace zr730 {

class Form1;
class RussianPage;

class Form3 : public QWidget {
    Q_OBJECT
public:
    Form3(Form1 &main, RussianPage &page);

    // Command1_Click: the key with pager code k.
    void Command1_Click(int k);

    std::array<QToolButton *, 127> Command1{}; // by pager code; codes without a key are null
    QWidget *Picture1 = nullptr;               // takes the focus after every key

private:
    Form1 &m_main;
    RussianPage &m_page;
};

} // namespace zr730
