#include "registry/item_number.h"

#include <gtest/gtest.h>

namespace sacotin {
namespace {

TEST(ItemNumber, TwoBytesAreLittleEndian) {
  EXPECT_EQ(itemNumberText("\xD2\x04"), u"1234");
  EXPECT_EQ(itemNumberText(std::string_view("\x00\x00", 2)), u"0");
  EXPECT_EQ(itemNumberText("\xFF\xFF"), u"65535");
  EXPECT_EQ(itemNumberText("AB"), u"16961");
}

TEST(ItemNumber, OnlyTheFirstTwoBytesCount) {
  EXPECT_EQ(itemNumberText(std::string_view("\xD2\x04\x00\x00", 4)), u"1234");
}

TEST(ItemNumber, OneByteSlotReadsABlankAsSecondByte) {
  EXPECT_EQ(itemNumberText("\x05"), u"8197");
  EXPECT_EQ(itemNumber("\x05"), 8197);
}

}  // namespace
}  // namespace sacotin
