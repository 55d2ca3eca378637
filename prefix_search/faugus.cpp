// Faugus Launcher keeps its games in games.json, a JSON array of objects whose "prefix" names
// the game's prefix: in its data folder from 2.0, in its configuration folder before. Prefixes
// it made itself lie in ~/Faugus/<title>/.
#include <QJsonArray>
#include <QJsonObject>

#include "prefix_search/launcher_json.h"
#include "prefix_search/launchers.h"

namespace sacotin {

void addFaugusPrefixes(const Home& home, PrefixList& prefixes) {
  for (const std::filesystem::path& games : {home.dataHome / "faugus-launcher/games.json",
                                             home.configHome / "faugus-launcher/games.json"}) {
    for (const QJsonValue& game : readLauncherJson(games).array()) {
      if (const auto folder = folderNamedBy(home, game.toObject().value("prefix"))) {
        prefixes.push_back(*folder);
      }
    }
  }
  addAll(prefixes, subfolders(home.folder / "Faugus"));
}

}  // namespace sacotin
