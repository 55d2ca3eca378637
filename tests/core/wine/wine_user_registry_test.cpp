// The Wine prefix's hive as the program sees it: where the file is looked for, which files count
// as no registry at all, how paths open, how names and data come back, and when the file is read
// again.
#include "registry/wine/wine_user_registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/fifo_guard.h"
#include "support/scratch_folder.h"

namespace sacotin {
namespace {

using namespace std::string_literals;
using testing::ScratchFolder;

const std::string kHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to "
    "\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n";

std::vector<std::u16string> subkeys(OpenKey& key) {
  std::vector<std::u16string> names;
  key.forEachSubkey([&](const std::u16string& name) { names.push_back(name); });
  return names;
}

std::vector<std::pair<std::u16string, std::string>> values(OpenKey& key) {
  std::vector<std::pair<std::u16string, std::string>> all;
  key.forEachValue([&](std::u16string_view name, std::string_view data) {
    all.emplace_back(name, std::string(data));
  });
  return all;
}

class WineUserRegistryTest : public ::testing::Test {
 protected:
  std::unique_ptr<WineUserRegistry> registryWith(const std::string& body, int codePage = 1252) {
    const auto file = folder_.write("user.reg", kHeader + body);
    return std::make_unique<WineUserRegistry>(file.string(), makeAnsiCodePage(codePage));
  }

  ScratchFolder folder_;
};

TEST_F(WineUserRegistryTest, NoUsableFileMeansEveryOpenFails) {
  const auto missing = folder_.path() / "missing.reg";
  const auto notRegistry = folder_.write("plain.reg", "REGEDIT4\n[Software]\n");
  const auto bom = folder_.write("bom.reg", "\xEF\xBB\xBF" + kHeader + "[Software]\n");
  std::filesystem::create_directory(folder_.path() / "folder.reg");
  for (const auto& path : {missing, notRegistry, bom, folder_.path() / "folder.reg"}) {
    SCOPED_TRACE(path.string());
    WineUserRegistry registry(path.string(), makeAnsiCodePage(1252));
    EXPECT_FALSE(registry.openKey(u""));
    EXPECT_FALSE(registry.openKey(u"Software"));
  }
  WineUserRegistry nowhere("", makeAnsiCodePage(1252));
  EXPECT_FALSE(nowhere.openKey(u""));
}

TEST_F(WineUserRegistryTest, AFileOverOneGibibyteIsNotRead) {
  // A sparse file: its size is over the limit, its text a valid registry.
  const auto path = folder_.write("user.reg", kHeader + "[Software]\n");
  std::filesystem::resize_file(path, WineRegistryFile::kMaxFileSize + 1);
  WineUserRegistry registry(path.string(), makeAnsiCodePage(1252));
  EXPECT_FALSE(registry.openKey(u"Software"));
  std::filesystem::resize_file(path, kHeader.size() + 11);
  EXPECT_TRUE(registry.openKey(u"Software"));
}

TEST_F(WineUserRegistryTest, AFifoIsNeitherReadNorWaitedFor) {
  const auto fifo = folder_.path() / "user.reg";
  testing::FifoGuard guard(fifo, std::chrono::seconds(5));
  ASSERT_TRUE(guard.created());
  WineUserRegistry registry(fifo.string(), makeAnsiCodePage(1252));
  EXPECT_FALSE(registry.openKey(u""));
  EXPECT_FALSE(guard.fired());
}

TEST_F(WineUserRegistryTest, PathsOpenAsInWine) {
  const std::string name256(256, 'n');
  auto registry = registryWith("[Software\\\\Vircom\\\\T4C\\\\acc]\n[Software\\\\" + name256 +
                               "]\n[Software\\\\lnk]\n#link\n[Software\\\\lnk\\\\below]\n"
                               "[Software\\\\a/b]\n");
  struct Case {
    std::u16string path;
    bool opens;
  };
  const std::u16string long256(256, u'n');
  const std::u16string long257(257, u'n');
  const std::vector<Case> cases = {
      {u"", true},
      {u"Software\\Vircom\\T4C", true},
      {u"SOFTWARE\\vircom\\t4c\\ACC", true},
      {u"Software\\\\Vircom\\\\\\T4C", true},
      {u"Software\\Vircom\\T4C\\\\", true},
      {u"\\Software", false},
      {u"\\", false},
      {u"Software/Vircom", false},
      {u"Software\\a/b", true},
      {u"Software\\Nope", false},
      {u"Software\\Nope\\Vircom", false},
      {u"Software\\" + long256, true},
      {u"Software\\" + long257, false},
      {u"Software\\lnk", false},  // a symbolic link leads outside the file
      {u"Software\\lnk\\below", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
    EXPECT_EQ(bool(registry->openKey(c.path)), c.opens);
  }
  // Enumeration still lists the link by its name.
  auto software = registry->openKey(u"Software");
  ASSERT_TRUE(software);
  EXPECT_EQ(subkeys(*software), (std::vector<std::u16string>{u"a/b", u"lnk", long256, u"Vircom"}));
}

TEST_F(WineUserRegistryTest, LongPathsAndNamesComeBackWhole) {
  // Wine's ANSI calls refuse paths of 261 bytes or more, answer 234 for names of 255 bytes or
  // more and for data over the caller's buffer; here all of it comes whole.
  const std::string account(255, 'L');
  const std::string valueName = "ItemI" + std::string(295, 'L');
  std::string hex;
  for (int i = 0; i < 300; ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, "%02x,", i % 256);
    hex += byte;
  }
  auto registry = registryWith("[T4C\\\\" + account + "\\\\Characters\\\\c\\\\Inventory]\n\"" +
                               valueName + "\"=hex:2a,00\n\"Big\"=hex:" + hex + "\n");
  const std::u16string wideAccount(255, u'L');
  auto accounts = registry->openKey(u"T4C");
  ASSERT_TRUE(accounts);
  EXPECT_EQ(subkeys(*accounts), std::vector<std::u16string>{wideAccount});
  auto inventory = registry->openKey(u"T4C\\" + wideAccount + u"\\Characters\\c\\Inventory");
  ASSERT_TRUE(inventory);
  const auto all = values(*inventory);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].first, u"Big");
  EXPECT_EQ(all[0].second.size(), 300u);
  EXPECT_EQ(all[0].second[299], '\x2b');
  EXPECT_EQ(all[1].first, u"ItemI" + std::u16string(295, u'L'));
  EXPECT_EQ(all[1].second, "\x2a\0"s);
}

