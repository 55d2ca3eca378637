#include "files/file_snapshot.h"

#include <atomic>
#include <cstring>

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

void abandonReads() { abandoned.store(true, std::memory_order_relaxed); }

bool readsAbandoned() { return abandoned.load(std::memory_order_relaxed); }

}  // namespace sacotin
