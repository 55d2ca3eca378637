// Replays, on our reader, what a probe program recorded from Wine 8's RegOpenKeyA /
// RegEnumKeyExA / RegEnumValueA on real prefixes (tests/data/wine/*.probe*.txt, next to the
// user.reg files Wine wrote for those prefixes). The probe walked the game's tree with 255-byte
// buffers; where Wine answered 234 (name or data longer than the buffer, path longer than 260
// bytes) we expect the whole answer instead, taken from the probe's big-buffer calls.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "registry/wine/wine_user_registry.h"

namespace sacotin {
namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string dataPath(const std::string& name) {
  return std::string(SACOTIN_TEST_DATA) + "/wine/" + name;
}

// "61 5b 62" -> bytes
std::string hexBytes(const std::string& text) {
  std::string bytes;
  std::istringstream in(text);
  std::string token;
  while (in >> token) {
    if (token.size() != 2 || !std::isxdigit(static_cast<unsigned char>(token[0])) ||
        !std::isxdigit(static_cast<unsigned char>(token[1]))) {
      break;  // "20 x255": the probe's short form of an untouched buffer
    }
    bytes.push_back(static_cast<char>(std::stoi(token, nullptr, 16)));
  }
  return bytes;
}

// The probe's |text| form: printable ASCII, other bytes as \xNN.
std::string probeText(const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x') {
      bytes.push_back(static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16)));
      i += 3;
    } else {
      bytes.push_back(text[i]);
    }
  }
  return bytes;
}

struct KeyLine {
  int rc = 0;
  std::string name;  // the bytes Wine wrote before the NUL (rc 0)
};

struct BigKeyLine {
  unsigned length = 0;
  std::string firstBytes;
};

struct ValueLine {
  int rc = 0;
  unsigned nameLength = 0;
  unsigned dataLength = 0;
  std::string name;
  std::string data;  // what the probe printed of the data buffer
};

struct BigValueLine {
  unsigned nameLength = 0;
  unsigned dataLength = 0;
  std::string namePrefix;
  std::string dataPrefix;
};

struct Character {
  int openRc = 0;
  std::vector<ValueLine> values;
  std::vector<BigValueLine> bigValues;
};

struct Account {
  int openRc = 0;
  int stepAccount = -1;
  int stepCharacters = -1;
  std::vector<KeyLine> characters;
  std::vector<Character> characterKeys;
};

struct Probe {
  int acp = 0;
  std::vector<KeyLine> accounts;
  std::vector<BigKeyLine> bigAccounts;
  std::vector<Account> accountKeys;
  std::vector<std::pair<std::string, int>> opens;  // label, rc
};

