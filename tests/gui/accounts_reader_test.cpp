// The search run's reading thread: accounts in order after the refresh, and a failure handed
// over to the run instead of leaving it waiting.
#include "main_window/accounts_reader.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace sacotin::testing {
namespace {

AccountRead named(const QString& name) { return {QStringList{name}, {}}; }

TEST(AccountsReaderTest, AccountsComeInOrderAfterTheRefresh) {
  bool refreshed = false;
  QStringList accounts;
  for (int account = 0; account < 20; ++account) accounts << QString::number(account);
  AccountsReader reader([&refreshed] { refreshed = true; }, accounts,
                        [&](const QString& name) {
                          EXPECT_TRUE(refreshed);
                          return named(name);
                        });
  for (const QString& account : accounts) EXPECT_EQ(reader.next().characters->front(), account);
  reader.finish();
}

TEST(AccountsReaderTest, AFailureReachesTheRunInsteadOfLeavingItWaiting) {
  AccountsReader failingRead([] {}, {"a", "b"},
                             [](const QString& name) {
                               return name == "b" ? throw std::runtime_error("unreadable")
                                                  : named(name);
                             });
  EXPECT_EQ(failingRead.next().characters->front(), "a");
  EXPECT_THROW(failingRead.next(), std::runtime_error);
  EXPECT_THROW(failingRead.finish(), std::runtime_error);

  AccountsReader failingRefresh([] { throw std::runtime_error("no registry"); }, {"a"}, named);
  EXPECT_THROW(failingRefresh.next(), std::runtime_error);
}

}  // namespace
}  // namespace sacotin::testing
