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

CatalogueCache::~CatalogueCache() {
  if (reading_.valid()) reading_.wait();
}

void CatalogueCache::readInBackground() {
  if (!reading_.valid()) reading_ = std::async(std::launch::async, [this] { readNow(); });
}

std::shared_ptr<const Catalogue> CatalogueCache::current() {
  if (reading_.valid()) reading_.get();
  return readNow();
}

std::shared_ptr<const Catalogue> CatalogueCache::readNow() {
  const std::optional<FileStamp> stamp = stampOf(path_);
  if (!stamp) {
    forget();
    return nullptr;
  }
  if (catalogue_ && stamp_ == stamp && !freshBytes_) return catalogue_;

  FileSnapshot read;
  if (!readRegularFile(path_, kMaxFileSize, read)) {
    forget();
    return nullptr;
  }
  const std::string_view bytes = read.bytes.view();
  // A file read while it was fresh may since have changed without its stamp showing it: its
  // bytes are compared instead, which costs far less than building the catalogue again.
  if (!catalogue_ || !freshBytes_ || *freshBytes_ != bytes) {
    catalogue_ = std::make_shared<const Catalogue>(decodeTextFile(bytes, *codePage_));
    ++readCount_;
  }
  // The stamp of what was read: a file changed while it was read differs from it, and is read
  // again at the next load.
  stamp_ = read.stamp;
  if (isRecent(read.stamp)) {
    freshBytes_ = std::string(bytes);
  } else {
    freshBytes_.reset();
  }
  return catalogue_;
}

void CatalogueCache::forget() {
  stamp_.reset();
  catalogue_.reset();
  freshBytes_.reset();
}

}  // namespace sacotin
