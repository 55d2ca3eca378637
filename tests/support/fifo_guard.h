#pragma once

// A named pipe (FIFO) standing where a file is expected, with a watchdog: if the code under test
// is still blocked on the pipe after the timeout, the guard opens the pipe's writing end and
// closes it again, which hands any reader an end of file, so a faulty reader fails the test
// instead of hanging it. POSIX only.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

namespace sacotin::testing {

class FifoGuard {
 public:
  FifoGuard(std::filesystem::path path, std::chrono::milliseconds timeout)
      : path_(std::move(path)) {
    created_ = mkfifo(path_.c_str(), 0644) == 0;
    watchdog_ = std::thread([this, timeout] {
      std::unique_lock lock(mutex_);
      if (stopped_.wait_for(lock, timeout, [this] { return stop_; })) return;
      fired_ = true;
      // Keep releasing readers until the test is over: a reader may open the pipe again.
      while (!stop_) {
        const int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
        stopped_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stop_; });
      }
    });
  }
  ~FifoGuard() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    stopped_.notify_all();
    watchdog_.join();
  }
  FifoGuard(const FifoGuard&) = delete;
  FifoGuard& operator=(const FifoGuard&) = delete;

  bool created() const { return created_; }
  // True when the code under test had to be released: it blocked on the pipe.
  bool fired() const { return fired_; }

 private:
  std::filesystem::path path_;
  bool created_ = false;
  std::atomic<bool> fired_ = false;
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stop_ = false;
  std::thread watchdog_;
};

}  // namespace sacotin::testing
