#include <windows.h>

#include "files/file_stamp.h"

namespace sacotin {
namespace {

// A file time (100 ns units since 1601) in nanoseconds.
std::int64_t nanoseconds(const FILETIME& time) {
  const auto units = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  return static_cast<std::int64_t>(units) * 100;
}

std::uintmax_t sizeOf(DWORD high, DWORD low) {
  return (static_cast<std::uintmax_t>(high) << 32) | low;
}

}  // namespace

// Windows: the size and the last write time tell the versions apart.
FileStamp stampOf(const struct _BY_HANDLE_FILE_INFORMATION& information) {
  FileStamp stamp;
  stamp.size = sizeOf(information.nFileSizeHigh, information.nFileSizeLow);
  stamp.modifiedNs = nanoseconds(information.ftLastWriteTime);
  return stamp;
}

std::optional<FileStamp> stampOf(const std::filesystem::path& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return std::nullopt;
  }
  FileStamp stamp;
  stamp.size = sizeOf(data.nFileSizeHigh, data.nFileSizeLow);
  stamp.modifiedNs = nanoseconds(data.ftLastWriteTime);
  return stamp;
}

std::int64_t stampClockNowNs() {
  FILETIME now{};
  GetSystemTimePreciseAsFileTime(&now);
  return nanoseconds(now);
}

}  // namespace sacotin
