// The user.reg loader line by line: what wineserver makes of each kind of line, including the
// damaged ones.
#include "registry/wine/wine_registry_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "registry/wine/wine_keys_around.h"
#include "registry/wine/wine_registry_parser.h"
#include "registry/wine/wine_section_filter.h"
#include "support/same_subtree.h"
#include "support/wine_tree_queries.h"

namespace sacotin {
namespace {

using namespace std::string_literals;
using KeyId = WineRegistryFile::KeyId;

const std::string kHeader = "WINE REGISTRY Version 2\n";

WineRegistryFile load(const std::string& body) { return parseWineRegistry(kHeader + body); }

std::optional<KeyId> keyAt(const WineRegistryFile& file, std::u16string_view path) {
  KeyId key = WineRegistryFile::kRoot;
  while (!path.empty()) {
    const auto end = path.find(u'\\');
    const auto found = file.findSubkey(key, path.substr(0, end));
    if (!found) return std::nullopt;
    key = *found;
    path = end == std::u16string_view::npos ? std::u16string_view() : path.substr(end + 1);
  }
  return key;
}

std::vector<std::u16string> subkeyNames(const WineRegistryFile& file, KeyId key) {
  std::vector<std::u16string> names;
  for (std::size_t i = 0; i < file.subkeyCount(key); ++i) {
    names.emplace_back(file.keyName(file.subkey(key, i)));
  }
  return names;
}

std::vector<std::u16string> valueNames(const WineRegistryFile& file, KeyId key) {
  std::vector<std::u16string> names;
  for (const WineValue& value : testing::valuesOf(file, key)) names.emplace_back(value.name);
  return names;
}

// The single value of key [k] after loading "[k]\n" + line.
std::optional<WineValue> onlyValue(const WineRegistryFile& file) {
  const auto key = keyAt(file, u"k");
  if (!key) return std::nullopt;
  const std::vector<WineValue> values = testing::valuesOf(file, *key);
  if (values.size() != 1) return std::nullopt;
  return values[0];
}

// UTF-16LE bytes of a text, as a loaded string value stores it (with its NUL).
std::string stored(std::u16string_view text) {
  std::string bytes;
  for (const char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xff));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes + "\0\0"s;
}

struct ValueCase {
  std::string line;
  std::uint32_t type;
  std::string data;
};

void expectValues(const std::vector<ValueCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto file = load("[k]\n" + c.line + "\n");
    const auto value = onlyValue(file);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, c.type);
    EXPECT_EQ(value->data, c.data);
  }
}

TEST(WineRegistryFileHeader, OnlyTheExactFirstLineLoadsAnything) {
  EXPECT_TRUE(parseWineRegistry("WINE REGISTRY Version 2\n[a]\n").isRegistry());
  EXPECT_TRUE(parseWineRegistry("WINE REGISTRY Version 2\r\n[a]\r\n").isRegistry());
  EXPECT_TRUE(parseWineRegistry("WINE REGISTRY Version 2").isRegistry());
  for (const std::string bad :
       {"\xEF\xBB\xBFWINE REGISTRY Version 2\n[a]\n", " WINE REGISTRY Version 2\n[a]\n",
        "WINE REGISTRY Version 2 \n[a]\n", "WINE REGISTRY Version 1\n[a]\n",
        "wine registry version 2\n[a]\n", "REGEDIT4\n[a]\n", "", "\n",
        "WINE REGISTRY Version 2\r"}) {
    SCOPED_TRACE(bad);
    const auto file = parseWineRegistry(bad);
    EXPECT_FALSE(file.isRegistry());
    EXPECT_EQ(file.subkeyCount(WineRegistryFile::kRoot), 0u);
  }
}

TEST(WineRegistryFileLines, EndingsBlanksCommentsAndNulBytes) {
  const auto file = load(
      "; comment\r\n\r\n  \t[a]\r\n\t\"crlf\"=hex:01\r\n\"lonecr\"=\"x\ry\"\r\n"
      "junk line\n\"nul\"=hex:02,03\0ignored\n"s
      "\"cut\"=\"ab\0c\"\n"s
      "\"last\"=hex:04\r");
  const auto a = keyAt(file, u"a");
  ASSERT_TRUE(a);
  EXPECT_EQ(testing::findValue(file, *a, u"crlf")->data, "\x01");
  EXPECT_EQ(testing::findValue(file, *a, u"lonecr")->data, stored(u"x\ry"));
  EXPECT_EQ(testing::findValue(file, *a, u"nul")->data, "\x02\x03");
  // The NUL ends the line before the closing quote: a damaged string.
  EXPECT_EQ(testing::findValue(file, *a, u"cut")->type, kRegNone);
  EXPECT_EQ(testing::findValue(file, *a, u"cut")->data, "");
  // A last line without "\n" keeps its "\r", a blank after hex bytes.
  EXPECT_EQ(testing::findValue(file, *a, u"last")->data, "\x04");
}

