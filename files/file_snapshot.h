#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "files/file_stamp.h"

namespace sacotin {

// A file's bytes, in a buffer that is not cleared before it is filled (a user.reg can be tens of
// megabytes) and that a later read may reuse.
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(FileBytes&&) noexcept = default;
  FileBytes& operator=(FileBytes&&) noexcept = default;

  std::string_view view() const { return std::string_view(data_.get(), size_); }

  // Reads from fd to the end of the file, or to one byte past `limit` (so that a file over the
  // limit can be told from one at it). One spare byte lets the read that meets the end of a file
  // of the expected size do so without growing (and so copying) the buffer.
  bool readAll(int fd, std::size_t expectedSize, std::size_t limit);

 private:
  void reserve(std::size_t capacity);

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// One version of a file, read whole: its stamp when it was read, and its bytes.
struct FileSnapshot {
  FileStamp stamp;
  FileBytes bytes;
};

// Reads the regular file at `path` whole into `snapshot`, reusing its buffer. The file is opened
// without blocking, so that a named pipe in its place can't hang the read; anything but a
// regular file, or a file over maxBytes, is not read. False when nothing was read.
bool readRegularFile(const std::string& path, std::size_t maxBytes, FileSnapshot& snapshot);

// Reads the regular file at `path` as readRegularFile does, but hands its bytes to `take` a block
// at a time instead of holding them. `stamp` is the file's from before the first block on (a
// reader can size its buffers by it). False when the file was not read, or read only in part (a
// read error, or more than maxBytes).
bool readRegularFileInBlocks(const std::string& path, std::size_t maxBytes, FileStamp& stamp,
                             const std::function<void(std::string_view block)>& take);

}  // namespace sacotin
