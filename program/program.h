#pragma once

#include <functional>
#include <memory>

#include "current_user/current_user_registry.h"
#include "main_window/form1.h"

class QApplication;

namespace sacotin {

// What the whole program shares, set once before its first window: the fonts the layouts were
// drawn for and Qt's own texts (standard buttons, context menus) in French.
void setUpApplication(QApplication& application);

// What the main window reads on this machine: the current user's registry and the liste.dat
// beside the executable, both read on other threads while the window is built (the registry may
// have been started earlier); the window waits for them when it first needs them.
Form1Sources thisMachineSources(
    std::unique_ptr<RegistryBackend> registry = readCurrentUserRegistryInBackground());

// The main window's "?" menu opens the Help and About windows.
void connectHelpMenu(Form1& window);

// The whole program: the game's registry is read on a second thread while Qt starts and the main
// window is built, then the window is shown; returns when the program ends. `whenShown`, when
// given, is called once the window is shown (the start-up benchmark ends the program there).
int runProgram(int& argc, char** argv,
               const std::function<void(QApplication&, Form1&)>& whenShown = {});

}  // namespace sacotin
