#include "registry/wine_wanted_keys.h"

#include <cstdint>

#include "registry/wine_registry_file.h"

namespace sacotin {
namespace {

// Whether an ASCII name equals a name, letter case aside, as compareNames decides it.
bool sameAsciiName(std::string_view ascii, std::u16string_view name) {
  if (ascii.size() != name.size()) return false;
  for (std::size_t i = 0; i < ascii.size(); ++i) {
    const auto a = static_cast<char16_t>(ascii[i]);
    if (a != name[i] && WineRegistryFile::foldCase(a) != WineRegistryFile::foldCase(name[i])) {
      return false;
    }
  }
  return true;
}

// The bytes a usual header's name is made of: all but the backslash (which starts an escape or
// a separator), the closing bracket, the quote, NUL and non-ASCII bytes (which unescaping turns
// into other units). A table, for headers are many and long.
struct OrdinaryBytes {
  bool ordinary[256] = {};
  constexpr OrdinaryBytes() {
    for (int c = 1; c < 0x80; ++c) ordinary[c] = c != '\\' && c != ']' && c != '"';
  }
};
constexpr OrdinaryBytes kOrdinary;

}  // namespace

WantedKeys::WantedKeys(const std::vector<std::u16string_view>& keys) {
  for (const std::u16string_view key : keys) {
    std::vector<std::u16string_view>& parts = keys_.emplace_back();
    for (std::size_t start = 0; start <= key.size();) {
      std::size_t end = key.find(u'\\', start);
      if (end == std::u16string_view::npos) end = key.size();
      if (end > start) parts.push_back(key.substr(start, end - start));
      start = end + 1;
    }
  }
}

std::optional<bool> WantedKeys::matchPlainHeader(std::string_view header) const {
  std::uint32_t agreeing = (1u << keys_.size()) - 1;
  std::size_t index = 0;
  std::size_t start = 0;
  for (std::size_t p = 0;; ++p) {
    while (p < header.size() && kOrdinary.ordinary[static_cast<unsigned char>(header[p])]) ++p;
    if (p >= header.size()) return std::nullopt;  // no closing bracket
    const char c = header[p];
    const bool separator = c == '\\' && p + 1 < header.size() && header[p + 1] == '\\';
    if (c != ']' && !separator) return std::nullopt;  // an escape, a quote or a changed byte
    const std::string_view part = header.substr(start, p - start);
    if (!part.empty()) {
      if (part.size() > WineRegistryFile::kMaxKeyNameLength) return true;
      for (std::size_t k = 0; k < keys_.size(); ++k) {
        if ((agreeing & (1u << k)) && index < keys_[k].size() &&
            !sameAsciiName(part, keys_[k][index])) {
          agreeing &= ~(1u << k);
        }
      }
      ++index;
    }
    if (c == ']') return index == 0 || agreeing != 0;  // no component: the hive itself
    start = p + 2;
    ++p;
  }
}

}  // namespace sacotin
