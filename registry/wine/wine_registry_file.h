#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

// The key tree of a Wine user.reg, loaded the way wineserver loads it: same line grammar, same
// escapes, same handling of damaged lines, duplicate sections merged, subkeys and values kept in
// wineserver's order (names compared unit by unit after lower-casing, shorter first on a tie).
// Its keys do not change once parsed, and every name and every value's bytes live in two shared
// pools. A tree parsed around some keys (parseAround) parses a key's values only when they are
// first asked for and keeps them: that cache (and the memo it may share with the file's next
// version) changes as it is read, so one tree is read by one thread at a time.
class WineValuesMemo;

class WineRegistryFile {
 public:
  using KeyId = std::uint32_t;
  static constexpr KeyId kRoot = 0;
  // Longest key name component and value name wineserver accepts, in UTF-16 units.
  static constexpr std::size_t kMaxKeyNameLength = 256;
  static constexpr std::size_t kMaxValueNameLength = 16383;

  // Largest file loaded; wineserver's own files stay far below it.
  static constexpr std::size_t kMaxFileSize = std::size_t(1) << 30;

  // Parses the whole text of a user.reg. Without the exact header line
  // "WINE REGISTRY Version 2" nothing is loaded and isRegistry() is false (also for a text over
  // kMaxFileSize).
  static WineRegistryFile parse(std::string_view text);

  // Parses only the keys at, above and below the given ones (paths from the hive, components
  // separated by backslashes): the section of any other key is passed over unparsed, up to the
  // next line that starts with '[' (or further, where a full parse would take that line as the
  // continuation of a hex value). The values of a key are parsed when they are first asked for,
  // from its sections' lines kept for that. For every key at or below one of `keys`, the
  // subkeys, values, order, data and spelling are exactly those parse() gives, whatever the rest
  // of the file holds; keys elsewhere are missing or incomplete.
  static WineRegistryFile parseAround(std::string_view text,
                                      const std::vector<std::u16string_view>& keys);
  // The same, keeping the text itself for the values parsed on demand instead of a copy of the
  // sections' lines; a key's values that `memo` kept from a previous version of the file, parsed
  // from the same lines, are taken from it instead of being parsed again.
  static WineRegistryFile parseAround(std::string&& text,
                                      const std::vector<std::u16string_view>& keys,
                                      std::shared_ptr<WineValuesMemo> memo = nullptr);

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

  std::size_t valueCount(KeyId key) const;
  WineValue value(KeyId key, std::size_t index) const;
  // Every value of a key, in order: the quick way through all of them.
  template <typename Visit>
  void forEachValue(KeyId key, Visit&& visit) const {
    if (valuesDeferred_) {
      if (const LoadedValues* loaded = valuesOf(key))
        loaded->file->forEachValue(loaded->key, visit);
      return;
    }
    const Key& k = keys_[key];
    for (std::uint32_t i = k.valueBegin; i < k.valueBegin + k.valueCount; ++i) {
      const Value& v = values_[i];
      visit(WineValue{valueName(v), v.type,
                      std::string_view(data_.data() + v.dataOffset, v.dataLength)});
    }
  }
  // Case-insensitive lookup of a value; an empty name is the default value.
  std::optional<WineValue> findValue(KeyId key, std::u16string_view name) const;

  std::size_t keyCount() const { return keys_.size(); }

  // Case folding and order of names, as wineserver compares them.
  static char16_t foldCase(char16_t unit);
  static int compareNames(std::u16string_view a, std::u16string_view b);

  // A key's values, parsed on demand: a file holding that key alone, and the key in it.
  struct LoadedValues {
    std::shared_ptr<const WineRegistryFile> file;
    KeyId key = kRoot;
  };

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

  // The lines of a section whose values are parsed on demand: the section's key, and where its
  // lines are kept in deferredText_. A key's sections follow each other, in file order.
  struct DeferredSection {
    KeyId key = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
  };
  // The key's values, parsed the first time they are asked for (taken over from the memo where
  // its lines are as they were) and kept; null when it has none.
  const LoadedValues* valuesOf(KeyId key) const;

  // A key's sections, in file order.
  struct Sections {
    std::vector<DeferredSection>::const_iterator first;
    std::vector<DeferredSection>::const_iterator last;
  };
  Sections sectionsOf(KeyId key) const;
  std::string_view linesOf(const DeferredSection& section) const;
  // A key's sections, each under a header of its own, as a user.reg of that key alone: a full
  // load of it gives the key's values exactly as a full load of the whole file does.
  static constexpr std::string_view kOneKeyFileHeader = "WINE REGISTRY Version 2\n";
  static constexpr std::string_view kOneKeySectionHeader = "[k]\n";
  static constexpr std::u16string_view kOneKeyName = u"k";  // the key that header names
  std::string oneKeyText(Sections sections) const;
  // The key's names from the hive, separated by backslashes.
  std::u16string pathOf(KeyId key) const;

  bool valuesDeferred_ = false;
  std::shared_ptr<std::string> deferredText_;
  std::vector<DeferredSection> deferred_;
  std::shared_ptr<WineValuesMemo> memo_;
  mutable std::unordered_map<KeyId, LoadedValues> loaded_;

  bool isRegistry_ = false;
  std::vector<Key> keys_;
  std::vector<KeyId> children_;
  std::vector<Value> values_;
  std::u16string names_;
  std::string data_;
};

}  // namespace sacotin
