#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sacotin {

// The keys a partial parse of a user.reg is made around (the game's two places), each as its
// path's non-empty components, and where other keys stand against them. Every test of whether a
// header line or a key path is at, above or below one of them is made here.
class WantedKeys {
 public:
  WantedKeys() = default;
  explicit WantedKeys(const std::vector<std::u16string_view>& keys);

  bool empty() const { return keys_.empty(); }

  // Where a key stands: related when it is at, above or below a wanted key (the hive is above
  // them all), atOrBelow when at or below one.
  struct Place {
    bool related = false;
    bool atOrBelow = false;
  };

  // The place of a section header's key; `header` is the header line after its '['. A header
  // the loader refuses (no closing bracket, a bad escape, a name over the longest wineserver
  // accepts) counts as related, so that what follows it is read as a full load reads it.
  Place placeOfHeader(std::string_view header) const;
  // The same for a usual header: ASCII whose only escapes are the doubled backslashes that
  // separate the components, so that it reads as it stands (quick: headers are many and long);
  // nothing for any other header.
  std::optional<Place> placeOfPlainHeader(std::string_view header) const;
  // The place of a key path as the registry takes it (components separated by backslashes,
  // runs of them counting as one); a path with a leading backslash is unrelated.
  Place placeOfPath(std::u16string_view path) const;

 private:
  class Walk;

  std::vector<std::vector<std::u16string>> keys_;
};

}  // namespace sacotin
