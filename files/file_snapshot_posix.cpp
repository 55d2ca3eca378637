#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/file_snapshot.h"

namespace sacotin {
namespace {

// An open file descriptor, closed when it goes.
class OpenFile {
 public:
  // Opened without blocking: a named pipe in the file's place can't hang the open or a read.
  explicit OpenFile(const std::filesystem::path& path)
      : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  // The stamp of the open file when it is a regular file of at most maxBytes.
  bool regularFileStamp(std::size_t maxBytes, FileStamp& stamp) const {
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
      return false;
    }
    stamp = stampOf(info);
    return true;
  }

  long long readSome(char* buffer, std::size_t room) const {
    for (;;) {
      const ssize_t got = ::read(fd_, buffer, room);
      if (got >= 0 || errno != EINTR) return got;
    }
  }

 private:
  int fd_;
};

}  // namespace

bool readRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                     FileSnapshot& snapshot) {
  if (readsAbandoned()) return false;
  const OpenFile file(path);
  FileStamp stamp;
  if (!file.regularFileStamp(maxBytes, stamp)) return false;
  const bool ok = snapshot.bytes.fill(
      stamp.size, maxBytes,
      [&file](char* buffer, std::size_t room) { return file.readSome(buffer, room); });
  // The stamp of what was actually read, so that a replacement racing with this read is
  // noticed by whoever compares it with the file later.
  if (ok) snapshot.stamp = stamp;
  return ok && snapshot.bytes.view().size() <= maxBytes;
}

bool readRegularFileInBlocks(const std::filesystem::path& path, std::size_t maxBytes,
                             FileStamp& stamp,
                             const std::function<void(std::string_view block)>& take) {
  if (readsAbandoned()) return false;
  const OpenFile file(path);
  if (!file.regularFileStamp(maxBytes, stamp)) return false;
  const std::unique_ptr<char[]> block(new char[FileBytes::kBlockSize]);
  std::size_t total = 0;
  for (;;) {
    if (readsAbandoned()) return false;
    const long long got = file.readSome(block.get(), FileBytes::kBlockSize);
    if (got <= 0) return got == 0;
    total += static_cast<std::size_t>(got);
    if (total > maxBytes) return false;
    take(std::string_view(block.get(), static_cast<std::size_t>(got)));
  }
}

}  // namespace sacotin
