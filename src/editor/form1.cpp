// Main window (being built).
#include "editor/form1.h"

#include "editor/scaling.h"

namespace zr730 {

Form1::Form1(ProgramState &state, QWidget *parent) : QMainWindow(parent), m_state(state) {}
Form1::~Form1() = default;
void Form1::Form_Load() {}
void Form1::resizeEvent(QResizeEvent *event) { QMainWindow::resizeEvent(event); }
bool Form1::eventFilter(QObject *watched, QEvent *event) { return QMainWindow::eventFilter(watched, event); }
void Form1::closeEvent(QCloseEvent *event) { QMainWindow::closeEvent(event); }
void Form1::keyPressEvent(QKeyEvent *event) { QMainWindow::keyPressEvent(event); }

} // namespace zr730
