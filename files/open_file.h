#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <utility>

#include "files/file_stamp.h"

namespace sacotin {

// A file opened for reading, each platform's way (open_file_posix.cpp, open_file_win32.cpp),
// closed when it goes. Opening never blocks: a named pipe in a file's place can't hang it.
class OpenFile {
 public:
  explicit OpenFile(const std::filesystem::path& path);
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  // Handing the file over (to another thread) leaves this one closed.
  OpenFile(OpenFile&& other) noexcept : handle_(std::exchange(other.handle_, kClosed)) {}

  // The stamp of the open file when it is a regular file (on a disk, not a pipe or a device) of
  // at most maxBytes.
  bool regularFileStamp(std::size_t maxBytes, FileStamp& stamp) const;

  // Reads at most `room` bytes: how many, 0 at the end of the file, -1 on an error.
  long long readSome(char* buffer, std::size_t room) const;

 private:
  static constexpr std::intptr_t kClosed = -1;  // no descriptor, INVALID_HANDLE_VALUE
  std::intptr_t handle_;                        // a file descriptor, or a Windows HANDLE
};

}  // namespace sacotin