Probe readProbe(const std::string& name) {
  static const std::regex acp(R"(^GetACP\(\)=(\d+))");
  static const std::regex enumKey(
      R"(^  (T4C|Characters) RegEnumKeyExA idx=\d+ rc=(\d+) \S+ nameLength=\d+ name\(([^)]*)\)=(.*)$)");
  static const std::regex bigKey(
      R"(^  \[suppl\] idx=\d+ rc=0 nameLength=(\d+) first bytes=\|(.*)\|)");
  static const std::regex account(
      R"(^== account #\d+ .*: RegOpenKeyA\(HKCU, BASE\\<account>\\Characters\) \[path length \d+\] rc=(\d+))");
  static const std::regex stepWise(
      R"(^   \[suppl\] step-wise RegOpenKeyA\(hT4C, "<account>"\) rc=(-?\d+), then RegOpenKeyA\(hAccount, "Characters"\) rc=(-?\d+))");
  static const std::regex character(
      R"(^   -- character #\d+ .*: RegOpenKeyA\(HKCU, \.\.\.\\Characters\\<char>\\Inventory\) \[path length \d+\] rc=(\d+))");
  static const std::regex enumValue(
      R"(^      RegEnumValueA idx=\d+ rc=(\d+) \S+ nameLength=(\d+) dataLength=(\d+) name\(([^)]*)\)=(.*)$)");
  static const std::regex bigValue(
      R"(^      \[suppl\] idx=\d+ rc=0 type=\d+ \S+ nameLength=(\d+) dataLength=(\d+) name=\|(.*)\|(?:\.\.\.\(\d+ chars\))? data=([0-9a-f ]*))");
  static const std::regex open(R"(^OPEN (.*?) +rc=(\d+) )");

  Probe probe;
  std::istringstream in(readFile(dataPath(name)));
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // Wine's console wrote CR LF
    if (std::regex_search(line, m, acp)) {
      probe.acp = std::stoi(m[1]);
    } else if (std::regex_search(line, m, enumKey)) {
      KeyLine key{std::stoi(m[2]), {}};
      const std::string rest = m[4];
      if (key.rc == 0) key.name = hexBytes(rest.substr(0, rest.find('|')));
      if (m[1] == "T4C") {
        probe.accounts.push_back(key);
      } else {
        probe.accountKeys.back().characters.push_back(key);
      }
    } else if (std::regex_search(line, m, bigKey)) {
      probe.bigAccounts.push_back({static_cast<unsigned>(std::stoul(m[1])), probeText(m[2])});
    } else if (std::regex_search(line, m, account)) {
      probe.accountKeys.push_back(Account{std::stoi(m[1]), -1, -1, {}, {}});
    } else if (std::regex_search(line, m, stepWise)) {
      probe.accountKeys.back().stepAccount = std::stoi(m[1]);
      probe.accountKeys.back().stepCharacters = std::stoi(m[2]);
    } else if (std::regex_search(line, m, character)) {
      probe.accountKeys.back().characterKeys.push_back(Character{std::stoi(m[1]), {}, {}});
    } else if (std::regex_search(line, m, enumValue)) {
      ValueLine value{std::stoi(m[1]),
                      static_cast<unsigned>(std::stoul(m[2])),
                      static_cast<unsigned>(std::stoul(m[3])),
                      {},
                      {}};
      const std::string rest = m[5];
      value.name = hexBytes(rest.substr(0, rest.find('|')));
      if (const auto at = rest.find(" data[0.."); at != std::string::npos) {
        const std::string data = rest.substr(rest.find("=", at) + 1);
        value.data = hexBytes(data.substr(0, data.find('(')));
      }
      probe.accountKeys.back().characterKeys.back().values.push_back(value);
    } else if (std::regex_search(line, m, bigValue)) {
      probe.accountKeys.back().characterKeys.back().bigValues.push_back(
          {static_cast<unsigned>(std::stoul(m[1])), static_cast<unsigned>(std::stoul(m[2])),
           probeText(m[3]), hexBytes(m[4])});
    } else if (std::regex_search(line, m, open)) {
      probe.opens.emplace_back(m[1], std::stoi(m[2]));
    }
  }
  return probe;
}

std::u16string path(std::initializer_list<std::u16string_view> parts) {
  std::u16string joined;
  for (const auto part : parts) {
    if (!joined.empty()) joined += u'\\';
    joined += part;
  }
  return joined;
}

std::vector<std::u16string> subkeys(OpenKey& key) {
  std::vector<std::u16string> names;
  key.forEachSubkey([&](const std::u16string& name) { names.push_back(name); });
  return names;
}

struct Value {
  std::u16string name;
  std::string data;
};

std::vector<Value> values(OpenKey& key) {
  std::vector<Value> all;
  key.forEachValue([&](std::u16string_view name, std::string_view data) {
    all.push_back({std::u16string(name), std::string(data)});
  });
  return all;
}

