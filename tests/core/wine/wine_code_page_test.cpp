// The ANSI code page under Wine: which one the locale gives (checked against what Wine 8 answered
// for GetACP() in tests/data/wine/acp-matrix.txt) and how text crosses it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <regex>
#include <string>

#include "encodings/ansi_code_page.h"
#include "encodings/wine_locale.h"
#include "support/scoped_variable.h"

namespace sacotin {
namespace {

using namespace std::string_literals;

using sacotin::testing::ScopedVariable;

TEST(WineCodePageChoice, MatchesWhatWineAnsweredForEachEnvironment) {
  // Each line: the variables, then GetACP() and how U+00E9 came out. Lines with LOCPATH ran with
  // the locales installed there; the others had only C and C.UTF-8.
  std::ifstream in(std::string(SACOTIN_TEST_DATA) + "/wine/acp-matrix.txt");
  static const std::regex line(
      R"(^(.*?)\s+GetACP\(\)=(\d+) .*U\+00E9 in CP_ACP: 1 byte\(s\): ([0-9a-f]{2}))");
  static const std::regex assignment(R"((\w+)=(\S+))");
  std::string text;
  int checked = 0;
  while (std::getline(in, text)) {
    std::smatch m;
    if (!std::regex_search(text, m, line)) continue;
    SCOPED_TRACE(text);
    const std::string variables = m[1];
    LocaleEnvironment environment;
    bool localesInstalled = false;
    for (std::sregex_iterator it(variables.begin(), variables.end(), assignment), end; it != end;
         ++it) {
      const std::string name = (*it)[1];
      if (name == "LC_ALL") environment.lcAll = (*it)[2];
      if (name == "LC_CTYPE") environment.lcCtype = (*it)[2];
      if (name == "LANG") environment.lang = (*it)[2];
      if (name == "LOCPATH") localesInstalled = true;
    }
    const auto installed = [&](const std::string& name) {
      return localesInstalled || name.rfind("C", 0) == 0 || name == "POSIX";
    };
    const int codePage = wineAnsiCodePage(environment, installed);
    EXPECT_EQ(codePage, std::stoi(m[2]));
    EXPECT_EQ(makeAnsiCodePage(codePage)->encode(u"\u00e9"),
              std::string(1, char(std::stoi(m[3], nullptr, 16))));
    ++checked;
  }
  EXPECT_EQ(checked, 14);
}

TEST(WineCodePageChoice, LocaleNamesToCodePages) {
  const std::vector<std::pair<std::string, int>> cases = {
      {"C", 1252},
      {"POSIX", 1252},
      {"C.UTF-8", 1252},
      {"", 1252},
      {"de_DE.UTF-8", 1252},
      {"fr_FR@euro", 1252},
      {"xx_YY.UTF-8", 1252},
      {"pl_PL.UTF-8", 1250},
      {"cs_CZ", 1250},
      {"ru_RU.KOI8-R", 1251},
      {"uk_UA.UTF-8", 1251},
      {"sr_RS", 1251},
      {"sr_RS@latin", 1250},
      {"uz_UZ", 1254},
      {"uz_UZ@cyrillic", 1251},
      {"el_GR", 1253},
      {"tr_TR", 1254},
      {"he_IL", 1255},
      {"ar_EG", 1256},
      {"lt_LT", 1257},
      {"vi_VN", 1258},
      {"th_TH", 874},
      {"ja_JP.UTF-8", 932},
      {"ko_KR", 949},
      {"zh_CN.UTF-8", 936},
      {"zh_SG", 936},
      {"zh_TW.UTF-8", 950},
      {"zh_HK", 950},
      {"hi_IN", 65001},
      {"ka_GE", 65001},
  };
  for (const auto& [name, codePage] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ansiCodePageOfLocaleName(name), codePage);
  }
}

TEST(WineCodePageChoice, FirstNonEmptyVariableAndLocalesNotInstalled) {
  const auto nothingInstalled = [](const std::string& name) { return name.rfind("C", 0) == 0; };
  const auto allInstalled = [](const std::string&) { return true; };
  EXPECT_EQ(wineAnsiCodePage({"", "pl_PL.UTF-8", "ru_RU.UTF-8"}, allInstalled), 1250);
  EXPECT_EQ(wineAnsiCodePage({"", "", "ru_RU.UTF-8"}, allInstalled), 1251);
  EXPECT_EQ(wineAnsiCodePage({"C.UTF-8", "", "ru_RU.UTF-8"}, allInstalled), 1252);
  EXPECT_EQ(wineAnsiCodePage({"", "", ""}, allInstalled), 1252);
  // A missing locale leaves the C library at C: 1252, unless LC_ALL names one, which Wine reads
  // itself.
  EXPECT_EQ(wineAnsiCodePage({"", "", "ru_RU.UTF-8"}, nothingInstalled), 1252);
  EXPECT_EQ(wineAnsiCodePage({"", "ru_RU.UTF-8", ""}, nothingInstalled), 1252);
  EXPECT_EQ(wineAnsiCodePage({"ru_RU.UTF-8", "", ""}, nothingInstalled), 1251);

  ScopedVariable lcAll("LC_ALL", nullptr);
  ScopedVariable lcCtype("LC_CTYPE", nullptr);
  {
    ScopedVariable lang("LANG", "ru_XX.UTF-8");  // no such locale anywhere
    EXPECT_EQ(wineAnsiCodePageOfThisProcess(), 1252);
    EXPECT_EQ(systemAnsiCodePage()->number(), 1252);
  }
  ScopedVariable lang("LANG", "C.UTF-8");
  ScopedVariable all("LC_ALL", "ru_XX.UTF-8");
  EXPECT_EQ(wineAnsiCodePageOfThisProcess(), 1251);
  EXPECT_EQ(systemAnsiCodePage()->number(), 1251);
}

TEST(WineCodePageConversion, SingleByteTablesAndBestFit) {
  const auto cp1252 = makeAnsiCodePage(1252);
  std::string everyByte;
  for (int b = 0; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  const std::u16string decoded = cp1252->decode(everyByte);
  ASSERT_EQ(decoded.size(), 256u);
  EXPECT_EQ(decoded[0x80], u'\u20ac');
  EXPECT_EQ(decoded[0x81], u'\u0081');  // undefined bytes are the C1 controls, as in Windows
  EXPECT_EQ(decoded[0xe9], u'\u00e9');
  EXPECT_EQ(cp1252->encode(decoded), everyByte);

  // Best fit: a base letter for accented and full-width letters, '?' for the rest; one '?' per
  // half of a surrogate pair.
  EXPECT_EQ(cp1252->encode(u"\u0100\u0107\uff21\u2713\u0416"), "AcA??");
  // Marks are all stripped (Windows: U), but a one-character decomposition stays (Windows: Å).
  EXPECT_EQ(cp1252->encode(u"\u01d5\u212b\u212a\u2074\u2002"), "U\xc5K4 ");
  EXPECT_EQ(cp1252->encode(u"\U0001F600"), "??");
  EXPECT_EQ(cp1252->encode(u"a\0b"s), "a\0b"s);

  const auto cp1251 = makeAnsiCodePage(1251);
  EXPECT_EQ(cp1251->encode(u"\u00e9t\u00e9 h\u00e9l\u00e8ne \u0416\u20ac"), "ete helene \xc6\x88");
  EXPECT_EQ(cp1251->decode("\xc6\x88"), u"\u0416\u20ac");

  EXPECT_EQ(makeAnsiCodePage(12345)->number(), 1252);
}

TEST(WineCodePageConversion, DoubleByteAndUtf8) {
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
  EXPECT_EQ(utf8->encode(u"\xd800x"), "\xef\xbf\xbdx");
  EXPECT_EQ(utf8->decode("\xc3\xa9"), u"\u00e9");
}

}  // namespace
}  // namespace sacotin
