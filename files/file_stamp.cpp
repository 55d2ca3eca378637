#include "files/file_stamp.h"

#include <chrono>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace sacotin {

#ifndef _WIN32
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
#endif

std::optional<FileStamp> stampOf(const std::filesystem::path& path) {
#ifndef _WIN32
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  return stampOf(status);
#else
  // Windows: size and last write time (100 ns resolution) tell the versions apart.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  FileStamp stamp;
  stamp.size = std::filesystem::file_size(path, error);
  if (error) return std::nullopt;
  const auto written = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  stamp.modifiedNs =
      std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count();
  return stamp;
#endif
}

std::int64_t stampClockNowNs() {
#ifndef _WIN32
  const auto now = std::chrono::system_clock::now();
#else
  const auto now = std::filesystem::file_time_type::clock::now();
#endif
  return std::chrono::duration_cast<std::chrono::nanoseconds>(now.time_since_epoch()).count();
}

}  // namespace sacotin
