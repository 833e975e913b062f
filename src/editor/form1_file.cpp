// File menu: table files.
#include "editor/form1.h"

namespace zr730 {

void Form1::mnuLBFF_Click() {}
void Form1::mnuSBTF_Click() {}
void Form1::mnuSA_Click() {}
void Form1::open_default_table() {}

} // namespace zr730
