// Search mode: find every character of every account that carries one item.
#include "main_window/form1.h"

namespace sacotin {

void Form1::mnu_recherche_Click() {}
void Form1::mnu_inv_Click() {}
void Form1::load_search() {}
void Form1::search() {}

}  // namespace sacotin