TEST(WineRegistryFileKeys, PathsAreUnescapedThenSplitWithImplicitParents) {
  const auto file = load(
      "[Software\\\\Game\\\\Chars\\\\Alice] 1700000000\n#time=1d9b0c0a1b2c3d4\n\"v\"=dword:1\n"
      "[Software\\Wine]\n"
      "[a\\[b\\]c\\\\d\"e]\n"
      "[\\\\lead\\\\\\\\double\\\\trail\\\\]\n"
      "[]\n\"atroot\"=hex:\n");
  EXPECT_EQ(subkeyNames(file, WineRegistryFile::kRoot),
            (std::vector<std::u16string>{u"a[b]c", u"lead", u"Software", u"SoftwareWine"}));
  EXPECT_TRUE(keyAt(file, u"Software\\Game\\Chars\\Alice"));
  EXPECT_EQ(testing::valuesOf(file, *keyAt(file, u"Software\\Game")).size(), 0u);
  EXPECT_TRUE(keyAt(file, u"SoftwareWine"));
  EXPECT_TRUE(keyAt(file, u"a[b]c\\d\"e"));
  EXPECT_TRUE(keyAt(file, u"lead\\double\\trail"));
  EXPECT_EQ(valueNames(file, WineRegistryFile::kRoot), std::vector<std::u16string>{u"atroot"});
}

TEST(WineRegistryFileKeys, DamagedOrTooLongKeyLinesDropTheirValues) {
  const std::string name256(256, 'n');
  const std::string name257(257, 'n');
  const auto file = load(
      "[ok]\n\"v\"=hex:01\n[broken\n\"lost\"=hex:02\n#arch=win64\n"
      "[parent\\\\" +
      name257 +
      "\\\\child]\n\"lost\"=hex:03\n"
      "[" +
      name256 + "]\n\"kept\"=hex:04\n");
  EXPECT_EQ(valueNames(file, *keyAt(file, u"ok")), std::vector<std::u16string>{u"v"});
  // Ancestors created before the too-long component stay, without values.
  ASSERT_TRUE(keyAt(file, u"parent"));
  EXPECT_EQ(file.subkeyCount(*keyAt(file, u"parent")), 0u);
  const std::u16string long256(256, u'n');
  ASSERT_TRUE(keyAt(file, long256));
  EXPECT_EQ(valueNames(file, *keyAt(file, long256)), std::vector<std::u16string>{u"kept"});
}

TEST(WineRegistryFileKeys, DuplicateSectionsMergeFirstSpellingLastData) {
  const auto file = load(
      "[Software\\\\foo\\\\Bar]\n\"x\"=hex:01\n"
      "[software\\\\Foo]\n\"Val\"=hex:01\n\"other\"=hex:09\n"
      "[SOFTWARE\\\\FOO]\n\"VAL\"=hex:02\n\"val\"=\"bad\n"
      "[Software\\\\\\\\Foo\\\\]\n\"other\"=dword:2\n");
  EXPECT_EQ(subkeyNames(file, WineRegistryFile::kRoot), std::vector<std::u16string>{u"Software"});
  const auto foo = keyAt(file, u"software\\FOO");
  ASSERT_TRUE(foo);
  EXPECT_EQ(file.keyName(*foo), u"foo");
  ASSERT_EQ(testing::valuesOf(file, *foo).size(), 2u);
  // "Val" keeps its first spelling; its last line is damaged, so it ends as REG_NONE, empty.
  EXPECT_EQ(testing::valuesOf(file, *foo)[1].name, u"Val");
  EXPECT_EQ(testing::valuesOf(file, *foo)[1].type, kRegNone);
  EXPECT_EQ(testing::valuesOf(file, *foo)[1].data, "");
  EXPECT_EQ(testing::valuesOf(file, *foo)[0].name, u"other");
  EXPECT_EQ(testing::valuesOf(file, *foo)[0].type, kRegDword);
}

