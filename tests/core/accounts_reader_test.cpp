// The search run's reading thread: accounts in order after the refresh, the game's data handed
// back, and a failure handed over to the run instead of leaving it waiting.
#include "game_data/accounts_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/fake_registry.h"

namespace sacotin::testing {
namespace {

// Accounts "0", "1", ... each with one character of the same name; opening the characters of
// `failingAccount`, or refreshing when `failingRefresh`, throws.
class ThrowingRegistry final : public RegistryBackend {
 public:
  explicit ThrowingRegistry(const QStringList& accounts) {
    for (const QString& account : accounts) keys_.addInventory(account, account);
  }
  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override {
    if (!refreshed) ADD_FAILURE() << "read before the refresh";
    if (QString::fromStdU16String(std::u16string(path)) ==
        FakeRegistry::charactersPath(failingAccount)) {
      throw std::runtime_error("unreadable");
    }
    return keys_.openKey(path);
  }
  void refresh() override {
    if (failingRefresh) throw std::runtime_error("no registry");
    refreshed = true;
  }

  bool refreshed = false;
  bool failingRefresh = false;
  QString failingAccount;

 private:
  FakeRegistry keys_;
};

QStringList accountsUpTo(int count) {
  QStringList accounts;
  for (int account = 0; account < count; ++account) accounts << QString::number(account);
  return accounts;
}

TEST(AccountsReaderTest, AccountsComeInOrderAfterTheRefreshAndTheDataComesBack) {
  const QStringList accounts = accountsUpTo(20);
  auto registry = std::make_unique<ThrowingRegistry>(accounts);
  const ThrowingRegistry& lent = *registry;
  AccountsReader reader(GameData(std::move(registry)), accounts);
  for (const QString& account : accounts) EXPECT_EQ(reader.next().characters->front(), account);
  GameData back = reader.finish();
  EXPECT_TRUE(lent.refreshed);
  EXPECT_EQ(back.accountNames(), accounts);
}

TEST(AccountsReaderTest, AFailureReachesTheRunInsteadOfLeavingItWaiting) {
  auto failingRead = std::make_unique<ThrowingRegistry>(accountsUpTo(2));
  failingRead->failingAccount = "1";
  AccountsReader reader(GameData(std::move(failingRead)), accountsUpTo(2));
  EXPECT_EQ(reader.next().characters->front(), "0");
  EXPECT_THROW(reader.next(), std::runtime_error);
  EXPECT_THROW(reader.finish(), std::runtime_error);

  auto failingRefresh = std::make_unique<ThrowingRegistry>(accountsUpTo(1));
  failingRefresh->failingRefresh = true;
  AccountsReader refreshing(GameData(std::move(failingRefresh)), accountsUpTo(1));
  EXPECT_THROW(refreshing.next(), std::runtime_error);
}

}  // namespace
}  // namespace sacotin::testing