TEST_F(WineUserRegistryTest, NamesKeepTheirExactTextWhateverTheCodePage) {
  auto registry = registryWith(
      "[T4C\\\\\\x416\\x443\\x43a\\\\Characters\\\\\\x41f\\x451\\x442\\x440\\\\Inventory]\n"
      "\"ItemID\\x416\"=hex:02,00\n");
  auto accounts = registry->openKey(u"T4C");
  ASSERT_TRUE(accounts);
  const auto names = subkeys(*accounts);
  ASSERT_EQ(names, std::vector<std::u16string>{u"\u0416\u0443\u043a"});
  // Code page 1252 turns the name into "???"; the exact name still reopens the key.
  EXPECT_FALSE(registry->openKey(u"T4C\\???\\Characters"));
  auto inventory =
      registry->openKey(u"T4C\\" + names[0] + u"\\Characters\\\u041f\u0451\u0442\u0440\\Inventory");
  ASSERT_TRUE(inventory);
  EXPECT_EQ(values(*inventory)[0].first, u"ItemID\u0416");
}

TEST_F(WineUserRegistryTest, StringDataIsConvertedWholeToTheAnsiCodePage) {
  const std::string body =
      "[k]\n\"a_sz\"=\"abc\"\n\"b_empty\"=\"\"\n\"c_raw_sz\"=hex(1):41,00,42,00\n"
      "\"d_odd\"=hex(1):41,00,42\n\"e_none\"=hex(1):\n\"f_multi\"=str(7):\"a\\0b\\0\"\n"
      "\"g_embedded\"=hex(1):41,00,00,00,42,00,00,00\n\"h_expand\"=str(2):\"%P%\"\n"
      "\"i_hex7\"=hex(7):41,00,00,00,00,00\n\"j_euro\"=\"\\x20ac\\xe9\\x416\"\n"
      "\"k_bin\"=hex:41,00,42\n\"l_dword\"=dword:000004d2\n\"m_regnone\"=hex(0):01,02\n"
      "\"n_bad\"=\"unterminated\n";
  const std::vector<std::pair<std::u16string, std::string>> cp1252 = {
      {u"a_sz", "abc\0"s},
      {u"b_empty", "\0"s},
      {u"c_raw_sz", "AB"},
      {u"d_odd", "A"},
      {u"e_none", ""},
      {u"f_multi", "a\0b\0\0"s},
      {u"g_embedded", "A\0B\0"s},
      {u"h_expand", "%P%\0"s},
      {u"i_hex7", "A\0\0"s},
      {u"j_euro", "\x80\xe9?\0"s},
      {u"k_bin", "A\0B"s},
      {u"l_dword", "\xd2\x04\0\0"s},
      {u"m_regnone", "\x01\x02"},
      {u"n_bad", ""},
  };
  auto registry = registryWith(body);
  auto key = registry->openKey(u"k");
  ASSERT_TRUE(key);
  EXPECT_EQ(values(*key), cp1252);

  auto cyrillic = registryWith(body, 1251);
  auto key1251 = cyrillic->openKey(u"k");
  ASSERT_TRUE(key1251);
  EXPECT_EQ(values(*key1251)[9].second, "\x88\x65\xc6\0"s);  // € é Ж in code page 1251
}