TEST(WineRegistryFileOrder, LowerCasedUnitsShorterFirstNotFileOrder) {
  const auto file = load(
      "[k\\\\\\xe9]\n[k\\\\B]\n[k\\\\a]\n[k\\\\_x]\n[k\\\\ab]\n[k\\\\\\x20ac]\n[k\\\\\\xff]\n"
      "[k]\n\"b\"=hex:\n\"\\x20ac\"=hex:\n\"A\"=hex:\n\"\\xff\"=hex:\n\"_x\"=hex:\n\"ab\"=hex:\n"
      "@=hex:\n\"\\xe9\"=hex:\n");
  const auto k = keyAt(file, u"k");
  ASSERT_TRUE(k);
  EXPECT_EQ(subkeyNames(file, *k), (std::vector<std::u16string>{u"_x", u"a", u"ab", u"B", u"\u00e9",
                                                                u"\u00ff", u"\u20ac"}));
  EXPECT_EQ(valueNames(file, *k), (std::vector<std::u16string>{u"", u"_x", u"A", u"ab", u"b",
                                                               u"\u00e9", u"\u00ff", u"\u20ac"}));
  // Lookups ignore case, ASCII and beyond.
  EXPECT_TRUE(file.findSubkey(*k, u"\u00c9"));
  EXPECT_TRUE(testing::findValue(file, *k, u"AB"));
}

TEST(WineRegistryFileEscapes, EveryEscapeReadsAsWineReadsIt) {
  const std::vector<std::pair<std::string, std::u16string>> cases = {
      {R"(\a\b\e\f\n\r\t\v)", u"\a\b\x1b\f\n\r\t\v"},
      {R"(\x41)", u"A"},
      {R"(\x00e9A)", u"\u00e9A"},
      {R"(\xe9t)", u"\u00e9t"},
      {R"(\x100001)", u"\u100001"},  // at most four digits
      {R"(\xZ)", u"xZ"},
      {R"(\101\1012)", u"AA2"},  // at most three octal digits
      {R"(\0)", u"\0"s},
      {R"(\777)", u"\u01ff"},
      {R"(\8\W\'\[\])", u"8W'[]"},
      {R"(\\x41)", u"\\x41"},
      {R"(\"q\")", u"\"q\""},
      {"caf\xC3\xA9", u"caf\u00e9"},        // raw UTF-8
      {"\xF0\x9F\x98\x80", u"\U0001F600"},  // four bytes: a surrogate pair
      {"a\xC3"
       "b\x80"
       "c\xC0\x80"
       "d\xF8"
       "e\x7F",
       u"abcde\x7f"},     // invalid bytes dropped
      {"\xE2\x82", u""},  // cut short by the quote
  };
  for (const auto& [escaped, text] : cases) {
    SCOPED_TRACE(escaped);
    const auto file = load("[k]\n\"v\"=\"" + escaped + "\"\n\"" + escaped + "\"=hex:\n");
    const auto k = keyAt(file, u"k");
    ASSERT_TRUE(k);
    EXPECT_EQ(testing::findValue(file, *k, u"v")->data, stored(text));
    EXPECT_TRUE(testing::findValue(file, *k, text));
  }
}

TEST(WineRegistryFileValues, NamesDefaultAtAndMalformedNames) {
  const std::string name16383(16383, 'v');
  const std::string name16384(16384, 'w');
  const auto file = load(
      "[k]\n@=hex:01\n\"\"=hex:02\n\"@\"=hex:03\n@x=hex:04\n\"n\" \t= \thex:05\n"
      "\"nq\" hex:06\n\"open=hex:07\n\"" +
      name16383 + "\"=hex:08\n\"" + name16384 + "\"=hex:09\n  01,02\n");
  const auto k = keyAt(file, u"k");
  ASSERT_TRUE(k);
  EXPECT_EQ(valueNames(file, *k),
            (std::vector<std::u16string>{u"", u"@", u"n", std::u16string(16383, u'v')}));
  EXPECT_EQ(testing::findValue(file, *k, u"")->data, "\x02");  // "" is the default value too
  EXPECT_EQ(testing::findValue(file, *k, u"@")->data, "\x03");
  EXPECT_EQ(testing::findValue(file, *k, u"n")->data, "\x05");
}

