#include "registry/wine/wine_wanted_keys.h"

#include <cstring>

#include "registry/wine/wine_registry_file.h"
#include "registry/wine/wine_registry_text.h"

namespace sacotin {
namespace {

// Whether a name equals a wanted key's component, letter case aside, as compareNames decides it.
bool sameName(std::string_view ascii, std::u16string_view name) {
  if (ascii.size() != name.size()) return false;
  for (std::size_t i = 0; i < ascii.size(); ++i) {
    const auto a = static_cast<char16_t>(ascii[i]);
    if (a != name[i] && WineRegistryFile::foldCase(a) != WineRegistryFile::foldCase(name[i])) {
      return false;
    }
  }
  return true;
}

bool sameName(std::u16string_view a, std::u16string_view b) {
  return WineRegistryFile::compareNames(a, b) == 0;
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

// Whether the rest of a plain header, from a doubled backslash on, reads as further components
// that change nothing once the key has strayed from every wanted key: plain text, only doubled
// backslashes, and no component over the longest name wineserver accepts.
bool plainShortRest(std::string_view rest) {
  if (rest.size() > WineRegistryFile::kMaxKeyNameLength || !plainText(rest)) return false;
  const char* const end = rest.data() + rest.size();
  for (const char* at = rest.data();; at += 2) {
    at = static_cast<const char*>(std::memchr(at, '\\', static_cast<std::size_t>(end - at)));
    if (!at) return true;
    if (at + 1 == end || at[1] != '\\') return false;
  }
}

}  // namespace

// Follows a key's components, from the hive down, keeping which wanted keys still agree.
class WantedKeys::Walk {
 public:
  explicit Walk(const std::vector<std::vector<std::u16string>>& keys)
      : keys_(keys), agreeing_((1u << keys.size()) - 1) {}

  // False once a component is over the longest name wineserver accepts: the walk stops there.
  template <typename Name>
  bool next(Name component) {
    if (component.size() > WineRegistryFile::kMaxKeyNameLength) {
      refused_ = true;
      return false;
    }
    for (std::size_t k = 0; k < keys_.size(); ++k) {
      if ((agreeing_ & (1u << k)) && depth_ < keys_[k].size() &&
          !sameName(component, keys_[k][depth_])) {
        agreeing_ &= ~(1u << k);
      }
    }
    ++depth_;
    return true;
  }

  void refuse() { refused_ = true; }

  // Whether no wanted key agrees with the components walked so far.
  bool strayed() const { return depth_ > 0 && agreeing_ == 0; }

  Place place() const {
    Place place{refused_ || depth_ == 0 || agreeing_ != 0, false};
    for (std::size_t k = 0; k < keys_.size(); ++k) {
      if ((agreeing_ & (1u << k)) && depth_ >= keys_[k].size()) place.atOrBelow = true;
    }
    return place;
  }

 private:
  const std::vector<std::vector<std::u16string>>& keys_;
  std::uint32_t agreeing_;
  std::size_t depth_ = 0;
  bool refused_ = false;
};

WantedKeys::WantedKeys(const std::vector<std::u16string_view>& keys) {
  for (const std::u16string_view key : keys) {
    std::vector<std::u16string>& components = keys_.emplace_back();
    wine_text::forEachComponent(key, [&components](std::u16string_view component) {
      components.emplace_back(component);
      return true;
    });
  }
}

WantedKeys::Place WantedKeys::placeOfPath(std::u16string_view path) const {
  if (path.starts_with(u'\\')) return {};
  Walk walk(keys_);
  wine_text::forEachComponent(path, [&walk](std::u16string_view part) { return walk.next(part); });
  return walk.place();
}

WantedKeys::Place WantedKeys::placeOfHeader(std::string_view header) const {
  if (const std::optional<Place> plain = placeOfPlainHeader(header)) return *plain;
  std::u16string path;
  std::size_t next = 0;
  Walk walk(keys_);
  if (!wine_text::unescape(header, ']', next, [&path](char16_t unit) { path.push_back(unit); })) {
    walk.refuse();
  } else if (!path.empty() && path[0] != 0) {  // else the hive itself, as the loader takes it
    wine_text::forEachComponent(path,
                                [&walk](std::u16string_view part) { return walk.next(part); });
  }
  return walk.place();
}

std::optional<WantedKeys::Place> WantedKeys::placeOfPlainHeader(std::string_view header) const {
  const std::size_t close = header.find(']');
  if (close == std::string_view::npos) return std::nullopt;  // no closing bracket
  const std::string_view name = header.substr(0, close);
  Walk walk(keys_);
  std::size_t walked = 0;  // where the name is read up to
  bool plain = true;
  wine_text::forEachComponent(name, [&](std::string_view part) {
    const auto start = static_cast<std::size_t>(part.data() - name.data());
    // Only doubled backslashes separate components; a single one starts an escape.
    plain = (start - walked) % 2 == 0 && plainText(part);
    walked = start + part.size();
    if (!plain) return false;
    // A refused name, or one that strayed from the game's keys (most do at their second
    // component) and goes on only as usual, is placed without reading further.
    if (!walk.next(part) || (walk.strayed() && plainShortRest(name.substr(walked)))) {
      walked = name.size();
      return false;
    }
    return true;
  });
  if (!plain || (name.size() - walked) % 2 != 0) return std::nullopt;
  return walk.place();
}

}  // namespace sacotin
