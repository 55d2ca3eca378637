#include "registry/game_registry.h"

namespace sacotin {

GameRegistry::GameRegistry(RegistryBackend& backend) : backend_(backend) {}

std::unique_ptr<OpenKey> GameRegistry::openBelowRoot(std::u16string_view relativePath) {
  std::u16string path(kKeyPath);
  path += relativePath;
  if (auto key = backend_.openKey(path)) return key;
  // Only when the game's keys are missing from the ordinary place do we look where a 64-bit
  // Wine prefix keeps the 32-bit game's keys.
  if (auto native = backend_.openKey(kKeyPath)) return nullptr;
  std::u16string wow64Path(kWow64KeyPath);
  wow64Path += relativePath;
  return backend_.openKey(wow64Path);
}

std::unique_ptr<OpenKey> GameRegistry::openAccounts() { return openBelowRoot(u""); }

std::unique_ptr<OpenKey> GameRegistry::openCharacters(std::u16string_view account) {
  std::u16string relative = u"\\";
  relative += account;
  relative += u"\\Characters";
  return openBelowRoot(relative);
}

std::unique_ptr<OpenKey> GameRegistry::openInventory(std::u16string_view account,
                                                     std::u16string_view character) {
  std::u16string relative = u"\\";
  relative += account;
  relative += u"\\Characters\\";
  relative += character;
  relative += u"\\Inventory";
  return openBelowRoot(relative);
}

bool GameRegistry::isInventorySlot(std::u16string_view valueName, std::string_view data) {
  return valueName.substr(0, 5) == u"ItemI" && !data.empty();
}

void GameRegistry::forEachInventorySlot(OpenKey& inventory,
                                        const std::function<void(std::string_view data)>& visit) {
  inventory.forEachValue([&](const std::u16string& name, std::string_view data) {
    if (isInventorySlot(name, data)) visit(data);
  });
}

}  // namespace sacotin
