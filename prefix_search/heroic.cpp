// Heroic Games Launcher. Each game's settings (GamesConfig/<app>.json) name its prefix
// ("winePrefix", possibly starting with "~"); the global config.json names the default prefix
// and the folder of per-game prefixes. Prefixes Heroic made itself lie in
// ~/Games/Heroic/Prefixes/<title>/ (from 2.21) or ~/Games/Heroic/Prefixes/default/<title>/.
#include <QJsonObject>

#include "prefix_search/launcher_json.h"
#include "prefix_search/launchers.h"

namespace sacotin {
namespace {

namespace fs = std::filesystem;

void addGameSettingsPrefixes(const Home& home, const fs::path& heroic, PrefixList& prefixes) {
  for (const fs::path& file : filesEndingWith(heroic / "GamesConfig", ".json")) {
    for (const QJsonValue& game : readLauncherJson(file).object()) {
      if (const auto prefix = folderNamedBy(home, game.toObject().value("winePrefix"))) {
        prefixes.push_back(*prefix);
      }
    }
  }
}

void addDefaultPrefixes(const Home& home, const fs::path& heroic, PrefixList& prefixes) {
  const QJsonObject defaults =
      readLauncherJson(heroic / "config.json").object().value("defaultSettings").toObject();
  for (const char* key : {"winePrefix", "defaultWinePrefix"}) {
    if (const auto prefix = folderNamedBy(home, defaults.value(key))) prefixes.push_back(*prefix);
  }
  if (const auto folder = folderNamedBy(home, defaults.value("defaultWinePrefixDir"))) {
    addAll(prefixes, subfolders(*folder));
  }
}

}  // namespace

void addHeroicPrefixes(const Home& home, PrefixList& prefixes) {
  for (const fs::path& heroic :
       {home.configHome / "heroic",
        home.folder / ".var/app/com.heroicgameslauncher.hgl/config/heroic"}) {
    addGameSettingsPrefixes(home, heroic, prefixes);
    addDefaultPrefixes(home, heroic, prefixes);
  }
  const fs::path defaultFolder = home.folder / "Games/Heroic/Prefixes";
  addAll(prefixes, subfolders(defaultFolder));
  addAll(prefixes, subfolders(defaultFolder / "default"));
}

}  // namespace sacotin
