#pragma once

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "main_window/account_read.h"

namespace sacotin {

// Reads a search run's accounts on a second thread, one after the other, and hands each over as
// soon as it is read: the run shows one account while the next ones are read. `prepare` runs on
// that thread first (bringing the registry up to date). Nothing else may use what `prepare` and
// `read` use until finish() has returned.
class AccountsReader {
 public:
  using ReadAccount = std::function<AccountRead(const QString& account)>;

  AccountsReader(std::function<void()> prepare, QStringList accounts, ReadAccount read);
  // Stops reading after the account being read, if finish() wasn't called.
  ~AccountsReader();
  AccountsReader(const AccountsReader&) = delete;
  AccountsReader& operator=(const AccountsReader&) = delete;

  // The next account of the list, once read. Throws what the reading threw.
  AccountRead next();
  // Waits for the reading to end (all of it, `prepare` included), throwing what it threw.
  void finish();

 private:
  void readAll(const std::function<void()>& prepare, const QStringList& accounts,
               const ReadAccount& read);

  static constexpr std::size_t kAccountsPerWait = 8;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<AccountRead> read_;
  std::exception_ptr failure_;
  std::size_t wanted_ = 1;  // how many accounts read the caller is waiting for
  bool ended_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace sacotin
