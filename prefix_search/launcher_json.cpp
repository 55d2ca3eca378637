#include "prefix_search/launcher_json.h"

#include <QByteArray>
#include <QFile>
#include <string>

namespace sacotin {

QJsonDocument readLauncherJson(const std::filesystem::path& file) {
  const std::optional<std::string> text = readLauncherFile(file);
  if (!text) return QJsonDocument();
  return QJsonDocument::fromJson(QByteArray::fromRawData(text->data(), qsizetype(text->size())));
}

std::optional<std::filesystem::path> folderNamedBy(const Home& home, const QJsonValue& value) {
  if (!value.isString()) return std::nullopt;
  return home.expand(QFile::encodeName(value.toString()).toStdString());
}

}  // namespace sacotin
