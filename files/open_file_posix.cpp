#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/open_file.h"

namespace sacotin {

OpenFile::OpenFile(const std::filesystem::path& path)
    : handle_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)) {}

OpenFile::~OpenFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool OpenFile::regularFileStamp(std::size_t maxBytes, FileStamp& stamp) const {
  struct stat info {};
  if (handle_ < 0 || ::fstat(static_cast<int>(handle_), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    return false;
  }
  stamp = stampOf(info);
  return true;
}

long long OpenFile::readSome(char* buffer, std::size_t room) const {
  for (;;) {
    const ssize_t got = ::read(static_cast<int>(handle_), buffer, room);
    if (got >= 0 || errno != EINTR) return got;
  }
}

}  // namespace sacotin
