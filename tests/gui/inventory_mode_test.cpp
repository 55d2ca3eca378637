// The inventory mode as the user sees it: start-up, the two choosers, the action button and the
// status line, over an in-memory registry.
#include <QAccessible>
#include <QEvent>

#include "inventory_fixture.h"

namespace sacotin::testing {
namespace {

class InventoryModeTest : public InventoryWindowTest {
 protected:
  void SetUp() override {
    writeCatalogue({"100", "Nom=Arc", "200", "Nom=Bouclier", "300", "Nom=Casque"});
  }

  // Two accounts of two characters each, with different items.
  void addTwoAccounts() {
    registry->addItem("compte1", "perso1", 100);
    registry->addItem("compte1", "perso2", 200);
    registry->addItem("compte1", "perso2", 300);
    registry->addItem("compte2", "perso3", 300);
    registry->addItem("compte2", "perso4", 100);
  }
};

TEST_F(InventoryModeTest, StartUpShowsTheFirstCharacterOfTheFirstAccount) {
  addTwoAccounts();
  openWindow();
  EXPECT_EQ(window->mode(), Form1::InventoryMode);
  EXPECT_EQ(entries(accounts()), QStringList({"compte1", "compte2"}));
  EXPECT_EQ(accounts()->currentText(), "compte1");
  EXPECT_EQ(entries(characters()), QStringList({"perso1", "perso2"}));
  EXPECT_EQ(characters()->currentText(), "perso1");
  EXPECT_EQ(items(), QStringList({"Arc"}));
  EXPECT_EQ(status(), countStatus("perso1", 1));  // "objets" for one item too
  EXPECT_FALSE(statusIsRed());
  EXPECT_EQ(registry->openKeysNow(), 0);
}

// Records, at every key the window opens, the status text last painted on screen and what the
// inventory list holds: what the user sees while the registry is read.
class StatusWhileReading : public QObject {
 public:
  struct Moment {
    QString key;
    QString painted;
    int listedItems;
  };

  void watch(FakeRegistry& registry, Form1& window) {
    window_ = &window;
    registry.onOpen = [this](const QString& path) {
      moments.push_back({path.section('\\', -1), painted_, window_->List1->count()});
    };
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted_ = static_cast<QLabel*>(watched)->text();
    return false;
  }

  std::vector<Moment> moments;

