#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "encodings/ansi_code_page.h"
#include "main_window/form1.h"
#include "support/fake_registry.h"
#include "support/temp_files.h"
#include "support/window_keyboard.h"
#include "widgets/cr_label.h"

namespace sacotin::testing {

// A main window over an in-memory registry and a catalogue in a scratch folder, with the
// user's actions on its real controls.
// Inventory lists compared without regard to their order (the order is tested on its own: it
// is the system's collation, which differs between Windows and Wine).
inline QStringList unordered(QStringList names) {
  names.sort();
  return names;
}

class InventoryWindowTest : public ::testing::Test {
 protected:
  static inline const QChar CR{13};
  // A two-line status text: the lines joined by a carriage return.
  static QString twoLines(const QString& first, const QString& second) {
    return first + CR + second;
  }

  void TearDown() override { window.reset(); }

  // liste.dat for the window (until this is called, the window's catalogue doesn't exist).
  void writeCatalogue(const QStringList& lines) { files.writeCatalogue(lines); }

  // Creates the window, which runs its start-up sequence, and shows it.
  Form1& openWindow() {
    window = std::make_unique<Form1>(Form1Sources{sharedWithTest(registry), makeAnsiCodePage(1252),
                                                  files.filePath("liste.dat")});
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }

  template <typename Widget>
  Widget* control(const char* name) const {
    auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QComboBox* accounts() const { return control<QComboBox>("Combo1"); }
  QComboBox* characters() const { return control<QComboBox>("Combo2"); }
  QListWidget* itemList() const { return control<QListWidget>("List1"); }
  CrLabel* statusLine() const { return control<CrLabel>("Label1"); }

  QString status() const { return statusLine()->text(); }
  bool statusIsRed() const {
    return statusLine()->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
  }

  static QStringList entries(const QComboBox* chooser) {
    QStringList texts;
    for (int row = 0; row < chooser->count(); ++row) texts << chooser->itemText(row);
    return texts;
  }
  QStringList items() const {
    QStringList texts;
    for (int row = 0; row < itemList()->count(); ++row) texts << itemList()->item(row)->text();
    return texts;
  }

  // The user picks an entry: opens the chooser's list and clicks the entry.
  static void choose(QComboBox* chooser, int row) {
    chooser->showPopup();
    QAbstractItemView* view = chooser->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    const QRect entry = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
    QTRY_VERIFY(!view->isVisible());
  }
  void chooseAccount(int row) { choose(accounts(), row); }
  void chooseCharacter(int row) { choose(characters(), row); }
  void clickRefresh() { QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton); }

  QString countStatus(const QString& character, int count) const {
    return character + CR + "Vous possedez " + QString::number(count) + " objets";
  }

  std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
  TempFiles files;
  std::unique_ptr<Form1> window;
};

}  // namespace sacotin::testing
