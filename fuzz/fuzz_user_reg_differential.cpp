// Fuzzes the faster ways the program reads a user.reg against the whole parse, with any bytes
// as a Wine prefix's user.reg. The parse that passes over unrelated sections, of the whole text
// and of what the section filter keeps of it (handed over in parts), must give exactly the whole
// parse's game keys. Then the same bytes, written as the prefix's user.reg, are read through the
// registry the main window uses, in one of four code pages: the game's keys are opened the way
// the main window opens them and every inventory slot's item number text is computed.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue.h"
#include "encodings/ansi_code_page.h"
#include "fuzz/user_reg_checks.h"
#include "registry/game_registry.h"
#include "registry/item_number.h"
#include "registry/wine/wine_keys_around.h"
#include "registry/wine/wine_registry_file.h"
#include "registry/wine/wine_registry_parser.h"
#include "registry/wine/wine_section_filter.h"
#include "registry/wine/wine_user_registry.h"
#include "tests/support/same_subtree.h"

namespace {

using sacotin::WineRegistryFile;
using sacotin::fuzzing::require;

// A private Wine prefix for this process; the input is written there as user.reg. In memory
// when the system offers a memory file system: a disk costs most of the time of a run.
char prefix[] = "/dev/shm/sacotin-fuzz-XXXXXX";

void removePrefix() {
  std::remove((std::string(prefix) + "/user.reg").c_str());
  rmdir(prefix);
}

std::string userRegPath() {
  static const std::string path = [] {
    if (!mkdtemp(prefix)) {
      std::snprintf(prefix, sizeof prefix, "%s", "/tmp/sacotin-fuzz-XXXXXX");
      require(mkdtemp(prefix) != nullptr);
    }
    std::atexit(removePrefix);
    return std::string(prefix) + "/user.reg";
  }();
  return path;
}

void writeFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  require(file != nullptr);
  if (!bytes.empty()) require(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
  std::fclose(file);
}

// The main window's road: accounts, each account's characters, each character's inventory.
void readAsTheMainWindowDoes(sacotin::RegistryBackend& registry) {
  sacotin::GameRegistry game(registry);
  auto accounts = game.openAccounts();
  if (!accounts) return;
  std::vector<std::u16string> accountNames;
  accounts->forEachSubkey([&](const std::u16string& name) { accountNames.push_back(name); });
  accounts.reset();
  for (std::size_t a = 0; a < accountNames.size() && a < 16; ++a) {
    auto characters = game.openCharacters(accountNames[a]);
    if (!characters) continue;
    std::vector<std::u16string> characterNames;
    characters->forEachSubkey([&](const std::u16string& name) { characterNames.push_back(name); });
    characters.reset();
    for (std::size_t c = 0; c < characterNames.size() && c < 16; ++c) {
      auto inventory = game.openInventory(accountNames[a], characterNames[c]);
      if (!inventory) continue;
      sacotin::GameRegistry::forEachInventorySlot(*inventory, [](std::string_view slot) {
        const std::u16string text = sacotin::itemNumberText(sacotin::itemNumber(slot));
        require(!text.empty() && text.size() <= 5);
      });
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const WineRegistryFile whole = sacotin::parseWineRegistry(bytes);
  const std::vector<std::u16string_view> gameKeys = {sacotin::GameRegistry::kKeyPath,
                                                     sacotin::GameRegistry::kWow64KeyPath};
  sacotin::WineKeysAround around(std::string(bytes), gameKeys);
  sacotin::WineSectionFilter filter(gameKeys);
  const std::size_t partSize = size % 13 + 1;
  for (std::size_t at = 0; at < size; at += partSize) filter.append(bytes.substr(at, partSize));
  sacotin::WineKeysAround fromKept(filter.finish(), gameKeys);
  for (const std::u16string_view key : gameKeys) {
    require(sacotin::testing::sameSubtree(whole, around, key));
    require(sacotin::testing::sameSubtree(whole, fromKept, key));
  }

  const std::string path = userRegPath();
  writeFile(path, bytes);
  // Mostly the usual code page, sometimes a double-byte one or UTF-8 (string data is converted).
  constexpr int kCodePages[] = {1252, 1252, 1252, 1251, 932, 65001};
  sacotin::WineUserRegistry registry(
      path, sacotin::makeAnsiCodePage(kCodePages[size % std::size(kCodePages)]));
  readAsTheMainWindowDoes(registry);
  for (const std::u16string_view awkward :
       {u"", u"\\Software", u"Software\\\\Vircom\\", u"SOFTWARE\\VIRCOM\\T4C\\\\\\", u"\\"}) {
    (void)registry.openKey(awkward);
  }
  return 0;
}
