#include "catalogue/catalogue_cache.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace sacotin {
namespace {

// A file modified this recently may change again within the clock granularity of its file system
// without its stamp changing.
constexpr std::chrono::seconds kRacyWindow{2};

#ifndef _WIN32
std::int64_t nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}
#endif

// Now, on the clock the stamps' times are counted on.
std::int64_t nowNs() {
#ifndef _WIN32
  const auto now = std::chrono::system_clock::now();
#else
  const auto now = std::filesystem::file_time_type::clock::now();
#endif
  return std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
}

}  // namespace

CatalogueCache::CatalogueCache(std::filesystem::path path,
                               std::shared_ptr<const AnsiCodePage> codePage)
    : path_(std::move(path)), codePage_(std::move(codePage)) {}

std::optional<CatalogueCache::FileStamp> CatalogueCache::stampOf(
    const std::filesystem::path& path) {
  FileStamp stamp;
#ifndef _WIN32
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  stamp.size = static_cast<std::uintmax_t>(status.st_size);
  stamp.modifiedNs = nanoseconds(status.st_mtim);
  stamp.changedNs = nanoseconds(status.st_ctim);
  stamp.device = static_cast<std::uint64_t>(status.st_dev);
  stamp.inode = static_cast<std::uint64_t>(status.st_ino);
#else
  // Windows: size and last write time (100 ns resolution) tell the versions apart.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  stamp.size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  const auto written = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  stamp.modifiedNs =
      std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count();
#endif
  return stamp;
}

bool CatalogueCache::isRecent(const FileStamp& stamp) {
  const std::int64_t windowNs = std::chrono::nanoseconds(kRacyWindow).count();
  const std::int64_t now = nowNs();
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
