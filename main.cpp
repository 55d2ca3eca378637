#include <QApplication>

#include "main_window/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  sacotin::Form1 window(sacotin::Form1Sources::forThisMachine());
  window.show();
  return app.exec();
}
