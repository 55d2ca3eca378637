#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>

#include "files/open_file.h"

namespace sacotin {

// Reads an open file's blocks on a second thread, one block ahead of their reader: while the
// reader goes over one block, the next one is read into the other buffer. For large files, whose
// reading and going over then take about as long as the longer of the two.
class ReadAhead {
 public:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

  explicit ReadAhead(const OpenFile& file);
  // Stops the second thread after the read it is making, if any.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Waits for the next block: how many bytes it holds (in `block`), 0 at the end of the file, -1
  // on an error or when the program is ending (then it is not called again). The block stays
  // valid until the next call.
  long long next(std::string_view& block);

 private:
  struct Buffer {
    std::unique_ptr<char[]> bytes{new char[kBlockSize]};
    long long got = 0;
    bool filled = false;
  };

  void readBlocks();

  const OpenFile& file_;
  Buffer buffers_[2];
  std::size_t taken_ = 0;  // blocks handed over so far
  std::mutex mutex_;
  std::condition_variable changed_;
  bool stopping_ = false;
  std::thread reader_;
};

}  // namespace sacotin
