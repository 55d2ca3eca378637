#include "catalogue/catalogue_cache.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

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

std::optional<std::string> CatalogueCache::readBytes(const std::filesystem::path& path) {
  // Only a regular file is opened: a FIFO or a device would block or never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error) bytes.reserve(static_cast<std::size_t>(size));
  // Read in blocks up to the end, whatever the size was a moment ago.
  std::vector<char> block(64 * 1024);
  while (file.read(block.data(), static_cast<std::streamsize>(block.size())) || file.gcount() > 0) {
    bytes.append(block.data(), static_cast<std::size_t>(file.gcount()));
  }
  if (file.bad()) return std::nullopt;
  return bytes;
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

  std::optional<std::string> bytes = readBytes(path_);
  if (!bytes) {
    forget();
    return nullptr;
  }
  // A file read while it was fresh may since have changed without its stamp showing it: its
  // bytes are compared instead, which costs far less than building the catalogue again.
  if (!catalogue_ || !freshBytes_ || *freshBytes_ != *bytes) {
    catalogue_ = std::make_shared<const Catalogue>(
        Catalogue(splitCatalogueLines(decodeTextFile(*bytes, *codePage_))));
    ++readCount_;
  }
  // A file that changed while it was read gets no stamp, so the next load reads it again.
  stamp_ = stampOf(path_) == stamp ? stamp : std::nullopt;
  if (isRecent(*stamp)) {
    freshBytes_ = std::move(bytes);
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
