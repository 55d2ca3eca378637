#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "registry/wine/wine_registry_file.h"

namespace sacotin {

// The values that trees parsed around some keys have parsed on demand, each kept with its key's
// path and the text of the key's sections, for the next version of the same file. The game
// rewrites user.reg whole, but a session changes a few characters' inventories: the next version
// parses again only the keys whose sections changed.
class WineValuesMemo {
 public:
  using Values = WineRegistryFile::LoadedValues;

  // The values kept for the key at `path`, if they were parsed from the text that `sameText`
  // tells is the key's text now.
  std::optional<Values> find(const std::u16string& path,
                             const std::function<bool(std::string_view kept)>& sameText);
  void keep(std::u16string path, std::string sectionsText, Values values);

  // A new version of the file is parsed: what the version before was not asked for is dropped,
  // so that at most two versions' values are kept.
  void nextVersion();

 private:
  struct Entry {
    std::string sectionsText;
    Values values;
  };
  std::unordered_map<std::u16string, Entry> current_;
  std::unordered_map<std::u16string, Entry> previous_;
};

}  // namespace sacotin
