#include "registry/wine/wine_values_memo.h"

#include <utility>

namespace sacotin {

std::optional<WineValuesMemo::Values> WineValuesMemo::find(
    const std::u16string& path, const std::function<bool(std::string_view kept)>& sameText) {
  if (const auto found = current_.find(path); found != current_.end()) {
    if (sameText(found->second.sectionsText)) return found->second.values;
    return std::nullopt;
  }
  const auto found = previous_.find(path);
  if (found == previous_.end() || !sameText(found->second.sectionsText)) return std::nullopt;
  // Still the same in this version: kept for the next one too.
  const Values values = found->second.values;
  current_.insert(previous_.extract(found));
  return values;
}

void WineValuesMemo::keep(std::u16string path, std::string sectionsText, Values values) {
  current_.insert_or_assign(std::move(path), Entry{std::move(sectionsText), std::move(values)});
}

void WineValuesMemo::nextVersion() {
  previous_ = std::move(current_);
  current_.clear();
}

}  // namespace sacotin