TEST(WineRegistryFileValues, StringForms) {
  expectValues({
      {R"("v"="abc")", kRegSz, stored(u"abc")},
      {R"("v"="")", kRegSz, stored(u"")},
      {R"("v"=str:"abc")", kRegSz, stored(u"abc")},
      {R"("v"=str(2):"%PATH%\\x")", kRegExpandSz, stored(u"%PATH%\\x")},
      {R"("v"=str(7):"a\0b\0")", kRegMultiSz, stored(u"a\0b\0"s)},
      {R"("v"="a"="b"  ; note)", kRegSz, stored(u"a")},
      {R"("v" = "spaced")", kRegSz, stored(u"spaced")},
  });
}

TEST(WineRegistryFileValues, DwordForms) {
  expectValues({
      {"\"v\"=dword:0000002a", kRegDword, "\x2a\0\0\0"s},
      {"\"v\"=dword:2A junk", kRegDword, "\x2a\0\0\0"s},
      {"\"v\"=dword: 0x10", kRegDword, "\x10\0\0\0"s},
      {"\"v\"=dword:-1", kRegDword, "\xff\xff\xff\xff"s},
      {"\"v\"=dword:123456789", kRegDword, "\x89\x67\x45\x23"s},
      {"\"v\"=dword:fffffffffffffffffff", kRegDword, "\xff\xff\xff\xff"s},
      {"\"v\"=dword:", kRegDword, "\0\0\0\0"s},
      {"\"v\"=dword:zz", kRegDword, "\0\0\0\0"s},
  });
}

TEST(WineRegistryFileValues, HexForms) {
  expectValues({
      {"\"v\"=hex:01,02,ff", kRegBinary, "\x01\x02\xff"},
      {"\"v\"=hex:", kRegBinary, ""},
      {"\"v\"=hex:1,0001,A", kRegBinary, "\x01\x01\x0a"},
      {"\"v\"=hex:01 02\t03 ,04", kRegBinary, "\x01\x02\x03\x04"},
      {"\"v\"=hex:01,", kRegBinary, "\x01"},
      {"\"v\"=hex:0x10", kRegBinary, "\x10"},
      {"\"v\"=hex(2):41,00,00,00", kRegExpandSz, "A\0\0\0"s},
      {"\"v\"=hex(0x7):00", kRegMultiSz, "\0"s},
      {"\"v\"=hex():01", kRegNone, "\x01"},
      {"\"v\"=hex(b):01", 11, "\x01"},
      {"\"v\"=hex(63):01", 0x63, "\x01"},
      {"\"v\"=hex(-1):", 0xffffffffu, ""},
  });
}

TEST(WineRegistryFileValues, DamagedDataLeavesAnEmptyRegNone) {
  for (const std::string line :
       {"\"v\"=hex:100", "\"v\"=hex:01,,02", "\"v\"=hex: 01", "\"v\"=hex:01 x", "\"v\"=HEX:01",
        "\"v\"=DWORD:1", "\"v\"=str(1):\"a\"", "\"v\"=str(2): \"a\"", "\"v\"=hex (1):01",
        "\"v\"=hex(1:01", "\"v\"=hex( ):01", "\"v\"=\"open", "\"v\"=\"end\\",
        "\"v\"=", "\"v\"=word"}) {
    SCOPED_TRACE(line);
    const auto file = load("[k]\n\"v\"=hex:aa\n" + line + "\n");
    const auto value = onlyValue(file);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, kRegNone);
    EXPECT_EQ(value->data, "");
  }
}

TEST(WineRegistryFileValues, HexContinuationLines) {
  const auto file = load(
      "[k]\n\"many\"=hex:01,02,\\\n  03,\\\n\t04\n"
      "\"blank\"=hex:05,\\\n\n\"after\"=hex:06\n"
      "\"comment\"=hex:07,\\\n; not hex\n"
      "\"key\"=hex:08,\\\n[lost]\n\"stays\"=hex:09\n"
      "\"eof\"=hex:0a,\\\n");
  const auto k = keyAt(file, u"k");
  ASSERT_TRUE(k);
  EXPECT_EQ(testing::findValue(file, *k, u"many")->data, "\x01\x02\x03\x04");
  EXPECT_EQ(testing::findValue(file, *k, u"blank")->data, "\x05");
  EXPECT_EQ(testing::findValue(file, *k, u"after")->data, "\x06");
  EXPECT_EQ(testing::findValue(file, *k, u"comment")->type, kRegNone);
  // The key line was eaten by the failed continuation; what follows stays in [k].
  EXPECT_EQ(testing::findValue(file, *k, u"key")->type, kRegNone);
  EXPECT_FALSE(keyAt(file, u"lost"));
  EXPECT_EQ(testing::findValue(file, *k, u"stays")->data, "\x09");
  EXPECT_EQ(testing::findValue(file, *k, u"eof")->type, kRegNone);
  EXPECT_EQ(testing::findValue(file, *k, u"eof")->data, "");
}

