#include "registry/wine_wanted_keys.h"

#include <cstdint>
#include <cstring>

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

// Whether a text holds no quote, NUL or non-ASCII byte (which unescaping turns into other units),
// tested a word at a time: headers are many and long.
bool plainText(std::string_view text) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  const auto hasZeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    if (((word & kHighs) | hasZeroByte(word) | hasZeroByte(word ^ (kOnes * '"'))) != 0) {
      return false;
    }
  }
  for (; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0 || c == '"' || c >= 0x80) return false;
  }
  return true;
}

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
  const std::size_t close = header.find(']');
  if (close == std::string_view::npos) return std::nullopt;  // no closing bracket
  const std::string_view name = header.substr(0, close);
  std::uint32_t agreeing = (1u << keys_.size()) - 1;
  std::size_t index = 0;
  for (std::size_t start = 0;;) {
    const std::size_t backslash = name.find('\\', start);
    const std::size_t end = backslash == std::string_view::npos ? name.size() : backslash;
    const std::string_view part = name.substr(start, end - start);
    if (!plainText(part)) return std::nullopt;
    // Only a doubled backslash separates components; a single one starts an escape.
    const bool separator = end < name.size() && end + 1 < name.size() && name[end + 1] == '\\';
    if (end < name.size() && !separator) return std::nullopt;
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
    if (!separator) return index == 0 || agreeing != 0;  // no component: the hive itself
    start = end + 2;
  }
}

}  // namespace sacotin
