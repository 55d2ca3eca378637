#include "catalogue/catalogue_cache.h"

#include <chrono>
#include <string_view>

#include "files/file_snapshot.h"

namespace sacotin {
namespace {

// A file modified this recently may change again within the clock granularity of its file system
// without its stamp changing.
constexpr std::chrono::seconds kRacyWindow{2};

}  // namespace

CatalogueCache::CatalogueCache(std::filesystem::path path,
                               std::shared_ptr<const AnsiCodePage> codePage)
    : path_(std::move(path)), codePage_(std::move(codePage)) {}

bool CatalogueCache::isRecent(const FileStamp& stamp) {
  const std::int64_t windowNs = std::chrono::nanoseconds(kRacyWindow).count();
  const std::int64_t now = stampClockNowNs();
  return now - stamp.modifiedNs <= windowNs || now - stamp.changedNs <= windowNs;
}

void CatalogueCache::readInBackground() {
  if (reading_.valid()) return;
  reading_ = std::async(std::launch::async, [path = path_, codePage = codePage_] {
    return readAgain(path, *codePage, {});
  });
}

std::shared_ptr<const Catalogue> CatalogueCache::current() {
  if (reading_.valid()) read_ = reading_.get();
  read_ = readAgain(path_, *codePage_, std::move(read_));
  return read_.catalogue;
}

CatalogueCache::Read CatalogueCache::readAgain(const std::filesystem::path& path,
                                               const AnsiCodePage& codePage, Read before) {
  const std::optional<FileStamp> stamp = stampOf(path);
  if (!stamp) return {};
  if (before.catalogue && before.stamp == stamp && !before.freshBytes) return before;

  FileSnapshot read;
  if (!readRegularFile(path, kMaxFileSize, read)) return {};
  const std::string_view bytes = read.bytes.view();
  // A file read while it was fresh may since have changed without its stamp showing it: its
  // bytes are compared instead, which costs far less than building the catalogue again.
  Read now;
  if (before.catalogue && before.freshBytes && *before.freshBytes == bytes) {
    now.catalogue = std::move(before.catalogue);
  } else {
    now.catalogue = std::make_shared<const Catalogue>(decodeTextFile(bytes, codePage));
  }
  // The stamp of what was read: a file changed while it was read differs from it, and is read
  // again at the next load.
  now.stamp = read.stamp;
  if (isRecent(read.stamp)) now.freshBytes = std::string(bytes);
  return now;
}

}  // namespace sacotin
