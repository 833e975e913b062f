// The programmer-board probe at start-up and the board watch.
#include "editor/form1.h"

namespace zr730 {

void Form1::probe_board_at_startup() {}
void Form1::Timer1_Timer() {}

} // namespace zr730
