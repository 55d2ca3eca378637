#include "registry/wine/wine_game_sections.h"

#include <utility>

#include "registry/game_registry.h"
#include "registry/wine/wine_registry_file.h"
#include "registry/wine/wine_section_filter.h"

namespace sacotin {

std::vector<std::u16string_view> gameKeyPaths() {
  return {GameRegistry::kKeyPath, GameRegistry::kWow64KeyPath};
}

std::optional<GameSections> readGameSections(const std::string& userRegPath) {
  WineSectionFilter filter(gameKeyPaths());
  GameSections sections;
  bool first = true;
  const auto take = [&](std::string_view block) {
    if (std::exchange(first, false)) filter.reserveFor(sections.stamp.size);
    filter.append(block);
  };
  if (!readRegularFileInBlocks(userRegPath, WineRegistryFile::kMaxFileSize, sections.stamp, take)) {
    return std::nullopt;
  }
  sections.text = filter.finish();
  return sections;
}

}  // namespace sacotin
