#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "registry/registry_backend.h"

namespace sacotin {

// The game's layout inside the current user's registry:
//   Software\Vircom\T4C\<account>\Characters\<character>\Inventory
// Paths are built by plain concatenation of the names the choosers hold. When the keys exist
// only under Software\Wow6432Node (a 64-bit Wine prefix seen by the 32-bit game), they are read
// there.
class GameRegistry {
 public:
  // The game's key, and where a 64-bit Wine prefix keeps the 32-bit game's key.
  static constexpr std::u16string_view kKeyPath = u"Software\\Vircom\\T4C";
  static constexpr std::u16string_view kWow64KeyPath = u"Software\\Wow6432Node\\Vircom\\T4C";

  explicit GameRegistry(RegistryBackend& backend);

  // Reads the game's keys again if they changed in the registry's storage (see
  // RegistryBackend::refresh).
  void refresh() { backend_.refresh(); }

  std::unique_ptr<OpenKey> openAccounts();
  std::unique_ptr<OpenKey> openCharacters(std::u16string_view account);
  std::unique_ptr<OpenKey> openInventory(std::u16string_view account,
                                         std::u16string_view character);

  // Hands over the data of every inventory slot of an open inventory key, in enumeration order:
  // values whose name starts with exactly "ItemI" and whose data is not empty.
  template <typename Visit>
  static void forEachInventorySlot(OpenKey& inventory, Visit&& visit) {
    inventory.forEachValue([&visit](std::u16string_view name, std::string_view data) {
      if (isInventorySlot(name, data)) visit(data);
    });
  }

  static bool isInventorySlot(std::u16string_view valueName, std::string_view data);

 private:
  std::unique_ptr<OpenKey> openBelowRoot(std::u16string_view relativePath);

  RegistryBackend& backend_;
};

}  // namespace sacotin