// The paths the probe opened, by the label it printed for them (bytes in the ANSI code page).
std::map<std::string, std::string> probePaths() {
  std::map<std::string, std::string> paths = {
      {"different case SOFTWARE\\VIRCOM\\t4c", "SOFTWARE\\VIRCOM\\t4c"},
      {"case, deep ...COMPTE1\\characters\\PERSO1\\INVENTORY",
       "SOFTWARE\\vircom\\T4C\\COMPTE1\\characters\\PERSO1\\INVENTORY"},
      {"double backslash T4C\\\\Characters", "Software\\Vircom\\T4C\\\\Characters"},
      {"double backslash Vircom\\\\T4C", "Software\\Vircom\\\\T4C"},
      {"double bs T4C\\\\compte1\\Characters", "Software\\Vircom\\T4C\\\\compte1\\Characters"},
      {"trailing backslash T4C\\", "Software\\Vircom\\T4C\\"},
      {"trailing backslash T4C\\compte1\\Characters\\",
       "Software\\Vircom\\T4C\\compte1\\Characters\\"},
      {"two trailing backslashes T4C\\\\", "Software\\Vircom\\T4C\\\\"},
      {"leading backslash \\Software\\Vircom\\T4C", "\\Software\\Vircom\\T4C"},
      {"forward slashes Software/Vircom/T4C", "Software/Vircom/T4C"},
      {"empty string \"\"", ""},
      {"NULL", ""},
      {"cp1252 bytes e9 74 e9 (\"\xe9t\xe9\")\\Characters",
       "Software\\Vircom\\T4C\\\xe9t\xe9\\Characters"},
      {"UTF-8 bytes c3a9 74 c3a9 \\Characters",
       "Software\\Vircom\\T4C\\\xc3\xa9t\xc3\xa9\\Characters"},
      {"cp1252 upper-case C9 54 C9 \\Characters", "Software\\Vircom\\T4C\\\xc9T\xc9\\Characters"},
      {"a[b]c\\Characters", "Software\\Vircom\\T4C\\a[b]c\\Characters"},
      {"quote\"name\\Characters", "Software\\Vircom\\T4C\\quote\"name\\Characters"},
      {"Compte2\\Characters (absent)", "Software\\Vircom\\T4C\\Compte2\\Characters"},
      {"zeta\\Characters\\noinv\\Inventory (absent)",
       "Software\\Vircom\\T4C\\zeta\\Characters\\noinv\\Inventory"},
  };
  for (const int length : {255, 256, 258, 259, 260, 261, 262, 300, 1000}) {
    std::string p = "Software\\Vircom\\T4C\\";
    p.resize(static_cast<std::size_t>(length), 'n');
    paths["N=" + std::to_string(length)] = p;
  }
  for (const int length : {258, 259, 260, 261}) {
    std::string p = "Software\\Vircom";
    p.resize(static_cast<std::size_t>(length - 4), '\\');
    paths["existing T4C via padding backslashes, N=" + std::to_string(length)] = p + "\\T4C";
  }
  return paths;
}

class WineProbeTest : public ::testing::TestWithParam<std::tuple<const char*, const char*, int>> {
 protected:
  void SetUp() override {
    const auto [userReg, probeFile, codePage] = GetParam();
    probe_ = readProbe(probeFile);
    ASSERT_EQ(probe_.acp, codePage);
    codePage_ = makeAnsiCodePage(codePage);
    registry_ = std::make_unique<WineUserRegistry>(dataPath(userReg), makeAnsiCodePage(codePage));
  }

  std::string ansi(std::u16string_view text) const { return codePage_->encode(text); }

  // Whether the name survives the trip through the ANSI code page (Wine's caller then reopens
  // the key through what it got back).
  bool survivesAnsi(const std::u16string& name) const {
    return WineRegistryFile::compareNames(codePage_->decode(ansi(name)), name) == 0;
  }

  Probe probe_;
  std::unique_ptr<AnsiCodePage> codePage_;
  std::unique_ptr<WineUserRegistry> registry_;
};

TEST_P(WineProbeTest, AccountsComeInWinesOrderWithWholeNames) {
  auto root = registry_->openKey(u"Software\\Vircom\\T4C");
  ASSERT_TRUE(root);
  const auto accounts = subkeys(*root);
  ASSERT_EQ(accounts.size() + 1, probe_.accounts.size());
  EXPECT_EQ(probe_.accounts.back().rc, 259);
  for (std::size_t i = 0; i < accounts.size(); ++i) {
    SCOPED_TRACE("account #" + std::to_string(i));
    const auto& expected = probe_.accounts[i];
    if (expected.rc == 0) {
      EXPECT_EQ(ansi(accounts[i]), expected.name);
    } else {
      // Wine: 234 with the buffer untouched (name of 255 bytes or more). We hand over the whole
      // name, which the probe read with a bigger buffer.
      ASSERT_EQ(expected.rc, 234);
      EXPECT_EQ(ansi(accounts[i]).size(), probe_.bigAccounts[i].length);
      EXPECT_EQ(ansi(accounts[i]).substr(0, probe_.bigAccounts[i].firstBytes.size()),
                probe_.bigAccounts[i].firstBytes);
    }
  }
}

