#pragma once

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenuBar>
#include <functional>
#include <map>

#include "inventory_fixture.h"

namespace sacotin::testing {

// Passes every open on to an in-memory registry and tells a test of it: how often each key was
// opened, what the status line had painted then. A search run opens keys on a second thread.
class WatchedRegistry final : public RegistryBackend {
 public:
  explicit WatchedRegistry(std::shared_ptr<FakeRegistry> registry)
      : registry_(std::move(registry)) {}

  std::function<void(const QString& path)> onOpen;
  std::map<QString, int> opens;  // requests per key path

  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override {
    const QString text = QString::fromStdU16String(std::u16string(path));
    ++opens[text];
    if (onOpen) onOpen(text);
    return registry_->openKey(path);
  }

 private:
  std::shared_ptr<FakeRegistry> registry_;
};

// The main window with its search controls, driven like the user drives them: the menu bar,
// the search chooser's popup and keyboard, the action button.
class SearchWindowTest : public InventoryWindowTest {
 protected:
  // The catalogue most tests search in. Two numbers (100, 102) share the name Epee; "Epe" is
  // listed but nobody carries it.
  static QStringList standardCatalogue() {
    return {"100", "Nom=Epee",        "101", "Nom=bouclier", "102", "Nom=Epee",
            "103", "Nom=épieu",       "104", "Nom=Arc",      "105", "Nom=zèbre en peluche",
            "106", "Nom=Épée longue", "107", "Nom=Epe"};
  }

  // compte1: perso1 carries Epee (100) in three slots and a bouclier; perso2 carries Epee under
  // the other number (102) and an Arc. compte2: héros carries an item without catalogue entry
  // (999) and an épieu; archer carries an Arc, a zèbre and an Épée longue.
  void addStandardAccounts() {
    for (int item : {100, 101, 100, 100}) registry->addItem("compte1", "perso1", item);
    for (int item : {104, 102}) registry->addItem("compte1", "perso2", item);
    for (int item : {999, 103}) registry->addItem("compte2", "héros", item);
    for (int item : {106, 104, 105}) registry->addItem("compte2", "archer", item);
  }

  // Opens the window over a registry that reports every key opened (see WatchedRegistry).
  WatchedRegistry& openWatchedWindow() {
    auto watched = std::make_unique<WatchedRegistry>(registry);
    WatchedRegistry& kept = *watched;  // the window keeps it
    window = std::make_unique<Form1>(
        Form1Sources{std::move(watched), makeAnsiCodePage(1252), files.filePath("liste.dat")});
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return kept;
  }

  QComboBox* nameChooser() const { return control<QComboBox>("Combo3"); }
  QListWidget* resultList() const { return control<QListWidget>("List2"); }
  QPushButton* actionButton() const { return control<QPushButton>("Command1"); }
  QFrame* searchFrame() const { return control<QFrame>("Frame5"); }
  QFrame* inventoryFrame() const {
    for (auto* frame : window->findChildren<QFrame*>(QStringLiteral("Frame1"))) {
      if (frame->property("index").toInt() == 1) return frame;
    }
    ADD_FAILURE() << "no Frame1(1)";
    return nullptr;
  }
  QAction* menu(const char* name) const { return control<QAction>(name); }

  // Chooses a top-level item of the menu bar with the mouse; only a visible item can be hit.
  void chooseMenu(const char* name) const {
    QAction* action = menu(name);
    QMenuBar* bar = window->menuBar();
    const QRect place = bar->actionGeometry(action);
    ASSERT_TRUE(action->isVisible() && place.isValid()) << name << " is not shown";
    QTest::mouseClick(bar, Qt::LeftButton, {}, place.center());
  }
  void enterSearchMode() const { chooseMenu("mnu_recherche"); }
  void leaveSearchMode() const { chooseMenu("mnu_inv"); }
  void clickSearch() const { QTest::mouseClick(actionButton(), Qt::LeftButton); }

  // Types into the search chooser key by key. Accented letters have no key code in QTest, so
  // they go as text-only key events.
  void typeName(const QString& text) const {
    QLineEdit* edit = nameChooser()->lineEdit();
    edit->setFocus();
    for (const QChar ch : text) {
      if (ch.unicode() < 0x80) {
        QTest::keyClick(edit, ch.toLatin1());
      } else {
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
      }
    }
  }
  // Replaces the chooser's text with the keyboard: select all, delete, type.
  void retypeName(const QString& text) const {
    QLineEdit* edit = nameChooser()->lineEdit();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    typeName(text);
  }
  // A whole search as the user runs it: type the name, press "Rechercher".
  void searchFor(const QString& text) const {
    retypeName(text);
    clickSearch();
  }

  QStringList results() const {
    QStringList lines;
    for (int row = 0; row < resultList()->count(); ++row) lines << resultList()->item(row)->text();
    return lines;
  }

  // What the two modes show (the frames, the action button, the menu bar).
  void expectInventoryMode() const {
    EXPECT_EQ(window->mode(), Form1::InventoryMode);
    EXPECT_TRUE(inventoryFrame()->isVisible());
    EXPECT_FALSE(searchFrame()->isVisible());
    EXPECT_EQ(actionButton()->text(), "Rafraichir");
    EXPECT_TRUE(menu("mnu_recherche")->isVisible());
    EXPECT_FALSE(menu("mnu_inv")->isVisible());
  }
  void expectSearchMode() const {
    EXPECT_EQ(window->mode(), Form1::SearchMode);
    EXPECT_FALSE(inventoryFrame()->isVisible());
    EXPECT_TRUE(searchFrame()->isVisible());
    EXPECT_EQ(actionButton()->text(), "Rechercher");
    EXPECT_FALSE(menu("mnu_recherche")->isVisible());
    EXPECT_TRUE(menu("mnu_inv")->isVisible());
  }

  static inline const QString kNotFound =
      QStringLiteral("Recherche terminée") + QChar(13) + QStringLiteral("Objet non trouvé");
};

}  // namespace sacotin::testing
