// The search run's reading thread: accounts handed over in order, after the registry is brought
// up to date, and a failure of the reading handed over instead of leaving the run waiting.
#include "main_window/accounts_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace sacotin::testing {
namespace {

AccountRead accountNamed(const QString& name) { return {QStringList{name}, {}}; }

TEST(AccountsReaderTest, AccountsComeInOrderAfterThePreparation) {
  QStringList prepared;
  QStringList accounts;
  for (int account = 0; account < 20; ++account) accounts << QString::number(account);
  AccountsReader reader([&prepared] { prepared << "refreshed"; }, accounts,
                        [&prepared](const QString& account) {
                          EXPECT_EQ(prepared, QStringList{"refreshed"});
                          return accountNamed(account);
                        });
  for (const QString& account : accounts) EXPECT_EQ(reader.next().characters->front(), account);
  reader.finish();
}

TEST(AccountsReaderTest, AFailureReachesTheRunInsteadOfLeavingItWaiting) {
  const QStringList accounts{"a", "b", "c"};
  AccountsReader failingRead([] {}, accounts,
                             [](const QString& account) {
                               if (account == "b") throw std::runtime_error("unreadable");
                               return accountNamed(account);
                             });
  EXPECT_EQ(failingRead.next().characters->front(), "a");
  EXPECT_THROW(failingRead.next(), std::runtime_error);
  EXPECT_THROW(failingRead.finish(), std::runtime_error);

  AccountsReader failingPreparation([] { throw std::runtime_error("no registry"); }, accounts,
                                    accountNamed);
  EXPECT_THROW(failingPreparation.next(), std::runtime_error);
}

}  // namespace
}  // namespace sacotin::testing
