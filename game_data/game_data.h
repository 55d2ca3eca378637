#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "game_data/account_read.h"
#include "registry/registry_backend.h"

namespace sacotin {

// The game's accounts, characters and inventories, read from the registry it owns, as the
// windows show them. Each read opens the keys it needs one at a time and closes them again.
// Moving it hands the registry over with it: a search run reads on a second thread the data it
// was given, and hands it back.
class GameData {
 public:
  explicit GameData(std::unique_ptr<RegistryBackend> registry);
  GameData(GameData&&) noexcept = default;
  GameData& operator=(GameData&&) noexcept = default;

  // Reads again what the registry answers from, if it changed (see RegistryBackend::refresh).
  void refresh();

  // The accounts' names in enumeration order; none when the game's key can't be opened.
  std::optional<QStringList> accountNames();
  // An account's characters' names; none when its characters' key can't be opened.
  std::optional<QStringList> characterNames(const QString& account);
  // A character's inventory slots' item numbers.
  InventorySlots inventory(const QString& account, const QString& character);
  // An account's characters with, for each of them, its inventory.
  AccountRead account(const QString& account);

 private:
  std::unique_ptr<RegistryBackend> registry_;
};

}  // namespace sacotin
