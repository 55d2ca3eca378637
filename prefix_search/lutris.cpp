// Lutris and umu. Lutris keeps one YAML file per game, written by PyYAML, whose "game" section
// names the game's prefix; its installers and umu put prefixes in ~/Games/<game>/ and
// ~/Games/<service>/<game>/ (umu: ~/Games/umu/<id>/).
#include "prefix_search/launchers.h"
#include "prefix_search/yaml_value.h"

namespace sacotin {
namespace {

namespace fs = std::filesystem;

void addGameFilePrefixes(const Home& home, const fs::path& gamesFolder, PrefixList& prefixes) {
  for (const fs::path& file : filesEndingWith(gamesFolder, ".yml")) {
    const std::optional<std::string> text = readLauncherFile(file);
    if (!text) continue;
    const std::optional<std::string> prefix = yamlValue(*text, {"game", "prefix"});
    if (const auto folder = prefix ? home.expand(*prefix) : std::nullopt) {
      prefixes.push_back(*folder);
    }
  }
}

// The folders one level below those given, at most kMaxFoldersPerPlace in all.
PrefixList nestedSubfolders(const PrefixList& folders) {
  PrefixList nested;
  for (const fs::path& folder : folders) {
    for (fs::path& inner : subfolders(folder)) {
      if (nested.size() >= kMaxFoldersPerPlace) return nested;
      nested.push_back(std::move(inner));
    }
  }
  return nested;
}

}  // namespace

void addLutrisPrefixes(const Home& home, PrefixList& prefixes) {
  const PrefixList games = subfolders(home.folder / "Games");
  addAll(prefixes, games);
  addAll(prefixes, nestedSubfolders(games));
  // Lutris keeps its game files in its configuration folder when that exists (older installs),
  // else in its data folder; the flatpak in its own copies of both.
  const fs::path flatpak = home.folder / ".var/app/net.lutris.Lutris";
  for (const fs::path& gameFiles :
       {home.configHome / "lutris/games", home.dataHome / "lutris/games",
        flatpak / "config/lutris/games", flatpak / "data/lutris/games"}) {
    addGameFilePrefixes(home, gameFiles, prefixes);
  }
}

}  // namespace sacotin