TEST(WineRegistryFileOptions, ArchitectureLinksAndIgnoredOptions) {
  {
    const auto file = load(
        "#arch=win32\n\"orphan\"=hex:01\n[a]\n#time=1\n#class=\"c\"\n#x\n"
        "\"v\"=hex:01\n[l]\n#link\n");
    EXPECT_EQ(subkeyNames(file, WineRegistryFile::kRoot),
              (std::vector<std::u16string>{u"a", u"l"}));
    EXPECT_EQ(valueNames(file, *keyAt(file, u"a")), std::vector<std::u16string>{u"v"});
    EXPECT_FALSE(file.isLink(*keyAt(file, u"a")));
    EXPECT_TRUE(file.isLink(*keyAt(file, u"l")));
  }
  // Outside a key (here after a damaged key line), a bad or changed architecture stops the
  // load; what came before stays. Inside a key, "#arch" is an unknown key option.
  EXPECT_TRUE(keyAt(load("[a]\n#arch=x86\n[after]\n"), u"after"));
  for (const std::string stop :
       {"#arch=x86\n", "#arch=win64 \n", "#arch=win32\n#arch=win64\n", "#arch=\n"}) {
    SCOPED_TRACE(stop);
    const auto file = load("[before]\n[bad\n" + stop + "[after]\n");
    EXPECT_TRUE(keyAt(file, u"before"));
    EXPECT_FALSE(keyAt(file, u"after"));
  }
  EXPECT_TRUE(keyAt(load("#arch=win64\n#arch=win64\n#other\n[after]\n"), u"after"));
}

TEST(WineRegistryFileLimits, DeepWideAndLongInputs) {
  std::string deep = "[";
  for (int i = 0; i < 10000; ++i) deep += "d\\\\";
  deep += "leaf]\n\"v\"=hex:01\n";
  std::string wide;
  for (int i = 19999; i >= 0; --i) wide += "[w\\\\k" + std::to_string(i) + "]\n";
  const std::string longText(8 << 20, 'x');
  const auto file = load(deep + wide + "[long]\n\"s\"=\"" + longText + "\"\n");

  KeyId key = *keyAt(file, u"d");
  for (int i = 1; i < 10000; ++i) key = *file.findSubkey(key, u"D");
  ASSERT_TRUE(file.findSubkey(key, u"leaf"));
  const auto w = keyAt(file, u"w");
  ASSERT_EQ(file.subkeyCount(*w), 20000u);
  EXPECT_EQ(file.keyName(file.subkey(*w, 0)), u"k0");
  EXPECT_EQ(file.keyName(file.subkey(*w, 1)), u"k1");
  EXPECT_EQ(file.keyName(file.subkey(*w, 2)), u"k10");
  EXPECT_EQ(testing::findValue(file, *keyAt(file, u"long"), u"s")->data.size(),
            2 * longText.size() + 2);
}

TEST(WineRegistryFileLimits, ArbitraryBytesNeverBreakTheLoader) {
  std::string noise;
  std::uint32_t state = 12345;
  const std::string alphabet = "[]\\\"@#;=:,xX0123456789abcdefhexdwordstr() \t\r\n\x80\xC3\xA9\0"s;
  for (int i = 0; i < 400000; ++i) {
    state = state * 1664525u + 1013904223u;
    noise.push_back(alphabet[(state >> 16) % alphabet.size()]);
  }
  const auto file = load(noise);
  ASSERT_TRUE(file.isRegistry());
  // Every key's subkeys and values come out in order, without duplicates.
  for (std::vector<KeyId> pending{WineRegistryFile::kRoot}; !pending.empty();) {
    const KeyId key = pending.back();
    pending.pop_back();
    for (std::size_t i = 0; i < file.subkeyCount(key); ++i) {
      pending.push_back(file.subkey(key, i));
      if (i == 0) continue;
      EXPECT_LT(WineRegistryFile::compareNames(file.keyName(file.subkey(key, i - 1)),
                                               file.keyName(file.subkey(key, i))),
                0);
    }
    const std::vector<WineValue> values = testing::valuesOf(file, key);
    for (std::size_t i = 1; i < values.size(); ++i) {
      EXPECT_LT(WineRegistryFile::compareNames(values[i - 1].name, values[i].name), 0);
    }
  }
}

