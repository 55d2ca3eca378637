// The user.reg loader on files no Wine would write but a disk, a crash or a hand may leave:
// every cut of a real file, and shapes that would cost a naive loader its stack or quadratic
// time. Each must load in time and proportion to its size, with what Wine would load.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "registry/wine/wine_registry_file.h"
#include "registry/wine/wine_registry_parser.h"
#include "support/wine_tree_queries.h"

namespace sacotin {
namespace {

using KeyId = WineRegistryFile::KeyId;

const std::string kHeader = "WINE REGISTRY Version 2\n#arch=win32\n";

std::string readFixture(const std::string& name) {
  // The seeds of the user.reg fuzzer: files written by Wine.
  const auto sourceRoot = std::filesystem::path(SACOTIN_TEST_DATA).parent_path().parent_path();
  std::ifstream file(sourceRoot / "fuzz" / "corpus" / "user_reg" / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Every key of the tree, walked without recursion; checks each can be found again by its name.
std::size_t walk(const WineRegistryFile& file) {
  std::vector<KeyId> pending{WineRegistryFile::kRoot};
  std::size_t keys = 0;
  while (!pending.empty()) {
    const KeyId key = pending.back();
    pending.pop_back();
    ++keys;
    for (std::size_t i = 0; i < file.subkeyCount(key); ++i) {
      const KeyId child = file.subkey(key, i);
      EXPECT_EQ(file.findSubkey(key, file.keyName(child)), child);
      pending.push_back(child);
    }
  }
  return keys;
}

std::optional<KeyId> open(const WineRegistryFile& file,
                          std::initializer_list<std::u16string_view> path) {
  KeyId key = WineRegistryFile::kRoot;
  for (const auto name : path) {
    const auto child = file.findSubkey(key, name);
    if (!child) return std::nullopt;
    key = *child;
  }
  return key;
}

TEST(WineHostileUserReg, EveryCutOfAWineWrittenFileLoadsWhatPrecedesTheCut) {
  const std::string whole = readFixture("pfxA.user.reg");
  ASSERT_GT(whole.size(), 10000u);
  const std::size_t wholeKeys = walk(parseWineRegistry(whole));
  std::size_t previousKeys = 0;
  // Cuts at many places, including inside escapes, hex lists and key lines.
  for (std::size_t cut = 0; cut <= whole.size(); cut += 37) {
    const WineRegistryFile file = parseWineRegistry(std::string_view(whole).substr(0, cut));
    const std::size_t keys = walk(file);
    // A longer piece of the same file never has fewer keys.
    EXPECT_GE(keys, previousKeys) << "cut at " << cut;
    EXPECT_LE(keys, wholeKeys);
    previousKeys = keys;
  }
}

TEST(WineHostileUserReg, TenThousandNestedKeysNeedNoDeepStack) {
  std::string path = "Software";
  for (int level = 0; level < 10000; ++level) path += "\\\\n";
  const WineRegistryFile file = parseWineRegistry(kHeader + "[" + path + "]\n\"v\"=dword:1\n");
  EXPECT_EQ(walk(file), 10002u);  // the root, Software and 10,000 keys "n"
  KeyId key = *file.findSubkey(WineRegistryFile::kRoot, u"software");
  for (int level = 0; level < 10000; ++level) key = *file.findSubkey(key, u"N");
  EXPECT_EQ(testing::valuesOf(file, key).size(), 1u);
}

TEST(WineHostileUserReg, OneKeyRepeatedInManySectionsAndCases) {
  std::string text = kHeader;
  for (int section = 0; section < 100000; ++section) {
    text += section % 2 ? "[Software\\\\Vircom]\n" : "[SOFTWARE\\\\vircom]\n";
    text += section % 3 ? "\"ItemID1\"=hex:01,00\n" : "\"itemid1\"=hex:02,00\n";
  }
  const WineRegistryFile file = parseWineRegistry(text);
  const auto key = open(file, {u"software", u"VIRCOM"});
  ASSERT_TRUE(key);
  EXPECT_EQ(file.keyName(*file.findSubkey(WineRegistryFile::kRoot, u"software")), u"SOFTWARE");
  ASSERT_EQ(testing::valuesOf(file, *key).size(), 1u);
  EXPECT_EQ(testing::valuesOf(file, *key)[0].name, u"itemid1");  // the first spelling
  EXPECT_EQ(testing::valuesOf(file, *key)[0].data,
            std::string("\x02\x00", 2));  // the last line's data
}

TEST(WineHostileUserReg, AHundredThousandValuesInReverseOrder) {
  std::string text = kHeader + "[K]\n";
  for (int value = 100000; value-- > 0;) {
    text += "\"v" + std::to_string(value) + "\"=dword:" + std::to_string(value) + "\n";
  }
  const WineRegistryFile file = parseWineRegistry(text);
  const KeyId key = *open(file, {u"K"});
  ASSERT_EQ(testing::valuesOf(file, key).size(), 100000u);
  EXPECT_EQ(testing::valuesOf(file, key)[0].name, u"v0");
  EXPECT_EQ(testing::valuesOf(file, key)[1].name, u"v1");
  EXPECT_EQ(testing::valuesOf(file, key)[2].name, u"v10");
}

TEST(WineHostileUserReg, LongRunsOfHexDigitsAfterAnEscape) {
  // \x takes four digits at most; the others are plain characters (a key name keeps within
  // 256 units, a value name within 16383).
  const std::string keyRun(200, 'a');
  const std::string nameRun(10000, 'b');
  const std::string dataRun(1000000, 'c');
  const WineRegistryFile file = parseWineRegistry(kHeader + "[K\\\\\\x" + keyRun + "]\n\"\\x" +
                                                  nameRun + "\"=\"\\x" + dataRun + "\"\n");
  const auto key = open(file, {u"K", u"\xaaaa" + std::u16string(keyRun.size() - 4, u'a')});
  ASSERT_TRUE(key);
  ASSERT_EQ(testing::valuesOf(file, *key).size(), 1u);
  EXPECT_EQ(testing::valuesOf(file, *key)[0].name,
            u"\xbbbb" + std::u16string(nameRun.size() - 4, u'b'));
  // UTF-16: the escaped unit, the other digits, the terminating NUL.
  EXPECT_EQ(testing::valuesOf(file, *key)[0].data.size(), 2 * (1 + dataRun.size() - 4 + 1));
}

TEST(WineHostileUserReg, OverlongValueNameIsDropped) {
  const WineRegistryFile file =
      parseWineRegistry(kHeader + "[K]\n\"" + std::string(16384, 'n') + "\"=dword:1\n");
  EXPECT_EQ(testing::valuesOf(file, *open(file, {u"K"})).size(), 0u);
}

TEST(WineHostileUserReg, AHundredThousandContinuationLines) {
  std::string text = kHeader + "[K]\n\"v\"=hex:01,\\\n";
  for (int line = 0; line < 100000; ++line) text += "  02,\\\n";
  text += "  03\n\"w\"=dword:7\n";
  const WineRegistryFile file = parseWineRegistry(text);
  const KeyId key = *open(file, {u"K"});
  ASSERT_EQ(testing::valuesOf(file, key).size(), 2u);
  EXPECT_EQ(testing::valuesOf(file, key)[0].data.size(), 100002u);
  EXPECT_EQ(testing::valuesOf(file, key)[1].name, u"w");
}

TEST(WineHostileUserReg, ContinuationAtTheEndOfTheFileLeavesAnEmptyValue) {
  const WineRegistryFile file = parseWineRegistry(kHeader + "[K]\n\"v\"=hex:01,02,\\");
  const KeyId key = *open(file, {u"K"});
  ASSERT_EQ(testing::valuesOf(file, key).size(), 1u);
  EXPECT_EQ(testing::valuesOf(file, key)[0].type, kRegNone);
  EXPECT_TRUE(testing::valuesOf(file, key)[0].data.empty());
}

TEST(WineHostileUserReg, HalfAMillionEmptyKeyLines) {
  std::string text = kHeader;
  for (int line = 0; line < 500000; ++line) text += "[]\n";
  text += "[A]\n[";  // and a last key line that never closes
  const WineRegistryFile file = parseWineRegistry(text);
  EXPECT_EQ(walk(file), 2u);
}

}  // namespace
}  // namespace sacotin