 private:
  Form1* window_ = nullptr;
  QString painted_;
};

TEST_F(InventoryModeTest, StartUpReadsEachKeyOnce) {
  addTwoAccounts();
  openWindow();
  // Selecting the first entries from code doesn't run the choosers' choice behaviour again.
  EXPECT_EQ(registry->openCount(), 3);
}

TEST_F(InventoryModeTest, TheStatusIsShownBeforeTheRegistryIsRead) {
  addTwoAccounts();
  openWindow();
  StatusWhileReading watcher;
  statusLine()->installEventFilter(&watcher);
  watcher.watch(*registry, *window);

  clickRefresh();
  ASSERT_EQ(watcher.moments.size(), 1u);
  EXPECT_EQ(watcher.moments[0].key, "Inventory");
  EXPECT_EQ(watcher.moments[0].painted, "Scan le registre ...");
  EXPECT_EQ(watcher.moments[0].listedItems, 0);  // cleared before the key is read

  watcher.moments.clear();
  chooseAccount(1);
  ASSERT_EQ(watcher.moments.size(), 2u);
  EXPECT_EQ(watcher.moments[0].key, "Characters");
  EXPECT_EQ(watcher.moments[1].key, "Inventory");
  EXPECT_EQ(watcher.moments[1].painted, "Scan le registre ...");
  registry->onOpen = nullptr;
}

TEST_F(InventoryModeTest, ChoosersKeepTheRegistryOrder) {
  registry->addItem("zoe", "Zorro", 100);
  registry->addItem("zoe", "alice", 100);
  registry->addItem("Bob", "x", 100);
  openWindow();
  EXPECT_EQ(entries(accounts()), QStringList({"zoe", "Bob"}));
  EXPECT_EQ(entries(characters()), QStringList({"Zorro", "alice"}));
}

TEST_F(InventoryModeTest, WithoutAccountsKeyNothingIsListedAndTheStatusSaysWhyInRed) {
  openWindow();
  EXPECT_EQ(status(), twoLines("Vous n'avez jamais installé T4c", "ou ne l'avez jamais lancé"));
  EXPECT_TRUE(statusIsRed());
  // Said in words too, for a screen reader.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(statusLine())->text(QAccessible::Name),
            "Erreur : Vous n'avez jamais installé T4c\nou ne l'avez jamais lancé");
  EXPECT_EQ(accounts()->count(), 0);
  EXPECT_EQ(characters()->count(), 0);
  EXPECT_EQ(itemList()->count(), 0);
}

TEST_F(InventoryModeTest, AnAccountsKeyWithoutAccountsLooksForAnUnnamedAccount) {
  registry->addAccountsKey();
  openWindow();
  EXPECT_EQ(accounts()->count(), 0);
  EXPECT_EQ(accounts()->currentIndex(), -1);
  EXPECT_EQ(status(), twoLines("Impossible d'acceder aux personnages", "du compte "));
  EXPECT_TRUE(statusIsRed());
}

TEST_F(InventoryModeTest, AccountWithoutCharactersKey) {
  registry->addAccount("vide");
  registry->addItem("plein", "perso1", 100);

  openWindow();  // the first account has no Characters key
  EXPECT_EQ(status(), twoLines("Impossible d'acceder aux personnages", "du compte vide"));
  EXPECT_TRUE(statusIsRed());
  EXPECT_EQ(characters()->count(), 0);
  EXPECT_EQ(itemList()->count(), 0);

  // Choosing it after another account: the characters are cleared, the items stay.
  chooseAccount(1);
  EXPECT_EQ(items(), QStringList({"Arc"}));
  chooseAccount(0);
  EXPECT_EQ(status(), twoLines("Impossible d'acceder aux personnages", "du compte vide"));
  EXPECT_EQ(characters()->count(), 0);
  EXPECT_EQ(items(), QStringList({"Arc"}));
  EXPECT_EQ(registry->openKeysNow(), 0);
}

TEST_F(InventoryModeTest, CharacterWithoutInventoryKey) {
  registry->addItem("compte1", "perso1", 100);
  registry->addCharacter("compte1", "nu");
  openWindow();
  ASSERT_EQ(items(), QStringList({"Arc"}));

  chooseCharacter(1);
  EXPECT_EQ(status(), twoLines("Impossible d'ouvrir l'inventaire", "de nu"));
  EXPECT_TRUE(statusIsRed());
  EXPECT_EQ(itemList()->count(), 0);
}

TEST_F(InventoryModeTest, InventoryWithoutSlotsLeavesTheScanMessage) {
  registry->addInventory("compte1", "perso1");
  registry->addValue(FakeRegistry::inventoryPath("compte1", "perso1"), "Gold", "\x10\x27");
  openWindow();
  EXPECT_EQ(itemList()->count(), 0);
  EXPECT_EQ(status(), "Scan le registre ...");
  EXPECT_FALSE(statusIsRed());
}

TEST_F(InventoryModeTest, RedStaysAfterAFailure) {
  registry->addItem("compte1", "perso1", 100);
  registry->addCharacter("compte1", "nu");
  registry->addItem("compte1", "perso3", 200);
  openWindow();
  EXPECT_FALSE(statusIsRed());

  chooseCharacter(1);
  ASSERT_TRUE(statusIsRed());
  chooseCharacter(2);
  EXPECT_EQ(status(), countStatus("perso3", 1));
  EXPECT_EQ(items(), QStringList({"Bouclier"}));
  EXPECT_TRUE(statusIsRed());

  // What the user sees: the label paints its text in red.
  const QImage shown = statusLine()->grab().toImage();
  bool redPixel = false;
  for (int y = 0; y < shown.height() && !redPixel; ++y) {
    for (int x = 0; x < shown.width() && !redPixel; ++x) {
      const QColor pixel = shown.pixelColor(x, y);
      redPixel = pixel.red() > 200 && pixel.green() < 80 && pixel.blue() < 80;
    }
  }
  EXPECT_TRUE(redPixel);
}

TEST_F(InventoryModeTest, ChoosingAnAccountListsItsCharactersAndTheFirstOnesItems) {
  addTwoAccounts();
  openWindow();
  chooseAccount(1);
  EXPECT_EQ(accounts()->currentText(), "compte2");
  EXPECT_EQ(entries(characters()), QStringList({"perso3", "perso4"}));
  EXPECT_EQ(characters()->currentText(), "perso3");
  EXPECT_EQ(items(), QStringList({"Casque"}));
  EXPECT_EQ(status(), countStatus("perso3", 1));
}

TEST_F(InventoryModeTest, ChoosingACharacterReloadsOnlyItsItems) {
  addTwoAccounts();
  openWindow();
  const int opensBefore = registry->openCount();
  chooseCharacter(1);
  EXPECT_EQ(registry->openCount() - opensBefore, 1);  // the inventory key alone
  EXPECT_EQ(entries(characters()), QStringList({"perso1", "perso2"}));
  EXPECT_EQ(items(), QStringList({"Bouclier", "Casque"}));
  EXPECT_EQ(status(), countStatus("perso2", 2));
}

TEST_F(InventoryModeTest, ChoosingWithTheKeyboardWorksLikeThePopup) {
  addTwoAccounts();
  openWindow();
  QTest::keyClick(characters(), Qt::Key_Down);
  EXPECT_EQ(items(), QStringList({"Bouclier", "Casque"}));
  QTest::keyClick(accounts(), Qt::Key_Down);
  EXPECT_EQ(characters()->currentText(), "perso3");
  EXPECT_EQ(items(), QStringList({"Casque"}));
}

TEST_F(InventoryModeTest, ChoosingTheShownEntryAgainReloadsIt) {
  addTwoAccounts();
  openWindow();
  registry->addItem("compte1", "perso1", 300);
  chooseCharacter(0);
  EXPECT_EQ(items(), QStringList({"Arc", "Casque"}));
}

TEST_F(InventoryModeTest, RefreshReloadsTheShownCharacter) {
  addTwoAccounts();
  openWindow();
  chooseCharacter(1);
  registry->clearValues(FakeRegistry::inventoryPath("compte1", "perso2"));
  registry->addItem("compte1", "perso2", 100);
  registry->addCharacter("compte1", "nouveau");  // characters are not re-read by the button

  const int opensBefore = registry->openCount();
  clickRefresh();
  EXPECT_EQ(registry->openCount() - opensBefore, 1);
  EXPECT_EQ(items(), QStringList({"Arc"}));
  EXPECT_EQ(status(), countStatus("perso2", 1));
  EXPECT_EQ(entries(characters()), QStringList({"perso1", "perso2"}));
}

TEST_F(InventoryModeTest, RefreshOfAnEmptiedInventoryClearsTheList) {
  addTwoAccounts();
  openWindow();
  registry->clearValues(FakeRegistry::inventoryPath("compte1", "perso1"));
  clickRefresh();
  EXPECT_EQ(itemList()->count(), 0);
  EXPECT_EQ(status(), "Scan le registre ...");
}

TEST_F(InventoryModeTest, RefreshAfterTheInventoryKeyWentAway) {
  addTwoAccounts();
  openWindow();
  registry->removeKey(FakeRegistry::inventoryPath("compte1", "perso1"));
  clickRefresh();
  EXPECT_EQ(status(), twoLines("Impossible d'ouvrir l'inventaire", "de perso1"));
  EXPECT_TRUE(statusIsRed());
  EXPECT_EQ(itemList()->count(), 0);
}

TEST_F(InventoryModeTest, AccentedNamesAreShownAsTheRegistryHoldsThem) {
  registry->addItem("Compte élevé", "Gaëlle", 100);
  openWindow();
  EXPECT_EQ(accounts()->currentText(), "Compte élevé");
  EXPECT_EQ(status(), countStatus("Gaëlle", 1));
}

TEST_F(InventoryModeTest, ChoosingAnInventoryLineDoesNothing) {
  addTwoAccounts();
  openWindow();
  const int opensBefore = registry->openCount();
  const QString before = status();
  QTest::mouseClick(itemList()->viewport(), Qt::LeftButton, {},
                    itemList()->visualItemRect(itemList()->item(0)).center());
  EXPECT_EQ(registry->openCount(), opensBefore);
  EXPECT_EQ(status(), before);
}

}  // namespace
}  // namespace sacotin::testing
