#pragma once
// What the user.reg fuzz targets share: the checks of a parsed tree.
#include <cstddef>
#include <string_view>
#include <vector>

#include "registry/wine/wine_registry_file.h"
#include "registry/wine/wine_registry_parser.h"
#include "tests/support/wine_tree_queries.h"

namespace sacotin::fuzzing {

inline void require(bool condition) {
  if (!condition) __builtin_trap();
}

using sacotin::WineRegistryFile;

inline constexpr std::size_t kMaxKeysChecked = 5000;

// What the rest of the program relies on: subkeys and values in wineserver's order without
// duplicates, and every name found by enumeration found again by lookup.
inline void checkTree(const WineRegistryFile& file) {
  if (!file.isRegistry()) {
    require(file.subkeyCount(WineRegistryFile::kRoot) == 0);
    return;
  }
  std::vector<WineRegistryFile::KeyId> pending{WineRegistryFile::kRoot};
  std::size_t checked = 0;
  while (!pending.empty() && ++checked <= kMaxKeysChecked) {
    const auto key = pending.back();
    pending.pop_back();
    const std::size_t subkeys = file.subkeyCount(key);
    for (std::size_t i = 0; i < subkeys; ++i) {
      const auto child = file.subkey(key, i);
      const std::u16string_view name = file.keyName(child);
      require(!name.empty() && name.size() <= WineRegistryFile::kMaxKeyNameLength);
      require(name.find(u'\\') == std::u16string_view::npos);
      if (i > 0)
        require(WineRegistryFile::compareNames(file.keyName(file.subkey(key, i - 1)), name) < 0);
      require(file.findSubkey(key, name) == child);
      pending.push_back(child);
    }
    const std::vector<WineValue> values = testing::valuesOf(file, key);
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i > 0) require(WineRegistryFile::compareNames(values[i - 1].name, values[i].name) < 0);
      const auto found = testing::findValue(file, key, values[i].name);
      require(found && found->data == values[i].data && found->type == values[i].type);
    }
  }
}

}  // namespace sacotin::fuzzing
