// The "?" menu: opens the Help and About windows.
#include "dialogs/about_dialog.h"
#include "dialogs/help_dialog.h"
#include "main_window/form1.h"

namespace sacotin {

// Item 1 ("à propos") shows the About window, every other item the Help window. Both are
// modeless and have no owner: the main window stays usable and is never touched by them.
void Form1::smnu_help_Click(int index) {
  if (index == 1) {
    frmAbout::showOnRequest();
  } else {
    Dialog::showOnRequest();
  }
}

}  // namespace sacotin
