// Entering and leaving search mode through the menu bar: what each mode shows, and the account,
// character and inventory the window returns to.
#include "search_fixture.h"

namespace sacotin::testing {
namespace {

class SearchModeSwitchTest : public SearchWindowTest {
 protected:
  void SetUp() override { writeCatalogue(standardCatalogue()); }
};

TEST_F(SearchModeSwitchTest, EachModeShowsItsFrameCaptionAndMenuItem) {
  addStandardAccounts();
  openWindow();
  expectInventoryMode();
  window->activateWindow();
  ASSERT_TRUE(holdsKeyboard(window.get()));
  characters()->setFocus();

  // The keyboard goes to the first control of the view shown, whichever way the mode changes.
  enterSearchMode();
  expectSearchMode();
  EXPECT_EQ(status(), "Ready to search");
  EXPECT_FALSE(statusIsRed());
  EXPECT_EQ(QApplication::focusWidget(), nameChooser());

  leaveSearchMode();
  expectInventoryMode();
  EXPECT_EQ(QApplication::focusWidget(), itemList());

  characters()->setFocus();
  QTest::keyClick(window->windowHandle(), Qt::Key_Alt);  // the menu bar, then its first item
  QTest::keyClick(window->windowHandle(), Qt::Key_Return);
  expectSearchMode();
  EXPECT_EQ(QApplication::focusWidget(), nameChooser());
  QTest::keyClick(window->windowHandle(), Qt::Key_Down);
  EXPECT_EQ(characters()->currentIndex(), 0);  // no key reaches the hidden chooser
}

TEST_F(SearchModeSwitchTest, LeavingRightAfterEnteringShowsTheSameInventoryAgain) {
  addStandardAccounts();
  openWindow();
  chooseAccount(1);
  chooseCharacter(1);
  const QStringList archerItems = items();
  ASSERT_EQ(archerItems, QStringList({"Arc", "Épée longue", "zèbre en peluche"}));

  enterSearchMode();
  leaveSearchMode();

  EXPECT_EQ(accounts()->currentText(), "compte2");
  EXPECT_EQ(entries(characters()), QStringList({"héros", "archer"}));
  EXPECT_EQ(characters()->currentText(), "archer");
  EXPECT_EQ(items(), archerItems);
  EXPECT_EQ(status(), countStatus("archer", 3));
}

TEST_F(SearchModeSwitchTest, LeavingAfterARunShowsTheAccountAndCharacterOfTheEntry) {
  addStandardAccounts();
  openWindow();
  chooseCharacter(1);  // compte1, perso2

  enterSearchMode();
  searchFor("Epee");
  ASSERT_EQ(accounts()->currentText(), "compte2");  // the run ended on the last account
  leaveSearchMode();

  EXPECT_EQ(accounts()->currentText(), "compte1");
  EXPECT_EQ(entries(characters()), QStringList({"perso1", "perso2"}));
  EXPECT_EQ(characters()->currentText(), "perso2");
  EXPECT_EQ(items(), QStringList({"Arc", "Epee"}));
  EXPECT_EQ(status(), countStatus("perso2", 2));
  expectInventoryMode();
}

TEST_F(SearchModeSwitchTest, LeavingAfterARunOnTheFirstCharacterOfTheLastAccount) {
  addStandardAccounts();
  openWindow();
  chooseAccount(1);  // compte2, héros: the run ends on this account, but on archer

  enterSearchMode();
  searchFor("Arc");
  leaveSearchMode();

  EXPECT_EQ(accounts()->currentText(), "compte2");
  EXPECT_EQ(characters()->currentText(), "héros");
  EXPECT_EQ(unordered(items()), QStringList({"** Objet non connu **   (999)", "épieu"}));
  EXPECT_EQ(status(), countStatus("héros", 2));
}

TEST_F(SearchModeSwitchTest, ReenteringRefillsTheChooserEmptyAndKeepsTheResults) {
  addStandardAccounts();
  openWindow();
  enterSearchMode();
  searchFor("Arc");
  const QStringList found = results();
  ASSERT_EQ(found, QStringList({"compte1 : perso2", "compte2 : archer"}));
  leaveSearchMode();

  QStringList catalogue = standardCatalogue();
  catalogue << "108"
            << "Nom=Dague";
  writeCatalogue(catalogue);
  enterSearchMode();

  EXPECT_TRUE(entries(nameChooser()).contains("Dague"));
  EXPECT_EQ(nameChooser()->count(), 9);
  EXPECT_EQ(nameChooser()->currentText(), "");
  EXPECT_EQ(nameChooser()->currentIndex(), -1);
  EXPECT_EQ(results(), found);
}

TEST_F(SearchModeSwitchTest, TextTypedBeforeLeavingIsGoneOnReentering) {
  addStandardAccounts();
  openWindow();
  enterSearchMode();
  typeName("Ep");
  leaveSearchMode();
  enterSearchMode();
  EXPECT_EQ(nameChooser()->currentText(), "");
  EXPECT_EQ(nameChooser()->count(), 8);
}

TEST_F(SearchModeSwitchTest, WithoutAnyAccountTheModesStillSwitch) {
  registry->addAccountsKey();  // installed, but no account yet
  openWindow();
  ASSERT_EQ(accounts()->count(), 0);

  enterSearchMode();
  expectSearchMode();
  clickSearch();  // nothing typed
  searchFor("Epee");
  leaveSearchMode();

  expectInventoryMode();
  EXPECT_EQ(accounts()->count(), 0);
  EXPECT_EQ(characters()->count(), 0);
  EXPECT_EQ(status(), countStatus("", 0));
  EXPECT_TRUE(statusIsRed());  // the start-up failure's colour stays
}

TEST_F(SearchModeSwitchTest, LeavingWithoutSavedCharacterAfterARunThroughOtherAccounts) {
  registry->addAccount("sans_persos");  // shown on entering, without characters
  addStandardAccounts();
  openWindow();
  ASSERT_EQ(characters()->count(), 0);

  enterSearchMode();
  searchFor("Epee");
  ASSERT_EQ(results().size(), 4);
  leaveSearchMode();

  // As if the user chose sans_persos: its characters can't be read, so none is shown.
  expectInventoryMode();
  EXPECT_EQ(accounts()->currentText(), "sans_persos");
  EXPECT_EQ(characters()->count(), 0);
  EXPECT_EQ(characters()->currentText(), "");
  EXPECT_TRUE(status().startsWith(QString(CR) + "Vous possedez "));
  EXPECT_TRUE(statusIsRed());
}

}  // namespace
}  // namespace sacotin::testing
