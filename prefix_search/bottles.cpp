// Bottles keeps its bottles in its data folder's bottles/, or in the folder that its data.yml
// chooses (custom_bottles_path); a bottle moved elsewhere leaves a placeholder.yml whose Path
// names where it went.
#include "prefix_search/launchers.h"
#include "prefix_search/yaml_value.h"

namespace sacotin {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> yamlFolder(const Home& home, const fs::path& file, std::string_view key) {
  const std::optional<std::string> text = readLauncherFile(file);
  const std::optional<std::string> value = text ? yamlValue(*text, {key}) : std::nullopt;
  return value ? home.expand(*value) : std::nullopt;
}

void addBottles(const Home& home, const fs::path& base, PrefixList& prefixes) {
  fs::path bottles = base / "bottles";
  // Bottles falls back to its own folder when the chosen one is missing.
  if (const auto chosen = yamlFolder(home, base / "data.yml", "custom_bottles_path")) {
    std::error_code error;
    if (fs::is_directory(*chosen, error)) bottles = *chosen;
  }
  for (const fs::path& bottle : subfolders(bottles)) {
    prefixes.push_back(yamlFolder(home, bottle / "placeholder.yml", "Path").value_or(bottle));
  }
}

}  // namespace

void addBottlesPrefixes(const Home& home, PrefixList& prefixes) {
  addBottles(home, home.dataHome / "bottles", prefixes);
  addBottles(home, home.folder / ".var/app/com.usebottles.bottles/data/bottles", prefixes);
}

}  // namespace sacotin
