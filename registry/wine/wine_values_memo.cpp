#include "registry/wine/wine_values_memo.h"

#include <utility>

namespace sacotin {

std::optional<WineKeyValues> WineValuesMemo::find(const std::u16string& path, Lines& lines) {
  auto found = current_.find(path);
  if (found == current_.end()) {
    const auto before = previous_.find(path);
    if (before == previous_.end()) return std::nullopt;
    found = current_.insert(previous_.extract(before)).position;
  }
  Entry& entry = found->second;
  if (entry.lines.sections != lines.sections) return std::nullopt;
  entry.lines = std::move(lines);
  return entry.values;
}

void WineValuesMemo::keep(std::u16string path, Lines lines, WineKeyValues values) {
  current_.insert_or_assign(std::move(path), Entry{std::move(lines), std::move(values)});
}

void WineValuesMemo::nextVersion() {
  previous_ = std::move(current_);
  current_.clear();
}

}  // namespace sacotin
