#pragma once

class QApplication;

namespace sacotin {

class Form1;

// What the whole program shares, set once before its first window: the fonts the layouts were
// drawn for and Qt's own texts (standard buttons, context menus) in French.
void setUpApplication(QApplication& application);

// The main window's "?" menu opens the Help and About windows.
void connectHelpMenu(Form1& window);

}  // namespace sacotin
