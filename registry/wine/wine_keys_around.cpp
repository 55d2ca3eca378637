// The values of the keys parsed around some keys, parsed on demand.
#include "registry/wine/wine_keys_around.h"

#include <algorithm>

namespace sacotin {
namespace {

// The header of a user.reg of one key's sections, and the key it names.
constexpr std::string_view kOneKeyFileHeader = "WINE REGISTRY Version 2\n";
constexpr std::string_view kOneKeySectionHeader = "[k]\n";
constexpr std::u16string_view kOneKeyName = u"k";

}  // namespace

WineKeysAround::WineKeysAround(std::string&& text, const std::vector<std::u16string_view>& keys,
                               std::shared_ptr<WineValuesMemo> memo)
    : text_(std::make_shared<const std::string>(std::move(text))), memo_(std::move(memo)) {
  WineTreeAround parsed = parseWineRegistryAround(*text_, keys);
  tree_ = std::move(parsed.tree);
  sections_ = std::move(parsed.sections);
}

const WineKeyValues* WineKeysAround::valuesOf(KeyId key) {
  if (const auto found = loaded_.find(key); found != loaded_.end()) return &found->second;
  const Sections sections = sectionsOf(key);
  if (sections.first == sections.last) return nullptr;
  std::u16string path;
  WineValuesMemo::Lines lines;
  if (memo_) {
    path = tree_.pathOf(key);
    lines.text = text_;
    for (auto section = sections.first; section != sections.last; ++section) {
      lines.sections.push_back(linesOf(*section));
    }
    if (std::optional<WineKeyValues> kept = memo_->find(path, lines)) {
      return &loaded_.emplace(key, std::move(*kept)).first->second;
    }
  }
  auto values = std::make_shared<const WineRegistryFile>(parseOneKeyValues(oneKeyText(sections)));
  const WineKeyValues loaded{
      values,
      values->findSubkey(WineRegistryFile::kRoot, kOneKeyName).value_or(WineRegistryFile::kRoot)};
  if (memo_) memo_->keep(std::move(path), std::move(lines), loaded);
  return &loaded_.emplace(key, loaded).first->second;
}

WineKeysAround::Sections WineKeysAround::sectionsOf(KeyId key) const {
  struct ByKey {
    bool operator()(const WineDeferredSection& section, KeyId id) const { return section.key < id; }
    bool operator()(KeyId id, const WineDeferredSection& section) const { return id < section.key; }
  };
  const auto [first, last] = std::equal_range(sections_.begin(), sections_.end(), key, ByKey{});
  return {first, last};
}

std::string_view WineKeysAround::linesOf(const WineDeferredSection& section) const {
  return std::string_view(*text_).substr(section.offset, section.length);
}

std::string WineKeysAround::oneKeyText(Sections sections) const {
  std::string text(kOneKeyFileHeader);
  std::size_t length = text.size();
  for (auto section = sections.first; section != sections.last; ++section) {
    length += kOneKeySectionHeader.size() + section->length;
  }
  text.reserve(length);
  for (auto section = sections.first; section != sections.last; ++section) {
    text += kOneKeySectionHeader;
    text += linesOf(*section);
  }
  return text;
}

}  // namespace sacotin
