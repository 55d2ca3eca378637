#include "main_window/form1.h"

#include <QCoreApplication>

#include "main_window/cr_label.h"

namespace sacotin {

Form1Sources Form1Sources::forThisMachine() {
  return {makeCurrentUserRegistry(), systemAnsiCodePage(),
          QCoreApplication::applicationDirPath() + "/liste.dat"};
}

Form1::Form1(Form1Sources sources, QWidget* parent)
    : QMainWindow(parent), sources_(std::move(sources)), gameRegistry_(*sources_.registry) {}

Form1::~Form1() = default;

void Form1::Form_Load() {}
void Form1::open_compte() {}
void Form1::open_chars(int) {}
void Form1::see_inv() {}
void Form1::open_file(std::string_view) {}
QString Form1::conv(std::string_view) const { return {}; }
void Form1::Combo1_Click() {}
void Form1::Combo2_Click() {}
void Form1::Command1_Click() {}

}  // namespace sacotin
