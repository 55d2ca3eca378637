#pragma once

#include <QStringList>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <future>
#include <mutex>

#include "game_data/account_read.h"
#include "game_data/game_data.h"

namespace sacotin {

// Reads a search run's accounts on a second thread, one after the other, and hands each over as
// soon as it is read: the run shows one account while the next ones are read. The game's data is
// moved to that thread, which first brings it up to date, and finish() hands it back.
class AccountsReader {
 public:
  AccountsReader(GameData data, QStringList accounts);
  // Stops reading after the account being read, if finish() wasn't called.
  ~AccountsReader();
  AccountsReader(const AccountsReader&) = delete;
  AccountsReader& operator=(const AccountsReader&) = delete;

  // The next account of the list, once read. Throws what the reading threw.
  AccountRead next();
  // Waits for the reading to end and hands the game's data back; throws what the reading threw.
  GameData finish();

 private:
  void readAll(GameData& data, const QStringList& accounts);

  static constexpr std::size_t kAccountsPerWait = 8;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<AccountRead> read_;
  std::exception_ptr failure_;
  std::size_t wanted_ = 1;  // how many accounts read the caller is waiting for
  bool ended_ = false;
  bool stopping_ = false;
  std::future<GameData> reading_;  // the second thread, which hands the data back as it ends
};

}  // namespace sacotin
