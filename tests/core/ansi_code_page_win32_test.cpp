// The Windows code page conversions (the system's own converters) give what Wine's registry
// functions gave in the Wine fixtures: the same cases the Linux converters are held to.
#include <gtest/gtest.h>

#include <string>

#include "encodings/ansi_code_page.h"

namespace sacotin {
namespace {

using namespace std::string_literals;

TEST(Win32CodePage, Windows1252BothWaysWithBestFit) {
  const auto cp1252 = makeAnsiCodePage(1252);
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  const std::u16string decoded = cp1252->decode(everyByte);
  ASSERT_EQ(decoded.size(), 256u);
  EXPECT_EQ(decoded[0x80], u'\u20ac');
  EXPECT_EQ(decoded[0x81], u'\u0081');
  EXPECT_EQ(decoded[0xe9], u'\u00e9');
  EXPECT_EQ(cp1252->encode(decoded), everyByte);
  EXPECT_EQ(cp1252->encode(u"\u0100\u0107\uff21\u2713\u0416"), "AcA??");
  EXPECT_EQ(cp1252->encode(u"a\0b"s), "a\0b"s);
  EXPECT_EQ(cp1252->decode(""), u"");
  EXPECT_EQ(cp1252->encode(u""), "");
}

TEST(Win32CodePage, OtherCodePagesAndTheFallback) {
  const auto cp1251 = makeAnsiCodePage(1251);
  EXPECT_EQ(cp1251->encode(u"\u00e9t\u00e9 h\u00e9l\u00e8ne \u0416\u20ac"), "ete helene \xc6\x88");
  EXPECT_EQ(cp1251->decode("\xc6\x88"), u"\u0416\u20ac");

  const auto cp932 = makeAnsiCodePage(932);
  EXPECT_EQ(cp932->number(), 932);
  EXPECT_EQ(cp932->encode(u"\u3042A\u00e9"),
            "\x82\xa0"
            "Ae");
  EXPECT_EQ(cp932->decode("\x82\xa0"
                          "A"),
            u"\u3042A");

  const auto utf8 = makeAnsiCodePage(65001);
  EXPECT_EQ(utf8->encode(u"\u00e9\U0001F600"), "\xc3\xa9\xf0\x9f\x98\x80");
  EXPECT_EQ(utf8->decode("\xc3\xa9"), u"\u00e9");

  EXPECT_EQ(makeAnsiCodePage(12345)->number(), 1252);
  EXPECT_EQ(makeAnsiCodePage(-1)->number(), 1252);
}

}  // namespace
}  // namespace sacotin
