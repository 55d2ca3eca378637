#include "registry/game_registry.h"

#include <cstring>

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
  // Compared as bytes: a loop of UTF-16 units would cost more than the rest of the slot's read.
  constexpr std::u16string_view kSlotNameStart = u"ItemI";
  return !data.empty() && valueName.size() >= kSlotNameStart.size() &&
         std::memcmp(valueName.data(), kSlotNameStart.data(),
                     kSlotNameStart.size() * sizeof(char16_t)) == 0;
}

}  // namespace sacotin
