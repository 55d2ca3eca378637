#include "registry/wine/wine_user_registry.h"

#include <utility>

#include "registry/wine/wine_open_key.h"
#include "registry/wine/wine_wanted_keys.h"

namespace sacotin {
namespace {

// Whether a path names the game's key or a key below it (in either of its two places): such
// keys are answered from the part of the file around the game's key.
bool isAtOrBelowGameKey(std::u16string_view path) {
  static const WantedKeys gameKeys(gameKeyPaths());
  return gameKeys.placeOfPath(path).atOrBelow;
}

}  // namespace

WineUserRegistry::WineUserRegistry(std::string userRegPath, std::unique_ptr<AnsiCodePage> codePage,
                                   std::optional<GameSections> alreadyRead)
    : path_(std::move(userRegPath)),
      codePage_(std::move(codePage)),
      valuesMemo_(std::make_shared<WineValuesMemo>()),
      alreadyRead_(std::move(alreadyRead)) {}

std::unique_ptr<OpenKey> WineUserRegistry::openKey(std::u16string_view path) {
  if (isAtOrBelowGameKey(path)) {
    std::shared_ptr<WineKeysAround> keys = gameKeysUpToDate();
    if (!keys || !keys->tree().isRegistry()) return nullptr;
    const auto key = resolveWinePath(keys->tree(), path);
    return key ? openWineKey(std::move(keys), *key, codePage_) : nullptr;
  }
  std::shared_ptr<const WineRegistryFile> file = wholeFileUpToDate();
  if (!file || !file->isRegistry()) return nullptr;
  const auto key = resolveWinePath(*file, path);
  return key ? openWineKey(std::move(file), *key, codePage_) : nullptr;
}

void WineUserRegistry::refresh() { gameKeysUpToDate(); }

std::optional<FileStamp> WineUserRegistry::currentStamp() {
  std::optional<FileStamp> stamp = path_.empty() ? std::nullopt : stampOf(path_);
  if (!stamp) {
    gameKeys_ = {};
    wholeFile_ = {};
  }
  return stamp;
}

std::shared_ptr<WineKeysAround> WineUserRegistry::gameKeysUpToDate() {
  const std::optional<FileStamp> stamp = currentStamp();
  if (!stamp) return nullptr;
  if (!gameKeys_.tree || !(gameKeys_.stamp == *stamp)) gameKeys_ = loadGameKeys(*stamp);
  return gameKeys_.tree;
}

std::shared_ptr<const WineRegistryFile> WineUserRegistry::wholeFileUpToDate() {
  const std::optional<FileStamp> stamp = currentStamp();
  if (!stamp) return nullptr;
  if (!wholeFile_.tree || !(wholeFile_.stamp == *stamp)) wholeFile_ = loadWholeFile();
  return wholeFile_.tree;
}

WineUserRegistry::Parsed<WineKeysAround> WineUserRegistry::loadGameKeys(const FileStamp& stamp) {
  // The sections the prefix search read are used once, while the file is still that version.
  std::optional<GameSections> sections = std::exchange(alreadyRead_, std::nullopt);
  if (!sections || !(sections->stamp == stamp)) sections = readGameSections(path_);
  if (!sections) return {};
  ++parseCount_;
  valuesMemo_->nextVersion();
  return {std::make_shared<WineKeysAround>(std::move(sections->text), gameKeyPaths(), valuesMemo_),
          sections->stamp};
}

WineUserRegistry::Parsed<const WineRegistryFile> WineUserRegistry::loadWholeFile() {
  FileSnapshot snapshot;
  if (!readRegularFile(path_, WineRegistryFile::kMaxFileSize, snapshot)) return {};
  ++parseCount_;
  // The stamp of what was actually read, so that a replacement racing with this load is
  // picked up by the next open.
  return {std::make_shared<const WineRegistryFile>(parseWineRegistry(snapshot.bytes.view())),
          snapshot.stamp};
}

}  // namespace sacotin