// The parse around the game's keys, of the whole text and of what WineSectionFilter keeps of it
// when it is handed over in parts of every size, gives the whole parse's game keys.
TEST(WineRegistryFileAround, TheGameKeysAreExactlyThoseOfTheWholeFile) {
  const auto readFile = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  const std::string game = "[Software\\\\Vircom\\\\T4C\\\\a\\\\Characters\\\\p\\\\Inventory] 1\n";
  const std::vector<std::pair<std::string, std::string>> files = {
      {"pfxA", readFile(SACOTIN_TEST_DATA "/wine/pfxA.user.reg")},
      {"pfxC", readFile(SACOTIN_TEST_DATA "/wine/pfxC.user.reg")},
      {"demo", readFile(SACOTIN_TEST_DATA "/../../demo/wine-prefix/user.reg")},
      // A hex list ending in a backslash takes the next line, even one that starts with '['.
      {"continuation", kHeader + "[Software\\\\Other] 1\n\"v\"=hex:01,\\\n" + game +
                           "\"ItemID0\"=hex:01,00\n[Software\\\\Other2] 1\n\"w\"=hex:01\\junk\n" +
                           "[Software\\\\Vircom\\\\T4C\\\\b] 1\n"},
      // A header after blanks, CR LF line ends, a NUL byte, other spellings merged.
      {"blanks",
       kHeader + "[Software\\\\Wine] 1\r\n\"a\0[b\"=\"c:\\\\x\"\r\n  " + game +
           "\"ItemID1\"=hex:02,00\r\n[software\\\\VIRCOM\\\\t4c\\\\A] 2\r\n\"x\"=dword:1\r\n"},
      // A damaged header of another key: what follows it is read as a full load reads it.
      {"damaged", kHeader + "[Software\\\\Other\n#arch=win64\n" + game + "\"ItemID0\"=hex:01,00\n"},
      {"link", kHeader + "[Software\\\\Vircom] 1\n#link\n" + game},
      {"wow64", kHeader + "[Software\\\\Wow6432Node\\\\Vircom\\\\T4C\\\\a] 1\n\"v\"=hex:03\n"},
      // Unrelated sections ending in a path, in a hex value cut by the end of the text, and one
      // whose hex value goes on into a line that looks like the game's header.
      {"unrelated", kHeader + "[A] 1\n\"p\"=\"C:\\\\x\"\n" + game +
                        "\"ItemID0\"=hex:01,00\n[B] 1\n" + "\"v\"=hex:01,\\\n" + game +
                        "\"ItemID1\"=hex:02,00\n[C]\n\"w\"=hex:01,\\"},
  };
  const std::vector<std::u16string_view> gameKeys = {u"Software\\Vircom\\T4C",
                                                     u"Software\\Wow6432Node\\Vircom\\T4C"};
  for (const auto& [name, text] : files) {
    ASSERT_FALSE(text.empty()) << name;
    const WineRegistryFile whole = parseWineRegistry(text);
    WineKeysAround around(std::string(text), gameKeys);
    for (const std::u16string_view key : gameKeys) {
      std::string difference;
      EXPECT_TRUE(testing::sameSubtree(whole, around, key, &difference))
          << name << ": " << difference;
    }
    for (const std::size_t partSize : {std::size_t{1}, std::size_t{7}, text.size()}) {
      WineSectionFilter filter(gameKeys);
      for (std::size_t at = 0; at < text.size(); at += partSize) {
        filter.append(std::string_view(text).substr(at, partSize));
      }
      WineKeysAround fromKept(filter.finish(), gameKeys);
      for (const std::u16string_view key : gameKeys) {
        std::string difference;
        EXPECT_TRUE(testing::sameSubtree(whole, fromKept, key, &difference))
            << name << " in parts of " << partSize << ": " << difference;
      }
    }
  }
}

}  // namespace
}  // namespace sacotin
