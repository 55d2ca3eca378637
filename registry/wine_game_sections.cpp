#include "registry/wine_game_sections.h"

#include <sys/stat.h>

#include "registry/game_registry.h"
#include "registry/wine_registry_file.h"
#include "registry/wine_section_filter.h"

namespace sacotin {

std::vector<std::u16string_view> gameKeyPaths() {
  return {GameRegistry::kKeyPath, GameRegistry::kWow64KeyPath};
}

std::optional<GameSections> readGameSections(const std::string& userRegPath) {
  WineSectionFilter filter(gameKeyPaths());
  if (struct stat info{}; ::stat(userRegPath.c_str(), &info) == 0 && info.st_size > 0) {
    filter.reserveFor(static_cast<std::size_t>(info.st_size));
  }
  GameSections sections;
  if (!readRegularFileInBlocks(userRegPath, WineRegistryFile::kMaxFileSize, sections.stamp,
                               [&filter](std::string_view block) { filter.append(block); })) {
    return std::nullopt;
  }
  sections.text = filter.finish();
  return sections;
}

}  // namespace sacotin
