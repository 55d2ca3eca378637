#include "main_window/accounts_reader.h"

#include <stdexcept>
#include <utility>

namespace sacotin {

AccountsReader::AccountsReader(std::function<void()> prepare, QStringList accounts,
                               ReadAccount read)
    : thread_([this, prepare = std::move(prepare), accounts = std::move(accounts),
               read = std::move(read)] { readAll(prepare, accounts, read); }) {}

AccountsReader::~AccountsReader() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  if (thread_.joinable()) thread_.join();
}

void AccountsReader::readAll(const std::function<void()>& prepare, const QStringList& accounts,
                             const ReadAccount& read) {
  try {
    prepare();
    for (const QString& account : accounts) {
      AccountRead one = read(account);
      const std::lock_guard lock(mutex_);
      if (stopping_) break;
      read_.push_back(std::move(one));
      if (read_.size() >= wanted_) changed_.notify_all();
    }
  } catch (...) {
    const std::lock_guard lock(mutex_);
    failure_ = std::current_exception();
  }
  const std::lock_guard lock(mutex_);
  ended_ = true;
  changed_.notify_all();
}

AccountRead AccountsReader::next() {
  std::unique_lock lock(mutex_);
  // Waking up costs more than showing an account: once it has caught up with the reading, the
  // caller waits for a few accounts at a time.
  if (read_.empty()) wanted_ = kAccountsPerWait;
  changed_.wait(lock, [this] { return read_.size() >= wanted_ || ended_; });
  wanted_ = 1;
  if (read_.empty()) {
    if (failure_) std::rethrow_exception(failure_);
    throw std::logic_error("no account left to read");
  }
  AccountRead one = std::move(read_.front());
  read_.pop_front();
  return one;
}

void AccountsReader::finish() {
  thread_.join();
  if (failure_) std::rethrow_exception(failure_);
}

}  // namespace sacotin