TEST_F(WineUserRegistryTest, TheFileIsReadOnceUntilItChanges) {
  const auto path = folder_.write("user.reg", kHeader + "[a]\n\"v\"=hex:01\n");
  WineUserRegistry registry(path.string(), makeAnsiCodePage(1252));
  EXPECT_EQ(registry.parseCount(), 0);
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(registry.openKey(u"a"));
  EXPECT_FALSE(registry.openKey(u"b"));
  EXPECT_EQ(registry.parseCount(), 1);

  // Same size, rewritten in place: the modification time tells.
  auto held = registry.openKey(u"a");
  folder_.write("user.reg", kHeader + "[b]\n\"v\"=hex:02\n");
  timespec times[2] = {{0, UTIME_OMIT}, {1700000000, 123456789}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  EXPECT_FALSE(registry.openKey(u"a"));
  ASSERT_TRUE(registry.openKey(u"b"));
  EXPECT_EQ(registry.parseCount(), 2);
  // A key opened before keeps answering from what it was opened on.
  EXPECT_EQ(values(*held), (std::vector<std::pair<std::u16string, std::string>>{{u"v", "\x01"}}));

  // Replaced by a rename, as wineserver saves it, even with the same size and time.
  const auto next = folder_.write("reg123.tmp", kHeader + "[c]\n\"v\"=hex:03\n");
  ASSERT_EQ(utimensat(AT_FDCWD, next.c_str(), times, 0), 0);
  std::filesystem::rename(next, path);
  EXPECT_TRUE(registry.openKey(u"c"));
  EXPECT_EQ(registry.parseCount(), 3);

  // Gone, then back.
  std::filesystem::remove(path);
  EXPECT_FALSE(registry.openKey(u""));
  folder_.write("user.reg", kHeader + "[d]\n");
  EXPECT_TRUE(registry.openKey(u"d"));
  EXPECT_EQ(registry.parseCount(), 4);
}

// The game's values are taken over from the version before only where their lines are the same.
TEST_F(WineUserRegistryTest, EachVersionShowsTheGameValuesItHolds) {
  using Values = std::vector<std::pair<std::u16string, std::string>>;
  const std::string game = "[Software\\\\Vircom\\\\T4C\\\\a\\\\Characters\\\\";
  const auto write = [&](const std::string& first, const std::string& second, long seconds) {
    const auto path = folder_.write("user.reg", kHeader + game + "x\\\\Inventory]\n" + first +
                                                    game + "y\\\\Inventory]\n" + second);
    timespec times[2] = {{0, UTIME_OMIT}, {seconds, 0}};
    EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    return path;
  };
  const auto inventory = [](WineUserRegistry& registry, const char16_t* character) {
    auto key = registry.openKey(std::u16string(u"Software\\Vircom\\T4C\\a\\Characters\\") +
                                character + u"\\Inventory");
    return key ? values(*key) : Values{};
  };
  const auto path = write("\"ItemID1\"=hex:01\n", "\"ItemID1\"=hex:02\n", 1700000000);
  WineUserRegistry registry(path.string(), makeAnsiCodePage(1252));
  EXPECT_EQ(inventory(registry, u"x"), (Values{{u"ItemID1", "\x01"}}));
  EXPECT_EQ(inventory(registry, u"y"), (Values{{u"ItemID1", "\x02"}}));
  // One character's lines change, the other's stay; then the first goes back to its old lines,
  // and the second gains a line that only a full read of its lines tells.
  write("\"ItemID1\"=hex:05\n", "\"ItemID1\"=hex:02\n", 1700000001);
  EXPECT_EQ(inventory(registry, u"x"), (Values{{u"ItemID1", "\x05"}}));
  EXPECT_EQ(inventory(registry, u"y"), (Values{{u"ItemID1", "\x02"}}));
  write("\"ItemID1\"=hex:01\n", "\"ItemID1\"=hex:02\n\"ItemID1\"=hex:03\n", 1700000002);
  EXPECT_EQ(inventory(registry, u"x"), (Values{{u"ItemID1", "\x01"}}));
  EXPECT_EQ(inventory(registry, u"y"), (Values{{u"ItemID1", "\x03"}}));
  EXPECT_EQ(registry.parseCount(), 3);
}

// A large prefix's file is read a block ahead on a second thread: sections met anywhere, across
// the blocks' edges included, come out whole and once.
TEST_F(WineUserRegistryTest, TheGameKeysOfALargeFileComeOutWhole) {
  constexpr int kCharacters = 64;
  std::string body;
  for (int character = 0; character < kCharacters; ++character) {
    for (int filler = 0; filler < 1000; ++filler) {
      body += "[Software\\\\Filler\\\\" + std::to_string(character * 1000 + filler) +
              "] 0\n\"v\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14\n";
    }
    body += "[Software\\\\Vircom\\\\T4C\\\\a\\\\Characters\\\\c" + std::to_string(character) +
            "\\\\Inventory] 0\n\"ItemID1\"=hex:" + std::to_string(10 + character) + ",00\n";
  }
  auto registry = registryWith(body);
  ASSERT_GT(std::filesystem::file_size(folder_.path() / "user.reg"), std::uintmax_t{6} << 20);
  for (int character = 0; character < kCharacters; ++character) {
    const std::string path =
        "Software\\Vircom\\T4C\\a\\Characters\\c" + std::to_string(character) + "\\Inventory";
    auto inventory = registry->openKey(std::u16string(path.begin(), path.end()));
    ASSERT_TRUE(inventory) << path;
    const std::string number = std::to_string(10 + character);  // read as hex digits
    const char low = static_cast<char>(std::stoi(number, nullptr, 16));
    EXPECT_EQ(
        values(*inventory),
        (std::vector<std::pair<std::u16string, std::string>>{{u"ItemID1", std::string{low, '\0'}}}))
        << path;
  }
  EXPECT_EQ(registry->parseCount(), 1);
}

}  // namespace
}  // namespace sacotin
