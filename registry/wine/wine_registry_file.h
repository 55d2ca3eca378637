#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sacotin {

// Registry value types, as stored in a user.reg.
enum WineValueType : std::uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegMultiSz = 7,
};

// One value of a key: its stored name (the default value has an empty name), its type and its
// bytes as Wine keeps them (string types are UTF-16LE with the terminating NUL that the quoted
// form adds).
struct WineValue {
  std::u16string_view name;
  std::uint32_t type = kRegNone;
  std::string_view data;
};

// The key tree of a Wine user.reg, as wineserver loads it: same line grammar, same escapes, same
// handling of damaged lines, duplicate sections merged, subkeys and values kept in wineserver's
// order (names compared unit by unit after lower-casing, shorter first on a tie). Every name and
// every value's bytes live in two shared pools. Once parsed (wine_registry_parser.h) it never
// changes: a tree can be read by any number of threads.
class WineRegistryFile {
 public:
  using KeyId = std::uint32_t;
  static constexpr KeyId kRoot = 0;
  // Longest key name component and value name wineserver accepts, in UTF-16 units.
  static constexpr std::size_t kMaxKeyNameLength = 256;
  static constexpr std::size_t kMaxValueNameLength = 16383;

  // Largest file loaded; wineserver's own files stay far below it.
  static constexpr std::size_t kMaxFileSize = std::size_t(1) << 30;

  // An empty tree that is not a registry.
  WineRegistryFile();

  bool isRegistry() const { return isRegistry_; }

  std::u16string_view keyName(KeyId key) const;
  // A symbolic link key (#link): its target lies outside what this file can answer.
  bool isLink(KeyId key) const { return keys_[key].link; }

  std::size_t subkeyCount(KeyId key) const { return keys_[key].childCount; }
  KeyId subkey(KeyId key, std::size_t index) const {
    return children_[keys_[key].childBegin + index];
  }
  // Case-insensitive lookup of a direct subkey.
  std::optional<KeyId> findSubkey(KeyId parent, std::u16string_view name) const;
  // The key's names from the hive, separated by backslashes.
  std::u16string pathOf(KeyId key) const;

  // Every value of a key, in order. A tree parsed around some keys holds none: their values are
  // parsed when asked for (wine_keys_around.h).
  template <typename Visit>
  void forEachValue(KeyId key, Visit&& visit) const {
    const Key& k = keys_[key];
    for (std::uint32_t i = k.valueBegin; i < k.valueBegin + k.valueCount; ++i) {
      const Value& v = values_[i];
      visit(WineValue{valueName(v), v.type,
                      std::string_view(data_.data() + v.dataOffset, v.dataLength)});
    }
  }

  // Case folding and order of names, as wineserver compares them.
  static char16_t foldCase(char16_t unit);
  static int compareNames(std::u16string_view a, std::u16string_view b);

 private:
  friend class WineRegistryParser;

  struct Key {
    std::uint32_t nameOffset = 0;
    std::uint32_t nameLength = 0;
    std::uint32_t parent = 0;
    std::uint32_t childBegin = 0;
    std::uint32_t childCount = 0;
    std::uint32_t valueBegin = 0;
    std::uint32_t valueCount = 0;
    bool link = false;
  };

  // 24 bytes a value: pool offsets are 32-bit, which is why files over 1 GiB are not loaded.
  struct Value {
    std::uint32_t key = 0;
    std::uint32_t type = kRegNone;
    std::uint32_t nameOffset = 0;
    std::uint32_t nameLength = 0;
    std::uint32_t dataOffset = 0;
    std::uint32_t dataLength = 0;
  };

  std::u16string_view valueName(const Value& value) const {
    return std::u16string_view(names_).substr(value.nameOffset, value.nameLength);
  }

  bool isRegistry_ = false;
  std::vector<Key> keys_;
  std::vector<KeyId> children_;
  std::vector<Value> values_;
  std::u16string names_;
  std::string data_;
};

}  // namespace sacotin
