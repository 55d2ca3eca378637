// The queries of a parsed user.reg's key tree.
#include "registry/wine/wine_registry_file.h"

#include <QChar>
#include <algorithm>

namespace sacotin {

WineRegistryFile::WineRegistryFile() { keys_.emplace_back(); }

std::u16string WineRegistryFile::pathOf(KeyId key) const {
  std::u16string path;
  for (KeyId k = key; k != kRoot; k = keys_[k].parent) {
    std::u16string_view name = keyName(k);
    path.insert(path.begin(), name.begin(), name.end());
    if (keys_[k].parent != kRoot) path.insert(path.begin(), u'\\');
  }
  return path;
}

char16_t WineRegistryFile::foldCase(char16_t unit) {
  if (unit < 0x80) return (unit >= u'A' && unit <= u'Z') ? char16_t(unit + 32) : unit;
  return static_cast<char16_t>(QChar::toLower(char32_t(unit)));
}

int WineRegistryFile::compareNames(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const char16_t x = foldCase(a[i]);
    const char16_t y = foldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::u16string_view WineRegistryFile::keyName(KeyId key) const {
  const auto& k = keys_[key];
  return std::u16string_view(names_).substr(k.nameOffset, k.nameLength);
}

std::optional<WineRegistryFile::KeyId> WineRegistryFile::findSubkey(
    KeyId parent, std::u16string_view name) const {
  const auto first = children_.begin() + keys_[parent].childBegin;
  const auto last = first + keys_[parent].childCount;
  const auto found =
      std::lower_bound(first, last, name, [this](KeyId child, std::u16string_view wanted) {
        return compareNames(keyName(child), wanted) < 0;
      });
  if (found == last || compareNames(keyName(*found), name) != 0) return std::nullopt;
  return *found;
}

}  // namespace sacotin
