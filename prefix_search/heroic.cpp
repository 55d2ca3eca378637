// Heroic Games Launcher. Each game's settings (GamesConfig/<app>.json) name its prefix
// ("winePrefix", possibly starting with "~"); the global config.json names the default prefix
// and the folder of per-game prefixes. Prefixes Heroic made itself lie in
// ~/Games/Heroic/Prefixes/<title>/ (from 2.21) or ~/Games/Heroic/Prefixes/default/<title>/.
#include <QByteArray>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include "prefix_search/launchers.h"

namespace sacotin {
namespace {

namespace fs = std::filesystem;

std::optional<QJsonObject> jsonObject(const fs::path& file) {
  const std::optional<std::string> text = readLauncherFile(file);
  if (!text) return std::nullopt;
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray::fromRawData(text->data(), qsizetype(text->size())));
  if (!document.isObject()) return std::nullopt;
  return document.object();
}

// A folder named by a JSON string, in the file system's encoding.
std::optional<fs::path> folderOf(const Home& home, const QJsonValue& value) {
  if (!value.isString()) return std::nullopt;
  return home.expand(QFile::encodeName(value.toString()).toStdString());
}

void addGameSettingsPrefixes(const Home& home, const fs::path& heroic, PrefixList& prefixes) {
  for (const fs::path& file : filesEndingWith(heroic / "GamesConfig", ".json")) {
    const std::optional<QJsonObject> settings = jsonObject(file);
    if (!settings) continue;
    for (const QJsonValue& game : *settings) {
      if (const auto prefix = folderOf(home, game.toObject().value("winePrefix"))) {
        prefixes.push_back(*prefix);
      }
    }
  }
}

void addDefaultPrefixes(const Home& home, const fs::path& heroic, PrefixList& prefixes) {
  const std::optional<QJsonObject> config = jsonObject(heroic / "config.json");
  if (!config) return;
  const QJsonObject defaults = config->value("defaultSettings").toObject();
  for (const char* key : {"winePrefix", "defaultWinePrefix"}) {
    if (const auto prefix = folderOf(home, defaults.value(key))) prefixes.push_back(*prefix);
  }
  if (const auto folder = folderOf(home, defaults.value("defaultWinePrefixDir"))) {
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
