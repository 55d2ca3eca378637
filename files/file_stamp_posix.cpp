#include <sys/stat.h>

#include <chrono>

#include "files/file_stamp.h"

namespace sacotin {
namespace {

std::int64_t nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

}  // namespace

FileStamp stampOf(const struct stat& status) {
  FileStamp stamp;
  stamp.size = static_cast<std::uintmax_t>(status.st_size);
  stamp.modifiedNs = nanoseconds(status.st_mtim);
  stamp.changedNs = nanoseconds(status.st_ctim);
  stamp.device = static_cast<std::uint64_t>(status.st_dev);
  stamp.inode = static_cast<std::uint64_t>(status.st_ino);
  return stamp;
}

std::optional<FileStamp> stampOf(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return stampOf(status);
}

std::int64_t stampClockNowNs() {
  const auto now = std::chrono::system_clock::now();
  return std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
}

}  // namespace sacotin
