// Fuzzes the user.reg reader with any bytes as the Wine prefix's user.reg: the game's keys are
// opened the way the main window opens them, every key reachable from the root is enumerated
// (subkeys and values, bounded), and every inventory slot's item number text is computed.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "registry/game_registry.h"
#include "registry/item_number.h"
#include "registry/registry_backend.h"

namespace {

constexpr int kMaxDepth = 12;
constexpr int kMaxKeys = 2000;

void require(bool condition) {
  if (!condition) __builtin_trap();
}

// A private Wine prefix for this process; the input is written there as user.reg.
char prefix[] = "/tmp/sacotin-fuzz-XXXXXX";

void removePrefix() {
  std::remove((std::string(prefix) + "/user.reg").c_str());
  rmdir(prefix);
}

const std::string& prefixFolder() {
  static const std::string folder = [] {
    require(mkdtemp(prefix) != nullptr);
    setenv("WINEPREFIX", prefix, 1);
    setenv("LANG", "fr_FR.UTF-8", 1);
    std::atexit(removePrefix);
    return std::string(prefix);
  }();
  return folder;
}

void writeUserReg(const std::uint8_t* data, std::size_t size) {
  const std::string path = prefixFolder() + "/user.reg";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  require(file != nullptr);
  if (size > 0) require(std::fwrite(data, 1, size, file) == size);
  std::fclose(file);
}

struct Walker {
  sacotin::RegistryBackend& registry;
  int keysVisited = 0;

  void walk(const std::u16string& path, int depth) {
    if (depth > kMaxDepth || ++keysVisited > kMaxKeys) return;
    auto key = registry.openKey(path);
    if (!key) return;
    std::vector<std::u16string> subkeys;
    key->forEachSubkey([&](const std::u16string& name) {
      require(name.find(u'\\') == std::u16string::npos);
      subkeys.push_back(name);
    });
    key->forEachValue([](const std::u16string& name, std::string_view data) {
      if (sacotin::GameRegistry::isInventorySlot(name, data)) {
        const std::u16string text = sacotin::itemNumberText(data);
        require(!text.empty() && text.size() <= 5);
      }
    });
    key.reset();
    for (const auto& name : subkeys) {
      walk(path.empty() ? name : path + u"\\" + name, depth + 1);
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  writeUserReg(data, size);
  const auto registry = sacotin::makeCurrentUserRegistry();
  require(registry != nullptr);

  // The main window's road: accounts, each account's characters, each character's inventory.
  sacotin::GameRegistry game(*registry);
  if (auto accounts = game.openAccounts()) {
    std::vector<std::u16string> accountNames;
    accounts->forEachSubkey([&](const std::u16string& name) { accountNames.push_back(name); });
    accounts.reset();
    for (std::size_t a = 0; a < accountNames.size() && a < 16; ++a) {
      auto characters = game.openCharacters(accountNames[a]);
      if (!characters) continue;
      std::vector<std::u16string> characterNames;
      characters->forEachSubkey(
          [&](const std::u16string& name) { characterNames.push_back(name); });
      characters.reset();
      for (std::size_t c = 0; c < characterNames.size() && c < 16; ++c) {
        if (auto inventory = game.openInventory(accountNames[a], characterNames[c])) {
          sacotin::GameRegistry::forEachInventorySlot(
              *inventory, [](std::string_view slot) { (void)sacotin::itemNumberText(slot); });
        }
      }
    }
  }

  // Everything else reachable from the root, and a few awkward paths.
  Walker walker{*registry};
  walker.walk(u"", 0);
  for (const std::u16string_view path :
       {u"\\Software", u"Software\\\\Vircom\\", u"SOFTWARE\\VIRCOM\\T4C\\\\\\", u"\\"}) {
    (void)registry->openKey(path);
  }
  return 0;
}
