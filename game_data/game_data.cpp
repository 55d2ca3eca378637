#include "game_data/game_data.h"

#include "registry/game_registry.h"
#include "registry/item_number.h"

namespace sacotin {
namespace {

QStringList subkeyNames(OpenKey& key) {
  QStringList names;
  key.forEachSubkey(
      [&names](const std::u16string& name) { names.append(QString::fromStdU16String(name)); });
  return names;
}

}  // namespace

GameData::GameData(std::unique_ptr<RegistryBackend> registry) : registry_(std::move(registry)) {}

void GameData::refresh() { registry_->refresh(); }

std::optional<QStringList> GameData::accountNames() {
  std::unique_ptr<OpenKey> accounts = GameRegistry(*registry_).openAccounts();
  if (!accounts) return std::nullopt;
  return subkeyNames(*accounts);
}

std::optional<QStringList> GameData::characterNames(const QString& account) {
  std::unique_ptr<OpenKey> characters =
      GameRegistry(*registry_).openCharacters(account.toStdU16String());
  if (!characters) return std::nullopt;
  return subkeyNames(*characters);
}

InventorySlots GameData::inventory(const QString& account, const QString& character) {
  InventorySlots read;
  std::unique_ptr<OpenKey> inventory =
      GameRegistry(*registry_).openInventory(account.toStdU16String(), character.toStdU16String());
  if (!inventory) return read;
  read.opened = true;
  GameRegistry::forEachInventorySlot(*inventory, [&read](std::string_view slotData) {
    read.itemNumbers.push_back(itemNumber(slotData));
  });
  return read;
}

// Each key is closed before the next one is opened.
AccountRead GameData::account(const QString& account) {
  AccountRead read{characterNames(account), {}};
  if (!read.characters) return read;
  read.inventories.reserve(static_cast<std::size_t>(read.characters->size()));
  for (const QString& character : *read.characters) {
    read.inventories.push_back(inventory(account, character));
  }
  return read;
}

}  // namespace sacotin
