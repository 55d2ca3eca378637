#include "registry/wine_user_registry.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "registry/game_registry.h"

namespace sacotin {
namespace {

using KeyId = WineRegistryFile::KeyId;

class WineOpenKey final : public OpenKey {
 public:
  WineOpenKey(std::shared_ptr<const WineRegistryFile> file, KeyId key,
              std::shared_ptr<const AnsiCodePage> codePage)
      : file_(std::move(file)), key_(key), codePage_(std::move(codePage)) {}

  void forEachSubkey(const std::function<void(const std::u16string& name)>& visit) override {
    const std::size_t count = file_->subkeyCount(key_);
    for (std::size_t i = 0; i < count; ++i) {
      visit(std::u16string(file_->keyName(file_->subkey(key_, i))));
    }
  }

  void forEachValue(const std::function<void(const std::u16string& name, std::string_view data)>&
                        visit) override {
    const std::size_t count = file_->valueCount(key_);
    std::u16string name;  // one buffer for every name, not a string per value
    for (std::size_t i = 0; i < count; ++i) {
      const WineValue value = file_->value(key_, i);
      const std::string data = ansiValueData(*codePage_, value.type, value.data);
      name.assign(value.name);
      visit(name, data);
    }
  }

 private:
  std::shared_ptr<const WineRegistryFile> file_;
  KeyId key_;
  std::shared_ptr<const AnsiCodePage> codePage_;
};

// Walks a path the way wineserver does: one component up to the next backslash, then the whole
// run of backslashes after it is skipped.
std::optional<KeyId> resolve(const WineRegistryFile& file, std::u16string_view path) {
  KeyId key = WineRegistryFile::kRoot;
  if (path.empty()) return key;
  if (path[0] == u'\\') return std::nullopt;
  std::size_t start = 0;
  while (start < path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    const std::u16string_view component = path.substr(start, end - start);
    if (component.size() > WineRegistryFile::kMaxKeyNameLength) return std::nullopt;
    const auto child = file.findSubkey(key, component);
    // A symbolic link points outside this file (usually into HKEY_LOCAL_MACHINE).
    if (!child || file.isLink(*child)) return std::nullopt;
    key = *child;
    start = end;
    while (start < path.size() && path[start] == u'\\') ++start;
  }
  return key;
}

// Whether a path names the game's key or a key below it (in either of its two places), walked
// as resolve() walks it: such keys are answered from the part of the file around the game's key.
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
  const auto key = resolve(*file, path);
  if (!key) return nullptr;
  return std::make_unique<WineOpenKey>(std::move(file), *key, codePage_);
}

std::shared_ptr<const WineRegistryFile> WineUserRegistry::currentFile(ParsedFile& parsed) {
  struct stat info {};
  if (path_.empty() || ::stat(path_.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    gameKeys_.file.reset();
    wholeFile_.file.reset();
    return nullptr;
  }
  const FileStamp stamp = stampOf(info);
  if (parsed.file && stamp == parsed.stamp) return parsed.file;
  parsed.file = load(parsed, stamp);
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

std::string ansiValueData(const AnsiCodePage& codePage, std::uint32_t type, std::string_view raw) {
  if (type != kRegSz && type != kRegExpandSz && type != kRegMultiSz) return std::string(raw);
  std::u16string units(raw.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  }
  return codePage.encode(units);
}

}  // namespace sacotin
