// The demo that tools/run.sh starts: the main window over demo/wine-prefix/user.reg, read by the
// Wine prefix reader, and demo/liste.dat, shows what the README promises.
#include <QDir>
#include <QRegularExpression>
#include <algorithm>

#include "inventory_fixture.h"
#include "registry/wine/wine_user_registry.h"

namespace sacotin::testing {
namespace {

class DemoDataTest : public InventoryWindowTest {
 protected:
  void openDemo() {
    const QString demo = QDir::cleanPath(QString(SACOTIN_TEST_DATA) + "/../../demo");
    window = std::make_unique<Form1>(
        Form1Sources{std::make_unique<WineUserRegistry>(
                         (demo + "/wine-prefix/user.reg").toStdString(), makeAnsiCodePage(1252)),
                     makeAnsiCodePage(1252), demo + "/liste.dat"});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  static bool isPlaceholder(const QString& item) {
    return item.startsWith("** Objet non connu **   (") && item.endsWith(")");
  }
};

TEST_F(DemoDataTest, StartUpListsTheAccountsAndTheFirstCharactersItems) {
  openDemo();
  EXPECT_EQ(entries(accounts()), QStringList({"Amélie", "brasdefer", "Hélène", "Invité"}));
  EXPECT_EQ(entries(characters()), QStringList({"Aélis", "Bérenger", "Cœurdelion"}));
  EXPECT_EQ(status(), countStatus("Aélis", 38));
  EXPECT_FALSE(statusIsRed());

  const QStringList shown = items();
  ASSERT_EQ(shown.size(), 38);
  // Most items have catalogue names, accented ones among them; a few are unknown.
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), isPlaceholder));
  EXPECT_GT(std::count_if(shown.begin(), shown.end(),
                          [](const QString& item) { return !isPlaceholder(item); }),
            30);
  EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [](const QString& item) {
    return item.contains(QRegularExpression("[éèêâôûçÉŒœ]"));
  }));
}

TEST_F(DemoDataTest, AccentedAccountAndCharactersLoadTheirItems) {
  openDemo();
  chooseAccount(2);
  EXPECT_EQ(accounts()->currentText(), "Hélène");
  EXPECT_EQ(entries(characters()), QStringList({"Noël", "Zéphyrine"}));
  EXPECT_EQ(itemList()->count(), 45);
  EXPECT_EQ(status(), countStatus("Noël", 45));

  chooseCharacter(1);
  EXPECT_EQ(itemList()->count(), 31);
  EXPECT_EQ(status(), countStatus("Zéphyrine", 31));
  EXPECT_FALSE(statusIsRed());
}

TEST_F(DemoDataTest, TheAccountWithoutCharactersReportsItInRed) {
  openDemo();
  chooseAccount(3);
  EXPECT_EQ(characters()->count(), 0);
  EXPECT_EQ(status(), twoLines("Impossible d'acceder aux personnages", "du compte Invité"));
  EXPECT_TRUE(statusIsRed());
}

}  // namespace
}  // namespace sacotin::testing
