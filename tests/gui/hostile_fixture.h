#pragma once

// The main window over a real Wine prefix (user.reg read by the program's own reader) and a
// real liste.dat, both written by the test: for damaged, huge or odd files.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>

#include "inventory_fixture.h"
#include "registry/wine/wine_user_registry.h"

namespace sacotin::testing {

// Bytes of a literal that holds NUL characters.
template <std::size_t N>
QByteArray raw(const char (&text)[N]) {
  return QByteArray(text, N - 1);
}

class HostileWindowTest : public InventoryWindowTest {
 protected:
  static inline const QByteArray kHeader =
      "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
      "#arch=win32\n";

  void SetUp() override {
    writeCatalogue(
        {"100", "Nom=Arc", "200", "Nom=Bouclier", "300", "Nom=Casque", "1234", "Nom=Epee"});
  }

  QString userRegPath() const { return files.filePath("user.reg"); }
  QString cataloguePath() const { return files.filePath("liste.dat"); }

  // user.reg exactly as given, header included (or not).
  void writeUserRegBytes(const QByteArray& bytes) { files.write("user.reg", bytes); }

  // The section of one character's inventory, with one two-byte slot per item number.
  static QByteArray inventorySection(const QByteArray& account, const QByteArray& character,
                                     std::initializer_list<int> itemNumbers) {
    QByteArray section = "\n[Software\\\\Vircom\\\\T4C\\\\" + account + "\\\\Characters\\\\" +
                         character + "\\\\Inventory] 1796626280\n#time=1dd6dc0300c26d1\n";
    int slot = 0;
    for (const int number : itemNumbers) {
      section += "\"ItemID" + QByteArray::number(slot++) +
                 "\"=hex:" + QByteArray::number(number & 0xff, 16).rightJustified(2, '0') + "," +
                 QByteArray::number(number >> 8, 16).rightJustified(2, '0') + "\n";
    }
    return section;
  }

  // Creates the window over the prefix's user.reg and liste.dat, which runs its start-up.
  Form1& openWineWindow() {
    window = std::make_unique<Form1>(Form1Sources{
        std::make_unique<WineUserRegistry>(userRegPath().toStdString(), makeAnsiCodePage(1252)),
        makeAnsiCodePage(1252), cataloguePath()});
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }

  QString neverInstalled() const {
    return QString("Vous n'avez jamais installé T4c") + CR + "ou ne l'avez jamais lancé";
  }
};

}  // namespace sacotin::testing
