#include "game_data/accounts_reader.h"

#include <stdexcept>
#include <utility>

namespace sacotin {

AccountsReader::AccountsReader(GameData data, QStringList accounts) {
  reading_ = std::async(std::launch::async,
                        [this, data = std::move(data), accounts = std::move(accounts)]() mutable {
                          readAll(data, accounts);
                          return std::move(data);
                        });
}

AccountsReader::~AccountsReader() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  if (reading_.valid()) reading_.wait();
}

void AccountsReader::readAll(GameData& data, const QStringList& accounts) {
  try {
    data.refresh();
    for (const QString& account : accounts) {
      AccountRead one = data.account(account);
      const std::lock_guard lock(mutex_);
      if (stopping_) break;
      read_.push_back(std::move(one));
      if (read_.size() >= wanted_) changed_.notify_all();
    }
  } catch (...) {
    const std::lock_guard lock(mutex_);
    failure_ = std::current_exception();
    ended_ = true;
    changed_.notify_all();
    throw;
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

GameData AccountsReader::finish() { return reading_.get(); }

}  // namespace sacotin
