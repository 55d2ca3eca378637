#include <windows.h>

#include "files/file_snapshot.h"

namespace sacotin {
namespace {

// A file opened for reading by its wide path, closed when it goes.
class OpenedFile {
 public:
  explicit OpenedFile(const std::filesystem::path& path)
      : handle_(CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OpenedFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;

  // The stamp of the open file when it is a file on a disk (not a pipe or a device) of at most
  // maxBytes.
  bool regularFileStamp(std::size_t maxBytes, FileStamp& stamp) const {
    BY_HANDLE_FILE_INFORMATION information{};
    if (handle_ == INVALID_HANDLE_VALUE || GetFileType(handle_) != FILE_TYPE_DISK ||
        !GetFileInformationByHandle(handle_, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      return false;
    }
    stamp = stampOf(information);
    return stamp.size <= maxBytes;
  }

  long long readSome(char* buffer, std::size_t room) const {
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(room), &got, nullptr)) return -1;
    return got;
  }

 private:
  HANDLE handle_;
};

}  // namespace

bool readRegularFile(const std::filesystem::path& path, std::size_t maxBytes,
                     FileSnapshot& snapshot) {
  if (readsAbandoned()) return false;
  const OpenedFile file(path);
  FileStamp stamp;
  if (!file.regularFileStamp(maxBytes, stamp)) return false;
  const bool ok = snapshot.bytes.fill(
      static_cast<std::size_t>(stamp.size), maxBytes,
      [&file](char* buffer, std::size_t room) { return file.readSome(buffer, room); });
  if (ok) snapshot.stamp = stamp;
  return ok && snapshot.bytes.view().size() <= maxBytes;
}

bool readRegularFileInBlocks(const std::filesystem::path& path, std::size_t maxBytes,
                             FileStamp& stamp,
                             const std::function<void(std::string_view block)>& take) {
  if (readsAbandoned()) return false;
  const OpenedFile file(path);
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
