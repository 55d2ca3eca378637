#include <windows.h>

#include "files/open_file.h"

namespace sacotin {
namespace {

HANDLE handleOf(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

OpenFile::OpenFile(const std::filesystem::path& path)
    : handle_(reinterpret_cast<std::intptr_t>(CreateFileW(
          path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))) {}

OpenFile::~OpenFile() {
  if (handleOf(handle_) != INVALID_HANDLE_VALUE) CloseHandle(handleOf(handle_));
}

bool OpenFile::regularFileStamp(std::size_t maxBytes, FileStamp& stamp) const {
  BY_HANDLE_FILE_INFORMATION information{};
  if (handleOf(handle_) == INVALID_HANDLE_VALUE ||
      GetFileType(handleOf(handle_)) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(handleOf(handle_), &information) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  stamp = stampOf(information);
  return stamp.size <= maxBytes;
}

long long OpenFile::readSome(char* buffer, std::size_t room) const {
  DWORD got = 0;
  if (!ReadFile(handleOf(handle_), buffer, static_cast<DWORD>(room), &got, nullptr)) return -1;
  return got;
}

}  // namespace sacotin
