// The game's layout read from the user.reg Wine wrote for a prefix filled the way the game
// fills it (tests/data/wine/pfxA.user.reg).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "registry/game_registry.h"
#include "registry/item_number.h"
#include "registry/wine/wine_user_registry.h"

namespace sacotin {
namespace {

class WineGameRegistryTest : public ::testing::Test {
 protected:
  WineUserRegistry backend_{std::string(SACOTIN_TEST_DATA) + "/wine/pfxA.user.reg",
                            makeAnsiCodePage(1252)};
  GameRegistry game_{backend_};
};

std::vector<std::u16string> subkeys(OpenKey& key) {
  std::vector<std::u16string> names;
  key.forEachSubkey([&](const std::u16string& name) { names.push_back(name); });
  return names;
}

TEST_F(WineGameRegistryTest, EveryAccountListedCanBeOpenedAgain) {
  auto accounts = game_.openAccounts();
  ASSERT_TRUE(accounts);
  const auto names = subkeys(*accounts);
  ASSERT_EQ(names.size(), 13u);
  EXPECT_EQ(names.front(), u"a[b]c");
  EXPECT_EQ(names.back(), u"\u00e9t\u00e9");
  std::vector<std::u16string> withCharacters;
  for (const auto& account : names) {
    if (auto characters = game_.openCharacters(account)) withCharacters.push_back(account);
  }
  // Wine's ANSI path refuses the two long accounts (paths over 260 bytes); they open here.
  EXPECT_EQ(withCharacters, (std::vector<std::u16string>{u"a[b]c", u"compte1", u"eq=sign", names[6],
                                                         names[7], u"quote\"name", u"with space",
                                                         u"zeta", u"\u00e9t\u00e9"}));
}

TEST_F(WineGameRegistryTest, InventorySlotsGiveTheirItemNumbers) {
  auto inventory = game_.openInventory(u"compte1", u"perso1");
  ASSERT_TRUE(inventory);
  std::vector<std::u16string> numbers;
  GameRegistry::forEachInventorySlot(*inventory, [&](std::string_view data) {
    numbers.push_back(itemNumberText(itemNumber(data)));
  });
  // ItemID10/ItemID7 hold "AB" (16961), ItemID11 "A\0B\0" (65), ItemID12 300 bytes starting
  // 00 01 (256: whole data, where Wine's 255-byte buffer would have stayed blank), ItemID13 a
  // QWORD, ItemID4 one byte (8197), ItemID6 a DWORD, ItemID8 "é" (233), the 300-character name
  // (42), ItemIx (10). Not slots: the default value, "Item", "itemID9", the empty ItemID5.
  EXPECT_EQ(numbers,
            (std::vector<std::u16string>{u"1234", u"16961", u"65", u"256", u"1800", u"0", u"65535",
                                         u"8197", u"1234", u"16961", u"233", u"42", u"10"}));
  EXPECT_TRUE(game_.openInventory(u"\u00e9t\u00e9", u"Zo\u00e9"));
  EXPECT_TRUE(game_.openInventory(u"\u00c9T\u00c9", u"zo\u00c9"));
  EXPECT_FALSE(game_.openInventory(u"zeta", u"noinv"));
  EXPECT_TRUE(game_.openInventory(u"zeta", u"emptyinv"));
}

}  // namespace
}  // namespace sacotin
