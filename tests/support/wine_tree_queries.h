#pragma once

// What the checks of a parsed user.reg ask of a key that the program never does: its values as a
// list, and one of them by name.
#include <optional>
#include <string_view>
#include <vector>

#include "registry/wine/wine_keys_around.h"
#include "registry/wine/wine_registry_file.h"

namespace sacotin::testing {

// The key tree of either kind of parse.
inline const WineRegistryFile& treeOf(const WineRegistryFile& file) { return file; }
inline const WineRegistryFile& treeOf(const WineKeysAround& keys) { return keys.tree(); }

// Every value of a key, in order; `Tree` is a WineRegistryFile or a WineKeysAround.
template <typename Tree>
std::vector<WineValue> valuesOf(Tree& tree, WineRegistryFile::KeyId key) {
  std::vector<WineValue> values;
  tree.forEachValue(key, [&values](const WineValue& value) { values.push_back(value); });
  return values;
}

// A key's value by name, letter case aside; an empty name is the default value.
template <typename Tree>
std::optional<WineValue> findValue(Tree& tree, WineRegistryFile::KeyId key,
                                   std::u16string_view name) {
  for (const WineValue& value : valuesOf(tree, key)) {
    if (WineRegistryFile::compareNames(value.name, name) == 0) return value;
  }
  return std::nullopt;
}

}  // namespace sacotin::testing
