#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "registry/wine/wine_registry_file.h"
#include "registry/wine/wine_registry_parser.h"
#include "registry/wine/wine_values_memo.h"

namespace sacotin {

// The keys at, above and below some keys of a user.reg, parsed around them
// (parseWineRegistryAround): their tree, and each key's values, parsed from its sections' lines
// the first time they are asked for and kept. So asking for values changes it: it is never
// handed over as const, and one thread reads it at a time.
class WineKeysAround {
 public:
  using KeyId = WineRegistryFile::KeyId;

  // The text is kept for the sections' lines. A key's values that `memo` kept from a previous
  // version of the file, parsed from the same lines, are taken from it instead of being parsed
  // again.
  WineKeysAround(std::string&& text, const std::vector<std::u16string_view>& keys,
                 std::shared_ptr<WineValuesMemo> memo = nullptr);

  const WineRegistryFile& tree() const { return tree_; }

  // Every value of a key, in order, as parseWineRegistry gives them.
  template <typename Visit>
  void forEachValue(KeyId key, Visit&& visit) {
    if (const WineKeyValues* values = valuesOf(key)) {
      values->file->forEachValue(values->key, visit);
    }
  }

 private:
  // A key's sections, in file order.
  struct Sections {
    std::vector<WineDeferredSection>::const_iterator first;
    std::vector<WineDeferredSection>::const_iterator last;
  };

  // The key's values, parsed the first time they are asked for (taken over from the memo where
  // its lines are as they were) and kept; null when it has none.
  const WineKeyValues* valuesOf(KeyId key);
  Sections sectionsOf(KeyId key) const;
  std::string_view linesOf(const WineDeferredSection& section) const;
  // A key's sections, each under a header of its own, as a user.reg of that key alone: a full
  // parse of it gives the key's values exactly as a full parse of the whole file does.
  std::string oneKeyText(Sections sections) const;

  WineRegistryFile tree_;
  std::vector<WineDeferredSection> sections_;
  std::shared_ptr<const std::string> text_;  // where the sections' lines lie
  std::shared_ptr<WineValuesMemo> memo_;
  std::unordered_map<KeyId, WineKeyValues> loaded_;
};

}  // namespace sacotin
