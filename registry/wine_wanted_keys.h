#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace sacotin {

// The keys a partial parse of a user.reg is made around, each as its path's non-empty
// components (split at backslashes, as wineserver splits a path).
class WantedKeys {
 public:
  WantedKeys() = default;
  explicit WantedKeys(const std::vector<std::u16string_view>& keys);

  bool empty() const { return keys_.empty(); }
  std::size_t size() const { return keys_.size(); }
  const std::vector<std::u16string_view>& operator[](std::size_t k) const { return keys_[k]; }

  // Whether a usual section header names a key at, above or below a wanted key: `header` is the
  // header line after its '['. Usual means ASCII whose only escapes are the doubled backslashes
  // that separate the components, so that it reads as it stands; nothing for any other header
  // (which must be unescaped first). A component over the longest key name wineserver accepts
  // counts as wanted, so that what follows it is read as a full load reads it.
  std::optional<bool> matchPlainHeader(std::string_view header) const;

 private:
  std::vector<std::vector<std::u16string_view>> keys_;
};

}  // namespace sacotin
