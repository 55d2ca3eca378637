#include "registry/item_number.h"

#include <gtest/gtest.h>

namespace sacotin {
namespace {

TEST(ItemNumber, TwoBytesAreLittleEndian) {
  EXPECT_EQ(itemNumber("\xD2\x04"), 1234);
  EXPECT_EQ(itemNumber(std::string_view("\x00\x00", 2)), 0);
  EXPECT_EQ(itemNumber("\xFF\xFF"), 65535);
  EXPECT_EQ(itemNumber("AB"), 16961);
}

TEST(ItemNumber, OnlyTheFirstTwoBytesCount) {
  EXPECT_EQ(itemNumber(std::string_view("\xD2\x04\x00\x00", 4)), 1234);
}

TEST(ItemNumber, OneByteSlotReadsABlankAsSecondByte) { EXPECT_EQ(itemNumber("\x05"), 8197); }

}  // namespace
}  // namespace sacotin