TEST_P(WineProbeTest, CharactersAndInventoriesMatchWine) {
  auto root = registry_->openKey(u"Software\\Vircom\\T4C");
  ASSERT_TRUE(root);
  const auto accounts = subkeys(*root);
  ASSERT_EQ(accounts.size(), probe_.accountKeys.size());
  for (std::size_t a = 0; a < accounts.size(); ++a) {
    SCOPED_TRACE("account #" + std::to_string(a));
    const Account& expected = probe_.accountKeys[a];
    auto characters =
        registry_->openKey(path({u"Software\\Vircom\\T4C", accounts[a], u"Characters"}));
    if (expected.openRc == 234) {
      // Wine refuses paths over 260 bytes; the key is there, as its step-by-step opens show.
      EXPECT_EQ(bool(characters), expected.stepAccount == 0 && expected.stepCharacters == 0);
      continue;
    }
    if (expected.openRc != 0 && !survivesAnsi(accounts[a])) {
      // Wine's caller lost the name in the ANSI code page and could not reopen the key; ours
      // keeps the exact name, and the path Wine's caller used still fails.
      EXPECT_TRUE(characters);
      const auto lossy = codePage_->decode(ansi(accounts[a]));
      EXPECT_FALSE(registry_->openKey(path({u"Software\\Vircom\\T4C", lossy, u"Characters"})));
      continue;
    }
    ASSERT_EQ(bool(characters), expected.openRc == 0);
    if (!characters) continue;

    const auto names = subkeys(*characters);
    ASSERT_EQ(names.size() + 1, expected.characters.size());
    ASSERT_EQ(names.size(), expected.characterKeys.size());
    for (std::size_t c = 0; c < names.size(); ++c) {
      SCOPED_TRACE("character #" + std::to_string(c));
      ASSERT_EQ(expected.characters[c].rc, 0);
      EXPECT_EQ(ansi(names[c]), expected.characters[c].name);
      const Character& character = expected.characterKeys[c];
      auto inventory = registry_->openKey(
          path({u"Software\\Vircom\\T4C", accounts[a], u"Characters", names[c], u"Inventory"}));
      if (character.openRc != 0 && !survivesAnsi(names[c])) {
        EXPECT_TRUE(inventory);
        continue;
      }
      ASSERT_EQ(bool(inventory), character.openRc == 0);
      if (!inventory) continue;
      const auto all = values(*inventory);
      ASSERT_EQ(all.size() + 1, character.values.size());
      ASSERT_EQ(all.size(), character.bigValues.size());
      EXPECT_EQ(character.values.back().rc, 259);
      for (std::size_t v = 0; v < all.size(); ++v) {
        SCOPED_TRACE("value #" + std::to_string(v));
        const ValueLine& line = character.values[v];
        const BigValueLine& big = character.bigValues[v];
        if (line.rc == 0) {
          EXPECT_EQ(ansi(all[v].name), line.name);
          EXPECT_EQ(all[v].data, line.data.substr(0, line.dataLength));
          EXPECT_EQ(all[v].data.size(), line.dataLength);
        } else {
          // Wine: 234, the name truncated to 254 bytes or the data left untouched. We hand over
          // the whole name and data, as the probe's big-buffer call got them.
          ASSERT_EQ(line.rc, 234);
          EXPECT_EQ(ansi(all[v].name).size(), big.nameLength);
          EXPECT_EQ(ansi(all[v].name).substr(0, big.namePrefix.size()), big.namePrefix);
          EXPECT_EQ(all[v].data.size(), big.dataLength);
          EXPECT_EQ(all[v].data.substr(0, big.dataPrefix.size()), big.dataPrefix);
        }
      }
    }
  }
}

TEST_P(WineProbeTest, PathFormsOpenAsInWine) {
  const auto paths = probePaths();
  ASSERT_FALSE(probe_.opens.empty());
  for (const auto& [label, rc] : probe_.opens) {
    SCOPED_TRACE(label);
    const auto found = paths.find(label);
    ASSERT_NE(found, paths.end());
    const bool opened = bool(registry_->openKey(codePage_->decode(found->second)));
    if (rc == 234) {
      // Wine's ANSI call refuses paths of 261 bytes or more; we walk them like any other.
      EXPECT_EQ(opened, label.find("existing T4C") == 0);
    } else {
      EXPECT_EQ(opened, rc == 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, WineProbeTest,
    ::testing::Values(std::make_tuple("pfxA.user.reg", "pfxA.probe.txt", 1252),
                      std::make_tuple("pfxC.user.reg", "pfxC.probe.txt", 1252),
                      std::make_tuple("pfxA.user.reg", "pfxA.probe.ru_RU.txt", 1251)),
    [](const auto& info) {
      return std::string(std::get<1>(info.param)).find("ru_RU") != std::string::npos
                 ? std::string("pfxA_cp1251")
                 : std::string(std::get<0>(info.param)).substr(0, 4) + "_cp1252";
    });

}  // namespace
}  // namespace sacotin
