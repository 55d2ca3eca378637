// The finished tree's subkeys and values put in wineserver's order.
#include <algorithm>

#include "registry/wine/wine_registry_parser.h"

namespace sacotin {

WineRegistryFile WineRegistryParser::finish() {
  slots_ = std::vector<KeyId>();
  internedNames_.clear();
  orderSubkeys();
  orderValues();
  // A key's sections are found by key when its values are asked for, in file order.
  std::stable_sort(deferred_.begin(), deferred_.end(),
                   [](const auto& a, const auto& b) { return a.key < b.key; });
  return std::move(file_);
}

void WineRegistryParser::orderSubkeys() {
  auto& keys = file_.keys_;
  auto& children = file_.children_;
  for (KeyId id = 1; id < keys.size(); ++id) ++keys[keys[id].parent].childCount;
  std::uint32_t begin = 0;
  for (auto& key : keys) {
    key.childBegin = begin;
    begin += key.childCount;
    key.childCount = 0;
  }
  children.resize(begin);
  for (KeyId id = 1; id < keys.size(); ++id) {
    auto& parent = keys[keys[id].parent];
    children[parent.childBegin + parent.childCount++] = id;
  }
  const auto byName = [this](KeyId a, KeyId b) {
    return WineRegistryFile::compareNames(storedName(a), storedName(b)) < 0;
  };
  for (const auto& key : keys) {
    const auto first = children.begin() + key.childBegin;
    const auto last = first + key.childCount;
    if (!std::is_sorted(first, last, byName)) std::sort(first, last, byName);
  }
}

void WineRegistryParser::orderValues() {
  auto& values = file_.values_;
  const auto byKey = [](const WineRegistryFile::Value& a, const WineRegistryFile::Value& b) {
    return a.key < b.key;
  };
  if (!std::is_sorted(values.begin(), values.end(), byKey)) {
    std::stable_sort(values.begin(), values.end(), byKey);
  }
  const auto compare = [this](const WineRegistryFile::Value& a, const WineRegistryFile::Value& b) {
    return WineRegistryFile::compareNames(file_.valueName(a), file_.valueName(b));
  };
  std::size_t out = 0;
  for (std::size_t first = 0; first < values.size();) {
    std::size_t last = first;
    while (last < values.size() && values[last].key == values[first].key) ++last;
    const auto groupBegin = values.begin() + static_cast<std::ptrdiff_t>(first);
    const auto groupEnd = values.begin() + static_cast<std::ptrdiff_t>(last);
    bool strictlyOrdered = true;
    for (std::size_t i = first + 1; i < last && strictlyOrdered; ++i) {
      strictlyOrdered = compare(values[i - 1], values[i]) < 0;
    }
    if (!strictlyOrdered) {
      std::stable_sort(groupBegin, groupEnd,
                       [&compare](const auto& a, const auto& b) { return compare(a, b) < 0; });
    }
    auto& key = file_.keys_[values[first].key];
    key.valueBegin = static_cast<std::uint32_t>(out);
    if (strictlyOrdered) {  // no name twice: nothing to merge
      for (std::size_t i = first; i < last; ++i) values[out++] = values[i];
      key.valueCount = static_cast<std::uint32_t>(out - key.valueBegin);
      first = last;
      continue;
    }
    for (std::size_t i = first; i < last;) {
      std::size_t j = i + 1;
      while (j < last && compare(values[i], values[j]) == 0) ++j;
      WineRegistryFile::Value merged = values[j - 1];
      merged.nameOffset = values[i].nameOffset;
      merged.nameLength = values[i].nameLength;
      values[out++] = merged;
      i = j;
    }
    key.valueCount = static_cast<std::uint32_t>(out - key.valueBegin);
    first = last;
  }
  values.resize(out);
  if (values.capacity() > out + out / 4) values.shrink_to_fit();
}

}  // namespace sacotin
