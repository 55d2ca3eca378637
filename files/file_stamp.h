#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

struct stat;
struct _BY_HANDLE_FILE_INFORMATION;

namespace sacotin {

// What tells one version of a file from another, for the readers that keep what they read until
// the file changes (user.reg, liste.dat): its size, modification and change times to the
// nanosecond, device and inode, so that a file rewritten in place or replaced by a rename is
// noticed. On Windows only the size and the last write time (100 ns) are known.
struct FileStamp {
  std::uintmax_t size = 0;
  std::int64_t modifiedNs = 0;
  std::int64_t changedNs = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at `path`; none for anything else or a missing file.
std::optional<FileStamp> stampOf(const std::filesystem::path& path);

// The stamp of a file whose status is already known.
#ifdef _WIN32
FileStamp stampOf(const struct _BY_HANDLE_FILE_INFORMATION& information);
#else
FileStamp stampOf(const struct stat& status);
#endif

// Now, on the clock the stamps' times are counted on.
std::int64_t stampClockNowNs();

}  // namespace sacotin
