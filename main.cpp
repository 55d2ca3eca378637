#include <QApplication>

#include "dialogs/program_images.h"
#include "main_window/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setWindowIcon(sacotin::programWindowIcon());  // every window of the program shows it
  sacotin::Form1 window(sacotin::Form1Sources::forThisMachine());
  window.show();
  return app.exec();
}
