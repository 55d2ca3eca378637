#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "registry/wine/wine_registry_file.h"

namespace sacotin {

// A key's values, parsed on demand: a tree of that key alone (never changed once parsed, so that
// two versions of a file can share it), and the key in it.
struct WineKeyValues {
  std::shared_ptr<const WineRegistryFile> file;
  WineRegistryFile::KeyId key = WineRegistryFile::kRoot;
};

// The values that trees parsed around some keys have parsed on demand, each kept with its key's
// path and the lines of the key's sections, for the next version of the same file. The game
// rewrites user.reg whole, but a session changes a few characters' inventories: the next version
// parses again only the keys whose sections changed.
class WineValuesMemo {
 public:
  // A key's sections in one version of the file: views into that version's text, which `text`
  // keeps (no copy is made).
  struct Lines {
    std::shared_ptr<const std::string> text;
    std::vector<std::string_view> sections;
  };

  // The values kept for the key at `path`, if they were parsed from the same lines. The key's
  // entry then holds `lines`, this version's, so that an older version's text is let go.
  std::optional<WineKeyValues> find(const std::u16string& path, Lines& lines);
  void keep(std::u16string path, Lines lines, WineKeyValues values);

  // A new version of the file is parsed: what the version before was not asked for is dropped,
  // so that at most two versions' values and texts are kept.
  void nextVersion();

 private:
  struct Entry {
    Lines lines;
    WineKeyValues values;
  };
  std::unordered_map<std::u16string, Entry> current_;
  std::unordered_map<std::u16string, Entry> previous_;
};

}  // namespace sacotin
