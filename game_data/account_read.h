#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace sacotin {

// The item numbers of one character's inventory slots, in slot order, and whether its inventory
// key could be opened.
struct InventorySlots {
  bool opened = false;
  std::vector<std::uint16_t> itemNumbers;
};

// One account as a search run reads it: its characters' names (none when its characters' key
// can't be opened) and, for each of them in the same order, its inventory.
struct AccountRead {
  std::optional<QStringList> characters;
  std::vector<InventorySlots> inventories;
};

}  // namespace sacotin
