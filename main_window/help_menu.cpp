// The "?" menu: opens the Help and About windows.
#include "main_window/form1.h"

namespace sacotin {

void Form1::smnu_help_Click(int /*index*/) {}

}  // namespace sacotin
