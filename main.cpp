#include <QApplication>

#include "main_window/form1.h"
#include "program/program.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  sacotin::setUpApplication(app);
  sacotin::Form1 window(sacotin::Form1Sources::forThisMachine());
  sacotin::connectHelpMenu(window);
  window.show();
  return app.exec();
}
