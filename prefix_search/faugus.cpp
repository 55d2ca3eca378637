// Faugus Launcher keeps its games in games.json, a JSON array of objects whose "prefix" names
// the game's prefix: in its data folder from 2.0, in its configuration folder before. Prefixes
// it made itself lie in ~/Faugus/<title>/.
#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "prefix_search/launchers.h"

namespace sacotin {

void addFaugusPrefixes(const Home& home, PrefixList& prefixes) {
  for (const std::filesystem::path& games : {home.dataHome / "faugus-launcher/games.json",
                                             home.configHome / "faugus-launcher/games.json"}) {
    const std::optional<std::string> text = readLauncherFile(games);
    if (!text) continue;
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(text->data(), qsizetype(text->size())));
    for (const QJsonValue& game : document.array()) {
      const QJsonValue prefix = game.toObject().value("prefix");
      if (!prefix.isString()) continue;
      if (const auto folder = home.expand(QFile::encodeName(prefix.toString()).toStdString())) {
        prefixes.push_back(*folder);
      }
    }
  }
  addAll(prefixes, subfolders(home.folder / "Faugus"));
}

}  // namespace sacotin
