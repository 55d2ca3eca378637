#pragma once

#include <QJsonDocument>
#include <QJsonValue>
#include <filesystem>
#include <optional>

#include "prefix_search/home.h"

namespace sacotin {

// A launcher's JSON file (Heroic's settings, Faugus's games), read as readLauncherFile reads
// files; a null document when it can't be read or is no JSON.
QJsonDocument readLauncherJson(const std::filesystem::path& file);

// The folder a JSON string of a launcher's file names, in the file system's encoding and
// expanded as Home::expand expands it; none for anything but such a string.
std::optional<std::filesystem::path> folderNamedBy(const Home& home, const QJsonValue& value);

}  // namespace sacotin
