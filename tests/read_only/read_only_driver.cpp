// Runs Sacotin the way a player does, without a display: start-up on this machine's sources
// (the Wine prefix named by WINEPREFIX or HOME, liste.dat beside this executable), every account
// and every character chosen in turn, a search for one catalogue name, back to the inventory,
// then the Help and About windows. It prints what it saw, one "what count" pair per line, so the
// test that starts it can tell the run really went through every step.
//
// The read-only test runs it with empty HOME and XDG folders and checks that nothing changed.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextStream>

#include "main_window/form1.h"
#include "program/program.h"

namespace {

template <typename Widget>
Widget* control(QWidget& window, const char* name) {
  auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
  if (!widget) qFatal("no control %s", name);
  return widget;
}

// The user's choice of the first entry, then of the next one, with the keyboard (Home, Down):
// each key is a choice of its own, as it is for the user.
void chooseFirst(QComboBox* chooser) {
  chooser->setFocus();
  QTest::keyClick(chooser, Qt::Key_Home);
  QCoreApplication::processEvents();
}
void chooseNext(QComboBox* chooser) {
  QTest::keyClick(chooser, Qt::Key_Down);
  QCoreApplication::processEvents();
}

QAction* action(QWidget& window, const char* name) { return control<QAction>(window, name); }

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  sacotin::setUpApplication(app);
  QTextStream out(stdout);

  sacotin::Form1 window(sacotin::thisMachineSources());
  sacotin::connectHelpMenu(window);
  window.show();
  QCoreApplication::processEvents();

  auto* accounts = control<QComboBox>(window, "Combo1");
  auto* characters = control<QComboBox>(window, "Combo2");
  auto* items = control<QListWidget>(window, "List1");
  int charactersSeen = 0;
  int itemsSeen = 0;
  const int accountCount = accounts->count();
  for (int a = 0; a < accountCount; ++a) {
    a == 0 ? chooseFirst(accounts) : chooseNext(accounts);
    const int characterCount = characters->count();
    for (int c = 0; c < characterCount; ++c) {
      c == 0 ? chooseFirst(characters) : chooseNext(characters);
      ++charactersSeen;
      itemsSeen += items->count();
    }
  }
  QTest::mouseClick(control<QPushButton>(window, "Command1"), Qt::LeftButton);
  out << "accounts " << accountCount << "\ncharacters " << charactersSeen << "\nitems " << itemsSeen
      << "\n";

  // Search for the first catalogue name, then back to the inventory.
  action(window, "mnu_recherche")->trigger();
  auto* names = control<QComboBox>(window, "Combo3");
  out << "names " << names->count() << "\n";
  if (names->count() > 0) names->setCurrentIndex(0);
  QTest::mouseClick(control<QPushButton>(window, "Command1"), Qt::LeftButton);
  out << "results " << control<QListWidget>(window, "List2")->count() << "\n";
  action(window, "mnu_inv")->trigger();

  // The Help and About windows.
  int windowsShown = 0;
  for (QAction* help : window.findChildren<QAction*>(QStringLiteral("smnu_help"))) {
    help->trigger();
    QCoreApplication::processEvents();
  }
  for (QWidget* topLevel : QApplication::topLevelWidgets()) {
    if (topLevel->isVisible() && (topLevel->objectName() == QLatin1String("Dialog") ||
                                  topLevel->objectName() == QLatin1String("frmAbout"))) {
      ++windowsShown;
    }
  }
  out << "dialogs " << windowsShown << "\n";
  out.flush();

  QApplication::closeAllWindows();
  QCoreApplication::processEvents();
  return 0;
}
