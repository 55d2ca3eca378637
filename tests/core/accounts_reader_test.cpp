// The search run's reading thread: accounts in order, the game's data handed back, and a failure
// handed over to the run instead of leaving it waiting.
#include "game_data/accounts_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/fake_registry.h"

namespace sacotin::testing {
namespace {

const QStringList kAccounts = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};

// Each account with one character of the same name.
std::unique_ptr<FakeRegistry> registryOfAccounts() {
  auto registry = std::make_unique<FakeRegistry>();
  for (const QString& account : kAccounts) registry->addInventory(account, account);
  return registry;
}

TEST(AccountsReaderTest, AccountsComeInOrderAndTheDataComesBack) {
  AccountsReader reader(GameData(registryOfAccounts()), kAccounts);
  for (const QString& account : kAccounts) EXPECT_EQ(reader.next().characters->front(), account);
  GameData back = reader.finish();
  EXPECT_EQ(back.accountNames(), kAccounts);
}

TEST(AccountsReaderTest, AFailureReachesTheRunInsteadOfLeavingItWaiting) {
  auto registry = registryOfAccounts();
  registry->onOpen = [](const QString& path) {
    if (path == FakeRegistry::charactersPath("1")) throw std::runtime_error("unreadable");
  };
  AccountsReader reader(GameData(std::move(registry)), kAccounts);
  EXPECT_EQ(reader.next().characters->front(), "0");
  EXPECT_THROW(reader.next(), std::runtime_error);
  EXPECT_THROW(reader.finish(), std::runtime_error);
}

}  // namespace
}  // namespace sacotin::testing
