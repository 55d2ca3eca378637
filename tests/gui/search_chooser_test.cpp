// The search chooser (Combo3): every catalogue name in alphabetical order, a text the user types
// kept as typed, and what happens when liste.dat is missing or very long.
#include "search_fixture.h"

namespace sacotin::testing {
namespace {

class SearchChooserTest : public SearchWindowTest {
 protected:
  void SetUp() override { addStandardAccounts(); }
};

TEST_F(SearchChooserTest, ListsEveryNameAlphabeticallyWithRepetitionsAndNoText) {
  writeCatalogue(standardCatalogue());
  openWindow();
  enterSearchMode();

  // Letter case and accents don't put a name apart from its neighbours.
  EXPECT_EQ(entries(nameChooser()), QStringList({"Arc", "bouclier", "Epe", "Epee", "Epee",
                                                 "Épée longue", "épieu", "zèbre en peluche"}));
  EXPECT_EQ(nameChooser()->currentText(), "");
  EXPECT_EQ(nameChooser()->currentIndex(), -1);
}

TEST_F(SearchChooserTest, OnlyNameLinesCount) {
  writeCatalogue({"100", "Nom=Epee", "nom=petit", "Name=Arc", "1234", "Nom=", "Nom=Nom=Casque"});
  openWindow();
  enterSearchMode();
  EXPECT_EQ(entries(nameChooser()), QStringList({"", "Epee", "Nom=Casque"}));
  EXPECT_EQ(nameChooser()->currentText(), "");
}

TEST_F(SearchChooserTest, TypingKeepsTheTextAsTypedAndEnterAddsNothing) {
  writeCatalogue(standardCatalogue());
  openWindow();
  enterSearchMode();
  const QStringList before = entries(nameChooser());

  typeName("epee");  // "Epee" is an entry: no completion, no change of case
  EXPECT_EQ(nameChooser()->currentText(), "epee");
  QTest::keyClick(nameChooser()->lineEdit(), Qt::Key_Return);
  EXPECT_EQ(nameChooser()->currentText(), "epee");
  EXPECT_EQ(entries(nameChooser()), before);

  retypeName("Épée à deux mains");
  EXPECT_EQ(nameChooser()->currentText(), "Épée à deux mains");
  QTest::keyClick(nameChooser()->lineEdit(), Qt::Key_Enter);
  EXPECT_EQ(entries(nameChooser()), before);
}

TEST_F(SearchChooserTest, PickingOrTypingStartsNoSearch) {
  writeCatalogue(standardCatalogue());
  openWindow();
  enterSearchMode();

  choose(nameChooser(), 3);
  EXPECT_EQ(nameChooser()->currentText(), "Epee");
  typeName("x");
  QTest::keyClick(nameChooser()->lineEdit(), Qt::Key_Return);

  EXPECT_EQ(status(), "Ready to search");
  EXPECT_EQ(resultList()->count(), 0);
  EXPECT_EQ(accounts()->currentText(), "compte1");  // no run went through the accounts
}

TEST_F(SearchChooserTest, MoreThan32767NamesAreAllListed) {
  constexpr int kNames = 33000;
  QStringList catalogue;
  for (int number = kNames; number >= 1; --number) {  // in reverse, so sorting shows
    catalogue << QString::number(number)
              << QStringLiteral("Nom=Objet %1").arg(number, 5, 10, QChar('0'));
  }
  writeCatalogue(catalogue);
  openWindow();
  enterSearchMode();

  ASSERT_EQ(nameChooser()->count(), kNames);
  EXPECT_EQ(nameChooser()->itemText(0), "Objet 00001");
  EXPECT_EQ(nameChooser()->itemText(32767), "Objet 32768");
  EXPECT_EQ(nameChooser()->itemText(kNames - 1), "Objet 33000");
  EXPECT_EQ(nameChooser()->currentText(), "");
  EXPECT_EQ(status(), "Ready to search");
  expectSearchMode();
}

TEST_F(SearchChooserTest, MissingCatalogueLeavesTheChooserEmptyAndSaysWhyInRed) {
  openWindow();  // no liste.dat
  enterSearchMode();

  expectSearchMode();
  EXPECT_EQ(nameChooser()->count(), 0);
  EXPECT_EQ(nameChooser()->currentText(), "");
  EXPECT_EQ(status(), twoLines("Impossible de lire liste.dat", "la liste des objets est vide"));
  EXPECT_TRUE(statusIsRed());

  // A typed name is still searched for, among placeholder names only.
  searchFor("** Objet non connu **   (999)");
  EXPECT_EQ(results(), QStringList({"compte2 : héros"}));
  EXPECT_EQ(status(), "Recherche terminée");
  EXPECT_TRUE(statusIsRed());
}

TEST_F(SearchChooserTest, CatalogueThatReturnsIsListedOnTheNextEntry) {
  openWindow();
  enterSearchMode();
  ASSERT_EQ(nameChooser()->count(), 0);
  leaveSearchMode();

  writeCatalogue({"100", "Nom=Epee"});
  enterSearchMode();
  EXPECT_EQ(entries(nameChooser()), QStringList({"Epee"}));
  EXPECT_EQ(status(), "Ready to search");
  EXPECT_TRUE(statusIsRed());  // the earlier failure's colour stays
}

}  // namespace
}  // namespace sacotin::testing
