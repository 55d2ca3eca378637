// The program's start as main.cpp makes it (runProgram), ended as soon as the first inventory is on
// the screen: the child process that the whole-process start-up benchmark times. With
// --empty-window it shows an empty Qt window instead (what any Qt program pays to start).
// Once the window is painted it writes one byte to file descriptor 3, when that is open (the
// benchmark's pipe), so that the time to the first inventory leaves out the process's end.
// Exits 0 when an inventory was listed, 3 when none was.
#include <unistd.h>

#include <QApplication>
#include <QListWidget>
#include <QTimer>
#include <QWidget>
#include <string_view>

#include "main_window/form1.h"
#include "program/program.h"

namespace {

void tellShown() {
  constexpr int kShownPipe = 3;
  [[maybe_unused]] const ssize_t written = ::write(kShownPipe, "1", 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--empty-window") {
    QApplication app(argc, argv);
    QWidget window;
    window.show();
    QTimer::singleShot(0, &app, [] {
      tellShown();
      QCoreApplication::quit();
    });
    return app.exec();
  }
  return sacotin::runProgram(argc, argv, [](QApplication& app, sacotin::Form1& window) {
    // The first turn of the event loop paints the window with its first inventory.
    QTimer::singleShot(0, &app, [&app, &window] {
      if (window.List1->count() > 0) tellShown();
      app.exit(window.List1->count() > 0 ? 0 : 3);
    });
  });
}
