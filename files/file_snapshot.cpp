#include "files/file_snapshot.h"

#include <atomic>
#include <cstring>
#include <optional>

#include "files/open_file.h"
#include "files/read_ahead.h"

namespace sacotin {
namespace {

std::atomic<bool> abandoned{false};

}  // namespace

void FileBytes::reserve(std::size_t capacity) {
  std::unique_ptr<char[]> grown(new char[capacity]);
  if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_);
  data_ = std::move(grown);
  capacity_ = capacity;
}

bool readRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                     FileSnapshot& snapshot) {
  if (readsAbandoned()) return false;
  const OpenFile file(path);
  FileStamp stamp;
  if (!file.regularFileStamp(maxBytes, stamp)) return false;
  const bool ok = snapshot.bytes.fill(
      static_cast<std::size_t>(stamp.size), maxBytes,
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
  OpenFile file(path);
  if (!file.regularFileStamp(maxBytes, stamp)) return false;
  // A large file is read a block ahead on a second thread while `take` goes over the last one;
  // a smaller one a block at a time on this thread.
  std::optional<ReadAhead> ahead;
  std::unique_ptr<char[]> buffer;
  if (stamp.size > 4 * ReadAhead::kBlockSize) {
    ahead.emplace(std::move(file));
  } else {
    buffer.reset(new char[FileBytes::kBlockSize]);
  }
  std::size_t total = 0;
  for (std::string_view block;;) {
    long long got = 0;  // bytes in `block`; 0 at the end, -1 on an error or when ending
    if (ahead) {
      got = ahead->next(block);
    } else {
      got = readsAbandoned() ? -1 : file.readSome(buffer.get(), FileBytes::kBlockSize);
      if (got > 0) block = std::string_view(buffer.get(), static_cast<std::size_t>(got));
    }
    if (got <= 0) return got == 0;
    total += static_cast<std::size_t>(got);
    if (total > maxBytes) return false;
    take(block);
  }
}

void abandonReads() { abandoned.store(true, std::memory_order_relaxed); }

bool readsAbandoned() { return abandoned.load(std::memory_order_relaxed); }

}  // namespace sacotin
