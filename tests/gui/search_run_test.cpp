// A search run started with "Rechercher": which lines it finds, its status texts, and what it
// leaves in the hidden inventory frame.
#include <mutex>

#include "search_fixture.h"

namespace sacotin::testing {
namespace {

// The text the status line painted last, for any thread to read.
class PaintedStatus : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const std::lock_guard lock(mutex_);
      last_ = static_cast<QLabel*>(watched)->text();
    }
    return false;
  }
  QString last() {
    const std::lock_guard lock(mutex_);
    return last_;
  }

 private:
  std::mutex mutex_;
  QString last_;
};

class SearchRunTest : public SearchWindowTest {
 protected:
  void SetUp() override { writeCatalogue(standardCatalogue()); }

  // Opens the window on the standard accounts and enters search mode.
  void openSearch() {
    addStandardAccounts();
    openWindow();
    enterSearchMode();
  }
};

TEST_F(SearchRunTest, ACharacterWithTheItemInThreeSlotsGivesThreeLines) {
  openSearch();
  searchFor("Epee");
  EXPECT_EQ(results(), QStringList({"compte1 : perso1", "compte1 : perso1", "compte1 : perso1",
                                    "compte1 : perso2"}));
  EXPECT_EQ(status(), "Recherche terminée");
  EXPECT_FALSE(statusIsRed());
}

TEST_F(SearchRunTest, AChosenNameFindsEveryItemNumberWithThatName) {
  openSearch();
  choose(nameChooser(), 4);  // the second "Epee" entry (102): same text, same result
  clickSearch();
  EXPECT_TRUE(results().contains("compte1 : perso2"));  // carries 102 only
  EXPECT_EQ(results().count("compte1 : perso1"), 3);    // carries 100 only
}

TEST_F(SearchRunTest, MatchingIsWholeAndCaseSensitive) {
  openSearch();
  for (const QString& text : {QStringLiteral("epee"), QStringLiteral("Epe"),
                              QStringLiteral("Epee "), QStringLiteral("Épée")}) {
    searchFor(text);
    EXPECT_EQ(nameChooser()->currentText(), text);
    EXPECT_EQ(results(), QStringList()) << text.toStdString();
    EXPECT_EQ(status(), kNotFound) << text.toStdString();
  }
}

TEST_F(SearchRunTest, AccentedNamesTypedByTheUserAreFound) {
  openSearch();
  searchFor("Épée longue");
  EXPECT_EQ(results(), QStringList({"compte2 : archer"}));
  searchFor("épieu");
  EXPECT_EQ(results(), QStringList({"compte2 : héros"}));
}

TEST_F(SearchRunTest, ThePlaceholderTextFindsItemsWithoutCatalogueEntry) {
  openSearch();
  searchFor("** Objet non connu **   (999)");
  EXPECT_EQ(results(), QStringList({"compte2 : héros"}));
  searchFor("** Objet non connu **   (998)");
  EXPECT_EQ(results(), QStringList());
}

TEST_F(SearchRunTest, ResultLinesFollowAccountsThenCharactersInChooserOrder) {
  openSearch();
  searchFor("Arc");
  EXPECT_EQ(results(), QStringList({"compte1 : perso2", "compte2 : archer"}));
}

TEST_F(SearchRunTest, AnEmptyTextSearchesNothingAndKeepsTheLines) {
  openSearch();
  clickSearch();  // right after entering
  EXPECT_EQ(status(), twoLines("Rien a chercher ...", "Choisissez dans la liste"));
  EXPECT_EQ(accounts()->currentText(), "compte1");

  searchFor("Arc");
  const QStringList found = results();
  ASSERT_EQ(found.size(), 2);
  leaveSearchMode();
  enterSearchMode();  // the chooser's text is empty again
  clickSearch();
  EXPECT_EQ(status(), twoLines("Rien a chercher ...", "Choisissez dans la liste"));
  EXPECT_EQ(results(), found);

  retypeName("");
  clickSearch();
  EXPECT_EQ(status(), twoLines("Rien a chercher ...", "Choisissez dans la liste"));
  EXPECT_EQ(results(), found);
}

TEST_F(SearchRunTest, ANewRunStartsFromAnEmptyList) {
  openSearch();
  searchFor("Arc");
  searchFor("épieu");
  EXPECT_EQ(results(), QStringList({"compte2 : héros"}));
  searchFor("Dague");
  EXPECT_EQ(results(), QStringList());
  EXPECT_EQ(status(), kNotFound);
}

TEST_F(SearchRunTest, WithoutAnyAccountNothingIsFound) {
  openWindow();  // no accounts key
  enterSearchMode();
  searchFor("Epee");
  EXPECT_EQ(results(), QStringList());
  EXPECT_EQ(status(), kNotFound);
  EXPECT_TRUE(statusIsRed());  // from the start-up failure
}

