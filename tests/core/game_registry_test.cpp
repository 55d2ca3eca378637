// The game's layout over any registry backend: which paths are opened, which values are
// inventory slots, and the fallback to the 32-bit view of a 64-bit Wine prefix.
#include "registry/game_registry.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "registry/item_number.h"

namespace sacotin {
namespace {

using namespace std::string_literals;
using Values = std::vector<std::pair<std::u16string, std::string>>;

// Keys by exact full path; records every path asked for.
class RecordingRegistry final : public RegistryBackend {
 public:
  void add(const std::u16string& path, Values values = {}) { keys_[path] = std::move(values); }

  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override {
    opened.emplace_back(path);
    const auto found = keys_.find(std::u16string(path));
    if (found == keys_.end()) return nullptr;
    return std::make_unique<Key>(found->second);
  }

  std::vector<std::u16string> opened;

 private:
  class Key final : public OpenKey {
   public:
    explicit Key(const Values& values) : values_(values) {}
    void forEachSubkey(const std::function<void(const std::u16string&)>&) override {}
    void forEachValue(
        const std::function<void(std::u16string_view, std::string_view)>& visit) override {
      for (const auto& [name, data] : values_) visit(name, data);
    }

   private:
    const Values& values_;
  };

  std::map<std::u16string, Values> keys_;
};

std::vector<std::string> slotsOf(OpenKey& inventory) {
  std::vector<std::string> slots;
  GameRegistry::forEachInventorySlot(inventory,
                                     [&](std::string_view data) { slots.emplace_back(data); });
  return slots;
}

TEST(GameRegistrySlots, OnlyNamesStartingWithItemIAndHoldingData) {
  EXPECT_TRUE(GameRegistry::isInventorySlot(u"ItemID3", "\x01\x02"));
  EXPECT_TRUE(GameRegistry::isInventorySlot(u"ItemIx", "\x0a"));
  EXPECT_TRUE(GameRegistry::isInventorySlot(u"ItemI", "\x0a"));
  EXPECT_TRUE(GameRegistry::isInventorySlot(u"ItemI" + std::u16string(295, u'L'), "\x2a\0"s));
  EXPECT_FALSE(GameRegistry::isInventorySlot(u"itemID3", "\x01\x02"));
  EXPECT_FALSE(GameRegistry::isInventorySlot(u"ITEMID3", "\x01\x02"));
  EXPECT_FALSE(GameRegistry::isInventorySlot(u"Item", "\x01\x02"));
  EXPECT_FALSE(GameRegistry::isInventorySlot(u"", "\x01\x02"));
  EXPECT_FALSE(GameRegistry::isInventorySlot(u"ItemID4", ""));
  EXPECT_FALSE(GameRegistry::isInventorySlot(u" ItemID1", "\x01\x02"));
}

TEST(GameRegistrySlots, SlotsAreHandedOverInEnumerationOrderWithWholeData) {
  RecordingRegistry registry;
  const std::string big(300, '\x11');
  registry.add(u"inv", {{u"", "\x07\x00"s},
                        {u"ItemID1", "\xd2\x04"s},
                        {u"itemID9", "\xd2\x04"s},
                        {u"ItemID5", ""},
                        {u"ItemID12", big},
                        {u"Note", "x"},
                        {u"ItemIx", "\x0a\x00"s}});
  auto inventory = registry.openKey(u"inv");
  ASSERT_TRUE(inventory);
  EXPECT_EQ(slotsOf(*inventory), (std::vector<std::string>{"\xd2\x04", big, "\x0a\x00"s}));
}

TEST(GameRegistryPaths, NamesAreConcatenatedAsTheyAre) {
  RecordingRegistry registry;
  registry.add(u"Software\\Vircom\\T4C");
  GameRegistry game(registry);
  EXPECT_FALSE(game.openAccounts() == nullptr);
  const std::vector<std::u16string> accounts = {
      u"a[b]c", u"quote\"name",           u" with space ", u"\u00e9t\u00e9", u"\u0416\u0443\u043a",
      u"a\\b",  std::u16string(300, u'L')};
  for (const auto& account : accounts) {
    registry.opened.clear();
    game.openCharacters(account);
    ASSERT_FALSE(registry.opened.empty());
    EXPECT_EQ(registry.opened.front(), u"Software\\Vircom\\T4C\\" + account + u"\\Characters");
    registry.opened.clear();
    game.openInventory(account, u"Zo\u00e9 x");
    ASSERT_FALSE(registry.opened.empty());
    EXPECT_EQ(registry.opened.front(),
              u"Software\\Vircom\\T4C\\" + account + u"\\Characters\\Zo\u00e9 x\\Inventory");
  }
}

TEST(GameRegistryPaths, ThirtyTwoBitViewOnlyWhenTheGameKeyIsMissing) {
  {
    // The usual place exists: a missing character stays missing.
    RecordingRegistry registry;
    registry.add(u"Software\\Vircom\\T4C");
    registry.add(u"Software\\Wow6432Node\\Vircom\\T4C\\acc\\Characters");
    GameRegistry game(registry);
    EXPECT_FALSE(game.openCharacters(u"acc"));
  }
  {
    RecordingRegistry registry;
    registry.add(u"Software\\Wow6432Node\\Vircom\\T4C");
    registry.add(u"Software\\Wow6432Node\\Vircom\\T4C\\acc\\Characters");
    registry.add(u"Software\\Wow6432Node\\Vircom\\T4C\\acc\\Characters\\c\\Inventory",
                 {{u"ItemID1", "\x05\x00"s}});
    GameRegistry game(registry);
    EXPECT_TRUE(game.openAccounts());
    EXPECT_TRUE(game.openCharacters(u"acc"));
    auto inventory = game.openInventory(u"acc", u"c");
    ASSERT_TRUE(inventory);
    EXPECT_EQ(slotsOf(*inventory), std::vector<std::string>{"\x05\x00"s});
    EXPECT_FALSE(game.openCharacters(u"other"));
  }
  {
    RecordingRegistry registry;
    GameRegistry game(registry);
    EXPECT_FALSE(game.openAccounts());
    EXPECT_FALSE(game.openInventory(u"acc", u"c"));
  }
}

}  // namespace
}  // namespace sacotin
