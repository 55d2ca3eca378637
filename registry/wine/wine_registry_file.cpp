// The key tree of a user.reg once parsed: its queries, and the values parsed on demand.
#include "registry/wine/wine_registry_file.h"

#include <QChar>
#include <algorithm>

#include "registry/wine/wine_registry_parser.h"
#include "registry/wine/wine_values_memo.h"

namespace sacotin {

WineRegistryFile::WineRegistryFile() { keys_.emplace_back(); }

WineRegistryFile WineRegistryFile::parse(std::string_view text) {
  return WineRegistryParser(text).run();
}

WineRegistryFile WineRegistryFile::parseAround(std::string&& text,
                                               const std::vector<std::u16string_view>& keys,
                                               std::shared_ptr<WineValuesMemo> memo) {
  WineRegistryFile file = WineRegistryParser::aroundKeepingText(text, keys);
  file.deferredText_ = std::make_shared<std::string>(std::move(text));
  file.valuesDeferred_ = true;
  file.memo_ = std::move(memo);
  return file;
}

WineRegistryFile WineRegistryFile::parseAround(std::string_view text,
                                               const std::vector<std::u16string_view>& keys) {
  WineRegistryFile file = WineRegistryParser(text, keys).run();
  file.valuesDeferred_ = true;
  return file;
}

const WineRegistryFile::LoadedValues* WineRegistryFile::valuesOf(KeyId key) const {
  if (const auto found = loaded_.find(key); found != loaded_.end()) return &found->second;
  const Sections sections = sectionsOf(key);
  if (sections.first == sections.last) return nullptr;
  std::u16string path;
  WineValuesMemo::Lines lines;
  if (memo_) {
    path = pathOf(key);
    lines.text = deferredText_;
    for (auto section = sections.first; section != sections.last; ++section) {
      lines.sections.push_back(linesOf(*section));
    }
    if (std::optional<LoadedValues> kept = memo_->find(path, lines)) {
      return &loaded_.emplace(key, std::move(*kept)).first->second;
    }
  }
  auto values = std::make_shared<const WineRegistryFile>(
      WineRegistryParser::valuesOfOneKey(oneKeyText(sections)));
  const LoadedValues loaded{values, values->findSubkey(kRoot, kOneKeyName).value_or(kRoot)};
  if (memo_) memo_->keep(std::move(path), std::move(lines), loaded);
  return &loaded_.emplace(key, loaded).first->second;
}

WineRegistryFile::Sections WineRegistryFile::sectionsOf(KeyId key) const {
  struct ByKey {
    bool operator()(const DeferredSection& section, KeyId id) const { return section.key < id; }
    bool operator()(KeyId id, const DeferredSection& section) const { return id < section.key; }
  };
  const auto [first, last] = std::equal_range(deferred_.begin(), deferred_.end(), key, ByKey{});
  return {first, last};
}

std::string_view WineRegistryFile::linesOf(const DeferredSection& section) const {
  return std::string_view(*deferredText_).substr(section.offset, section.length);
}

std::string WineRegistryFile::oneKeyText(Sections sections) const {
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

std::u16string WineRegistryFile::pathOf(KeyId key) const {
  std::u16string path;
  for (KeyId k = key; k != kRoot; k = keys_[k].parent) {
    std::u16string_view name = keyName(k);
    path.insert(path.begin(), name.begin(), name.end());
    if (keys_[k].parent != kRoot) path.insert(path.begin(), u'\\');
  }
  return path;
}

std::size_t WineRegistryFile::valueCount(KeyId key) const {
  if (!valuesDeferred_) return keys_[key].valueCount;
  const LoadedValues* loaded = valuesOf(key);
  return loaded ? loaded->file->valueCount(loaded->key) : 0;
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

WineValue WineRegistryFile::value(KeyId key, std::size_t index) const {
  if (valuesDeferred_) {
    const LoadedValues* loaded = valuesOf(key);
    return loaded->file->value(loaded->key, index);
  }
  const Value& v = values_[keys_[key].valueBegin + index];
  return WineValue{valueName(v), v.type,
                   std::string_view(data_).substr(v.dataOffset, v.dataLength)};
}

std::optional<WineValue> WineRegistryFile::findValue(KeyId key, std::u16string_view name) const {
  if (valuesDeferred_) {
    const LoadedValues* loaded = valuesOf(key);
    return loaded ? loaded->file->findValue(loaded->key, name) : std::nullopt;
  }
  const auto first = values_.begin() + keys_[key].valueBegin;
  const auto last = first + keys_[key].valueCount;
  const auto found =
      std::lower_bound(first, last, name, [this](const Value& v, std::u16string_view wanted) {
        return compareNames(valueName(v), wanted) < 0;
      });
  if (found == last || compareNames(valueName(*found), name) != 0) return std::nullopt;
  return value(key, static_cast<std::size_t>(found - values_.begin()) - keys_[key].valueBegin);
}

}  // namespace sacotin
