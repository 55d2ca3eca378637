#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "files/file_snapshot.h"

namespace sacotin {

bool FileBytes::readAll(int fd, std::size_t expectedSize, std::size_t limit) {
  size_ = 0;
  const std::size_t stop = limit + 1;
  if (capacity_ < std::min(expectedSize, stop) + 1) reserve(std::min(expectedSize, stop) + 1);
  while (size_ < stop) {
    if (size_ == capacity_) reserve(std::min(capacity_ + capacity_ / 2 + 65536, stop));
    const ssize_t got = ::read(fd, data_.get() + size_, capacity_ - size_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    size_ += static_cast<std::size_t>(got);
  }
  size_ = std::min(size_, stop);
  return true;
}

void FileBytes::reserve(std::size_t capacity) {
  std::unique_ptr<char[]> grown(new char[capacity]);
  if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
  data_ = std::move(grown);
  capacity_ = capacity;
}

bool readRegularFile(const std::string& path, std::size_t maxBytes, FileSnapshot& snapshot) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                  static_cast<std::uintmax_t>(info.st_size) <= maxBytes &&
                  snapshot.bytes.readAll(fd, static_cast<std::size_t>(info.st_size), maxBytes);
  ::close(fd);
  // The stamp of what was actually read, so that a replacement racing with this read is
  // noticed by whoever compares it with the file later.
  if (ok) snapshot.stamp = stampOf(info);
  return ok && snapshot.bytes.view().size() <= maxBytes;
}

bool readRegularFileInBlocks(const std::string& path, std::size_t maxBytes, FileStamp& stamp,
                             const std::function<void(std::string_view block)>& take) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
            static_cast<std::uintmax_t>(info.st_size) <= maxBytes;
  if (ok) stamp = stampOf(info);
  // Small enough to stay in the processor's cache while it is read again and again.
  constexpr std::size_t kBlockSize = std::size_t{128} << 10;
  const std::unique_ptr<char[]> block(ok ? new char[kBlockSize] : nullptr);
  std::size_t total = 0;
  while (ok) {
    const ssize_t got = ::read(fd, block.get(), kBlockSize);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    total += static_cast<std::size_t>(got);
    ok = total <= maxBytes;
    if (ok) take(std::string_view(block.get(), static_cast<std::size_t>(got)));
  }
  ::close(fd);
  return ok;
}

}  // namespace sacotin