TEST_F(SearchRunTest, AnAccountWithoutCharactersIsReportedAndTheOthersSearched) {
  registry->addItem("compte1", "perso1", 104);
  registry->addAccount("sans_persos");
  registry->addItem("compte2", "archer", 104);
  openWindow();
  enterSearchMode();
  ASSERT_FALSE(statusIsRed());

  QString statusWhenReachingCompte2;
  QObject::connect(accounts(), &QComboBox::currentTextChanged, [&](const QString& account) {
    if (account == "compte2") statusWhenReachingCompte2 = status();
  });
  searchFor("Arc");

  EXPECT_EQ(statusWhenReachingCompte2,
            twoLines("Impossible d'acceder aux personnages", "du compte sans_persos"));
  EXPECT_EQ(results(), QStringList({"compte1 : perso1", "compte2 : archer"}));
  EXPECT_EQ(status(), "Recherche terminée");
  EXPECT_TRUE(statusIsRed());
}

TEST_F(SearchRunTest, ACharacterWithoutInventoryIsPassedOver) {
  registry->addCharacter("compte1", "nouveau");
  registry->addItem("compte1", "perso2", 104);
  openWindow();
  enterSearchMode();
  searchFor("Arc");
  EXPECT_EQ(results(), QStringList({"compte1 : perso2"}));
  EXPECT_EQ(status(), "Recherche terminée");
  EXPECT_TRUE(statusIsRed());
}

TEST_F(SearchRunTest, TheRunStartsAfterAskingTheUserToWait) {
  addStandardAccounts();
  WatchedRegistry& watched = openWatchedWindow();
  enterSearchMode();
  // The run reads the registry on a second thread: what the status line last painted is
  // handed over to it under a lock.
  PaintedStatus painted;
  statusLine()->installEventFilter(&painted);
  QStringList paintedAtEachOpen;
  watched.onOpen = [&](const QString&) { paintedAtEachOpen << painted.last(); };
  searchFor("Arc");

  ASSERT_FALSE(paintedAtEachOpen.isEmpty());
  EXPECT_EQ(paintedAtEachOpen.first(), twoLines("Recherche ...", "Patientez ..."));
}

TEST_F(SearchRunTest, EachCharacterIsListedOnceAndEachInventoryReadOnce) {
  addStandardAccounts();
  WatchedRegistry& watched = openWatchedWindow();
  enterSearchMode();
  watched.opens.clear();
  searchFor("Arc");

  std::map<QString, int> expected;
  for (const char* account : {"compte1", "compte2"}) {
    expected[FakeRegistry::charactersPath(account)] = 1;
  }
  expected[FakeRegistry::inventoryPath("compte1", "perso1")] = 1;
  expected[FakeRegistry::inventoryPath("compte1", "perso2")] = 1;
  expected[FakeRegistry::inventoryPath("compte2", "héros")] = 1;
  expected[FakeRegistry::inventoryPath("compte2", "archer")] = 1;
  EXPECT_EQ(watched.opens, expected);
}

TEST_F(SearchRunTest, TheRunLeavesTheLastAccountAndCharacterInTheInventoryFrame) {
  openSearch();
  searchFor("Epee");

  EXPECT_EQ(accounts()->currentText(), "compte2");
  EXPECT_EQ(entries(characters()), QStringList({"héros", "archer"}));
  EXPECT_EQ(characters()->currentText(), "archer");
  EXPECT_EQ(items(), QStringList({"Arc", "Épée longue", "zèbre en peluche"}));
  EXPECT_FALSE(inventoryFrame()->isVisible());
  EXPECT_EQ(window->mode(), Form1::SearchMode);
}

TEST_F(SearchRunTest, ALastCharacterWithoutInventoryLeavesAnEmptyItemList) {
  addStandardAccounts();
  registry->addCharacter("compte2", "nouveau");
  openWindow();
  enterSearchMode();
  searchFor("Epee");

  EXPECT_EQ(characters()->currentText(), "nouveau");
  EXPECT_EQ(itemList()->count(), 0);
  EXPECT_EQ(results().size(), 4);
}

TEST_F(SearchRunTest, ALastAccountWithoutCharactersLeavesAnEmptyCharacterChooser) {
  addStandardAccounts();
  registry->addAccount("sans_persos");
  openWindow();
  enterSearchMode();
  searchFor("Epee");

  EXPECT_EQ(accounts()->currentText(), "sans_persos");
  EXPECT_EQ(characters()->count(), 0);
  EXPECT_EQ(items(), QStringList({"Arc", "Épée longue", "zèbre en peluche"}));  // archer's
  EXPECT_EQ(status(), "Recherche terminée");
  EXPECT_TRUE(statusIsRed());
}

}  // namespace
}  // namespace sacotin::testing
