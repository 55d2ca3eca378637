#pragma once

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "files/file_stamp.h"

namespace sacotin {

// The program is ending: every read under way stops at its next block and fails, and none
// starts, so that no thread still reading keeps the program from ending at once.
void abandonReads();
bool readsAbandoned();

// A file's bytes, in a buffer that is not cleared before it is filled (a user.reg can be tens of
// megabytes) and that a later read may reuse.
class FileBytes {
 public:
  FileBytes() = default;
  FileBytes(FileBytes&&) noexcept = default;
  FileBytes& operator=(FileBytes&&) noexcept = default;

  std::string_view view() const { return std::string_view(data_.get(), size_); }

  // Fills the buffer by calls of readSome(buffer, room), which gives how many bytes it read, 0 at
  // the end of the file, or -1 on an error; to the end, or to one byte past `limit` (so that a
  // file over the limit can be told from one at it). One spare byte lets the read that meets the
  // end of a file of the expected size do so without growing (and so copying) the buffer. False
  // on an error, or when the program is ending (readsAbandoned).
  template <typename ReadSome>
  bool fill(std::size_t expectedSize, std::size_t limit, ReadSome&& readSome) {
    size_ = 0;
    const std::size_t stop = limit + 1;
    if (capacity_ < std::min(expectedSize, stop) + 1) reserve(std::min(expectedSize, stop) + 1);
    while (size_ < stop) {
      if (readsAbandoned()) return false;
      if (size_ == capacity_) reserve(std::min(capacity_ + capacity_ / 2 + 65536, stop));
      // At most a block at a time, so that an abandoned read ends soon.
      const long long got = readSome(data_.get() + size_, std::min(capacity_ - size_, kBlockSize));
      if (got < 0) return false;
      if (got == 0) break;
      size_ += static_cast<std::size_t>(got);
    }
    size_ = std::min(size_, stop);
    return true;
  }

  // What one read asks for at most: small enough to stay in the processor's cache while a
  // reader goes over it again and again.
  static constexpr std::size_t kBlockSize = std::size_t{128} << 10;

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
bool readRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                     FileSnapshot& snapshot);

// Reads the regular file at `path` as readRegularFile does, but hands its bytes to `take` a block
// at a time instead of holding them. `stamp` is the file's from before the first block on (a
// reader can size its buffers by it). False when the file was not read, or read only in part (a
// read error, more than maxBytes, or the program ending).
bool readRegularFileInBlocks(const std::filesystem::path& path, std::size_t maxBytes,
                             FileStamp& stamp,
                             const std::function<void(std::string_view block)>& take);

}  // namespace sacotin
