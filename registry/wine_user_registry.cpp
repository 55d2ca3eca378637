#include "registry/wine_user_registry.h"

#include <algorithm>
#include <utility>

#include "registry/game_registry.h"
#include "registry/wine_open_key.h"

namespace sacotin {
namespace {

// Whether a path names the game's key or a key below it (in either of its two places), walked
// as resolveWinePath walks it: such keys are answered from the part of the file around the game's
// key.
bool isAtOrBelowGameKey(std::u16string_view path) {
  const auto startsWithKey = [path](std::u16string_view key) {
    std::size_t p = 0;
    std::size_t k = 0;
    while (k < key.size()) {
      const std::size_t keyEnd = std::min(key.find(u'\\', k), key.size());
      const std::size_t pathEnd = std::min(path.find(u'\\', p), path.size());
      if (p >= path.size() || WineRegistryFile::compareNames(path.substr(p, pathEnd - p),
                                                             key.substr(k, keyEnd - k)) != 0) {
        return false;
      }
      k = keyEnd + 1;
      p = pathEnd;
      while (p < path.size() && path[p] == u'\\') ++p;
    }
    return true;
  };
  return !path.empty() && path[0] != u'\\' &&
         (startsWithKey(GameRegistry::kKeyPath) || startsWithKey(GameRegistry::kWow64KeyPath));
}

}  // namespace

WineUserRegistry::WineUserRegistry(std::string userRegPath, std::unique_ptr<AnsiCodePage> codePage,
                                   std::optional<GameSections> alreadyRead)
    : path_(std::move(userRegPath)),
      codePage_(std::move(codePage)),
      alreadyRead_(std::move(alreadyRead)) {}

std::unique_ptr<OpenKey> WineUserRegistry::openKey(std::u16string_view path) {
  auto file = currentFile(isAtOrBelowGameKey(path) ? gameKeys_ : wholeFile_);
  if (!file || !file->isRegistry()) return nullptr;
  const auto key = resolveWinePath(*file, path);
  if (!key) return nullptr;
  return openWineKey(std::move(file), *key, codePage_);
}

std::shared_ptr<const WineRegistryFile> WineUserRegistry::currentFile(ParsedFile& parsed) {
  const std::optional<FileStamp> stamp = path_.empty() ? std::nullopt : stampOf(path_);
  if (!stamp) {
    gameKeys_.file.reset();
    wholeFile_.file.reset();
    return nullptr;
  }
  if (parsed.file && *stamp == parsed.stamp) return parsed.file;
  parsed.file = load(parsed, *stamp);
  return parsed.file;
}

std::shared_ptr<const WineRegistryFile> WineUserRegistry::load(ParsedFile& parsed,
                                                               const FileStamp& stamp) {
  if (&parsed == &gameKeys_) {
    // The sections the prefix search read are used once, while the file is still that version.
    std::optional<GameSections> sections = std::exchange(alreadyRead_, std::nullopt);
    if (!sections || !(sections->stamp == stamp)) sections = readGameSections(path_);
    if (!sections) return nullptr;
    parsed.stamp = sections->stamp;
    ++parseCount_;
    return std::make_shared<const WineRegistryFile>(
        WineRegistryFile::parseAround(std::move(sections->text), gameKeyPaths()));
  }
  FileSnapshot snapshot;
  if (!readRegularFile(path_, WineRegistryFile::kMaxFileSize, snapshot)) return nullptr;
  // The stamp of what was actually read, so that a replacement racing with this load is
  // picked up by the next open.
  parsed.stamp = snapshot.stamp;
  ++parseCount_;
  return std::make_shared<const WineRegistryFile>(WineRegistryFile::parse(snapshot.bytes.view()));
}

}  // namespace sacotin
