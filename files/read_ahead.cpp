#include "files/read_ahead.h"

#include "files/file_snapshot.h"

namespace sacotin {

ReadAhead::ReadAhead(const OpenFile& file) : file_(file), reader_([this] { readBlocks(); }) {}

ReadAhead::~ReadAhead() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  reader_.join();
}

void ReadAhead::readBlocks() {
  for (std::size_t index = 0;; ++index) {
    Buffer& buffer = buffers_[index % 2];
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stopping_ || !buffer.filled; });
      if (stopping_) return;
    }
    const long long got = readsAbandoned() ? -1 : file_.readSome(buffer.bytes.get(), kBlockSize);
    {
      const std::lock_guard lock(mutex_);
      buffer.got = got;
      buffer.filled = true;
    }
    changed_.notify_all();
    if (got <= 0) return;
  }
}

long long ReadAhead::next(std::string_view& block) {
  std::unique_lock lock(mutex_);
  // The block handed over last is done with: its buffer takes the block after next.
  if (taken_ > 0) {
    buffers_[(taken_ - 1) % 2].filled = false;
    changed_.notify_all();
  }
  Buffer& buffer = buffers_[taken_ % 2];
  changed_.wait(lock, [&] { return buffer.filled; });
  ++taken_;
  if (buffer.got > 0) block = std::string_view(buffer.bytes.get(), std::size_t(buffer.got));
  return buffer.got;
}

}  // namespace sacotin
