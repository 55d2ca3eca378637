#include "registry/wine_user_registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "registry/game_registry.h"
#include "registry/wine_prefix_search.h"

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

// A file's bytes, in a buffer that is not cleared before it is filled (a user.reg can be tens of
// megabytes).
class FileBytes {
 public:
  std::string_view view() const { return std::string_view(data_.get(), size_); }

  // Reads to the end of the file, or to one byte past the largest file the loader takes. One
  // spare byte lets the read that meets the end of a file of the expected size do so without
  // growing (and so copying) the buffer.
  bool readAll(int fd, std::size_t expectedSize) {
    constexpr std::size_t kLimit = WineRegistryFile::kMaxFileSize + 1;
    reserve(std::min(expectedSize, kLimit) + 1);
    while (size_ < kLimit) {
      if (size_ == capacity_) reserve(std::min(capacity_ + capacity_ / 2 + 65536, kLimit));
      const ssize_t got = ::read(fd, data_.get() + size_, capacity_ - size_);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return false;
      if (got == 0) break;
      size_ += static_cast<std::size_t>(got);
    }
    size_ = std::min(size_, kLimit);
    return true;
  }

 private:
  void reserve(std::size_t capacity) {
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
    data_ = std::move(grown);
    capacity_ = capacity;
  }

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

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

WineUserRegistry::WineUserRegistry(std::string userRegPath, std::unique_ptr<AnsiCodePage> codePage)
    : path_(std::move(userRegPath)), codePage_(std::move(codePage)) {}

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
  const FileIdentity identity{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec,
                              info.st_mtim.tv_nsec};
  if (parsed.file && identity == parsed.identity) return parsed.file;
  parsed.file = load(parsed);
  return parsed.file;
}

std::shared_ptr<const WineRegistryFile> WineUserRegistry::load(ParsedFile& parsed) {
  // O_NONBLOCK: should the path have become a FIFO since the stat, opening it must not wait.
  const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  FileBytes bytes;
  // A file too large to be a user.reg is not read at all; it loads as no registry.
  const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                  (static_cast<std::uintmax_t>(info.st_size) > WineRegistryFile::kMaxFileSize ||
                   bytes.readAll(fd, static_cast<std::size_t>(info.st_size)));
  ::close(fd);
  if (!ok) return nullptr;
  // The identity of what was actually read, so that a replacement racing with this load is
  // picked up by the next open.
  parsed.identity = FileIdentity{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec,
                                 info.st_mtim.tv_nsec};
  ++parseCount_;
  if (&parsed == &gameKeys_) {
    return std::make_shared<const WineRegistryFile>(WineRegistryFile::parseAround(
        bytes.view(), {GameRegistry::kKeyPath, GameRegistry::kWow64KeyPath}));
  }
  return std::make_shared<const WineRegistryFile>(WineRegistryFile::parse(bytes.view()));
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

std::unique_ptr<RegistryBackend> makeCurrentUserRegistry() {
  return std::make_unique<WineUserRegistry>(findGameUserReg(), systemAnsiCodePage());
}

}  // namespace sacotin
