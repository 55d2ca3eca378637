#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "files/open_file.h"

namespace sacotin {

// Reads an open file's blocks on a second thread, one block ahead of their reader: while the
// reader goes over one block, the next one is read into the other buffer. For large files, whose
// reading and going over then take about as long as the longer of the two. The file is the
// reading thread's; each buffer is either the reading thread's (being filled) or the reader's
// (handed over filled), moved from one to the other.
class ReadAhead {
 public:
  static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

  explicit ReadAhead(OpenFile file);
  // Stops the second thread after the read it is making, if any.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // Waits for the next block: how many bytes it holds (in `block`), 0 at the end of the file, -1
  // on an error or when the program is ending (then it is not called again). The block stays
  // valid until the next call.
  long long next(std::string_view& block);

 private:
  using Buffer = std::unique_ptr<char[]>;
  struct Block {
    Buffer bytes;
    long long got = 0;
  };

  void readBlocks(OpenFile file);

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Buffer> empty_;  // for the reading thread to fill
  std::deque<Block> filled_;   // for the reader, in file order
  bool stopping_ = false;
  Block handedOver_;  // the reader's block, until its next call
  std::thread reader_;
};

}  // namespace sacotin
