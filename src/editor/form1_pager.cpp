// Pager menu and the programmer-board watch.
#include "editor/form1.h"

namespace zr730 {

void Form1::mnuEntire_Click() {}
void Form1::mnuEB_Click() {}
void Form1::mnuEB1_Click() {}
void Form1::probe_board_at_startup() {}
void Form1::Timer1_Timer() {}

} // namespace zr730
