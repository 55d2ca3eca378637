#include "files/read_ahead.h"

#include "files/file_snapshot.h"

namespace sacotin {

ReadAhead::ReadAhead(OpenFile file) {
  for (int buffer = 0; buffer < 2; ++buffer) empty_.emplace_back(new char[kBlockSize]);
  reader_ = std::thread([this, file = std::move(file)]() mutable { readBlocks(std::move(file)); });
}

ReadAhead::~ReadAhead() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  reader_.join();
}

void ReadAhead::readBlocks(OpenFile file) {
  for (;;) {
    Block block;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stopping_ || !empty_.empty(); });
      if (stopping_) return;
      block.bytes = std::move(empty_.back());
      empty_.pop_back();
    }
    block.got = readsAbandoned() ? -1 : file.readSome(block.bytes.get(), kBlockSize);
    const bool last = block.got <= 0;
    {
      const std::lock_guard lock(mutex_);
      filled_.push_back(std::move(block));
    }
    changed_.notify_all();
    if (last) return;
  }
}

long long ReadAhead::next(std::string_view& block) {
  std::unique_lock lock(mutex_);
  // The block handed over last is done with: its buffer takes the block after next.
  if (handedOver_.bytes) {
    empty_.push_back(std::move(handedOver_.bytes));
    changed_.notify_all();
  }
  changed_.wait(lock, [this] { return !filled_.empty(); });
  handedOver_ = std::move(filled_.front());
  filled_.pop_front();
  if (handedOver_.got > 0) {
    block = std::string_view(handedOver_.bytes.get(), static_cast<std::size_t>(handedOver_.got));
  }
  return handedOver_.got;
}

}  // namespace sacotin
