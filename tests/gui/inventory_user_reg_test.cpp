// The inventory mode end to end on registries written the way Wine writes user.reg: a copy of a
// prefix Wine itself wrote, and small files written by the tests.
#include "inventory_fixture.h"
#include "registry/wine/wine_user_registry.h"

namespace sacotin::testing {
namespace {

class InventoryUserRegTest : public InventoryWindowTest {
 protected:
  void SetUp() override {
    writeCatalogue({"1234", "Nom=Epee", "16961", "Nom=AB", "233", "Nom=Accent é", "2", "Nom=Deux",
                    "13", "Nom=Treize", "11", "Nom=Onze"});
  }

  Form1& openOn(const QString& userReg) {
    window = std::make_unique<Form1>(Form1Sources{
        std::make_unique<WineUserRegistry>(userReg.toStdString(), makeAnsiCodePage(1252)),
        makeAnsiCodePage(1252), files.filePath("liste.dat")});
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }
};

TEST_F(InventoryUserRegTest, APrefixWrittenByWine) {
  openOn(testDataPath("wine/pfxA.user.reg"));
  // Accounts in Wine's order; the first one's only character is listed at start-up.
  const QStringList shown = entries(accounts());
  ASSERT_GE(shown.size(), 5);
  EXPECT_EQ(shown.mid(0, 5), QStringList({"a[b]c", "Alpha", "b", "compte1", "Compte2"}));
  EXPECT_EQ(shown.last(), "été");
  EXPECT_EQ(characters()->currentText(), "x");
  EXPECT_EQ(items(), QStringList({"Deux"}));
  EXPECT_EQ(status(), countStatus("x", 1));

  // An account whose character has an accented name.
  chooseAccount(3);
  EXPECT_EQ(entries(characters()), QStringList({"hélène", "perso1", "Perso2"}));
  EXPECT_EQ(items(), QStringList({"Treize"}));
  EXPECT_EQ(status(), countStatus("hélène", 1));

  // Slots of every type: binary, strings converted to the code page, numbers; a name longer
  // than 255 characters and data longer than 255 bytes are slots too.
  chooseCharacter(1);
  EXPECT_EQ(items(),
            QStringList({"** Objet non connu **   (0)", "** Objet non connu **   (10)",
                         "** Objet non connu **   (1800)", "** Objet non connu **   (256)",
                         "** Objet non connu **   (42)", "** Objet non connu **   (65)",
                         "** Objet non connu **   (65535)", "** Objet non connu **   (8197)", "AB",
                         "AB", "Accent é", "Epee", "Epee"}));
  EXPECT_EQ(status(), countStatus("perso1", 13));

  // An account without Characters key.
  chooseAccount(1);
  EXPECT_EQ(status(), twoLines("Impossible d'acceder aux personnages", "du compte Alpha"));
  EXPECT_TRUE(statusIsRed());
}

TEST_F(InventoryUserRegTest, RefreshShowsWhatTheGameWroteSince) {
  const QByteArray before =
      "[Software\\\\Vircom\\\\T4C\\\\Joueur\\\\Characters\\\\Gal\\xe9rien\\\\Inventory] "
      "1796626280\n"
      "\"ItemID1\"=hex:0b,00\n\n";
  const QString userReg = files.writeUserReg(before);
  openOn(userReg);
  EXPECT_EQ(accounts()->currentText(), "Joueur");
  EXPECT_EQ(characters()->currentText(), "Galérien");
  EXPECT_EQ(items(), QStringList({"Onze"}));

  files.writeUserReg(before.chopped(1) + "\"ItemID2\"=hex:d2,04\n\"ItemID3\"=hex:d2,04\n\n");
  clickRefresh();
  EXPECT_EQ(items(), QStringList({"Epee", "Epee", "Onze"}));
  EXPECT_EQ(status(), countStatus("Galérien", 3));
}

TEST_F(InventoryUserRegTest, NoUserRegMeansTheGameWasNeverRun) {
  openOn(files.filePath("user.reg"));
  EXPECT_EQ(status(), twoLines("Vous n'avez jamais installé T4c", "ou ne l'avez jamais lancé"));
  EXPECT_TRUE(statusIsRed());
  EXPECT_EQ(accounts()->count(), 0);
}

}  // namespace
}  // namespace sacotin::testing
