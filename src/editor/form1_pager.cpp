// Pager menu: Read, Write and Verfy.
#include "editor/form1.h"

namespace zr730 {

void Form1::mnuEntire_Click() {}
void Form1::mnuEB_Click() {}
void Form1::mnuEB1_Click() {}

} // namespace zr730
