// The registry backend of this platform against a registry written by Wine itself.
//
// tools/test-windows.sh builds a Wine prefix from tests/data/registry/conformance-tree.utf8.reg
// (plus tests/support/write_raw_strings_win32.cpp) and runs these tests twice: the Windows
// build under Wine, reading through advapi32, and the Linux build, reading the prefix's
// user.reg. Both compare against the expectations below, which follow what Wine's ANSI
// registry functions hand over, with two deliberate differences: names and data are always
// whole (however long), and names keep their exact text (also letters Windows-1252 lacks).
//
// The tests run only when SACOTIN_REGISTRY_CONFORMANCE is set (on Linux, WINEPREFIX names the
// prefix); the ANSI code page must be 1252 (LANG=C.UTF-8, for instance).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue.h"
#include "current_user/current_user_registry.h"
#include "encodings/ansi_code_page.h"
#include "registry/game_registry.h"
#include "registry/item_number.h"
#include "registry/registry_backend.h"

namespace sacotin {
namespace {

using Value = std::pair<std::u16string, std::string>;

std::string utf8(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// Long names are listed by their first characters and their length.
std::string describeName(std::u16string_view name) {
  if (name.size() <= 40) return utf8(name);
  return utf8(name.substr(0, 5)) + "... (" + std::to_string(name.size()) + " characters)";
}

std::string describeData(std::string_view data) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  const std::size_t shown = data.size() <= 12 ? data.size() : 4;
  for (std::size_t i = 0; i < shown; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    if (i > 0) out += ' ';
    out += digits[byte >> 4];
    out += digits[byte & 15];
  }
  if (data.empty()) out = "(no data)";
  if (shown < data.size()) out += " ... (" + std::to_string(data.size()) + " bytes)";
  return out;
}

std::vector<std::u16string> subkeysOf(OpenKey& key) {
  std::vector<std::u16string> names;
  key.forEachSubkey([&](const std::u16string& name) { names.push_back(name); });
  return names;
}

std::vector<Value> valuesOf(OpenKey& key) {
  std::vector<Value> values;
  key.forEachValue([&](std::u16string_view name, std::string_view data) {
    values.emplace_back(name, std::string(data));
  });
  return values;
}

// What the program shows of the game's tree: every account with its position, every
// character, and the item numbers of every inventory, opening one key at a time.
std::string listGameTree(RegistryBackend& backend) {
  GameRegistry registry(backend);
  auto accountsKey = registry.openAccounts();
  if (!accountsKey) return "no accounts key\n";
  const auto accounts = subkeysOf(*accountsKey);
  accountsKey.reset();
  std::string out;
  for (std::size_t a = 0; a < accounts.size(); ++a) {
    out += std::to_string(a) + " " + describeName(accounts[a]);
    auto charactersKey = registry.openCharacters(accounts[a]);
    if (!charactersKey) {
      out += ": no Characters key\n";
      continue;
    }
    const auto characters = subkeysOf(*charactersKey);
    charactersKey.reset();
    out += "\n";
    for (std::size_t c = 0; c < characters.size(); ++c) {
      out += "  " + std::to_string(c) + " " + describeName(characters[c]) + ":";
      auto inventory = registry.openInventory(accounts[a], characters[c]);
      if (!inventory) {
        out += " no Inventory key\n";
        continue;
      }
      GameRegistry::forEachInventorySlot(*inventory, [&](std::string_view data) {
        out += " " + utf8(itemNumberText(itemNumber(data)));
      });
      out += "\n";
    }
  }
  return out;
}

std::string listValues(RegistryBackend& backend, std::u16string_view path) {
  auto key = backend.openKey(path);
  if (!key) return "cannot open\n";
  std::string out;
  for (const auto& [name, data] : valuesOf(*key)) {
    out += (name.empty() ? std::string("(default)") : describeName(name)) + " = " +
           describeData(data) + "\n";
  }
  return out;
}

// The listings go to the output as well, between markers, so that the two runs can be
// compared line by line.
void show(const std::string& title, const std::string& listing) {
  std::cout << "---- " << title << " ----\n" << listing << "---- end ----\n";
}

// Hides the game's ordinary keys, so that the program looks for them where a 64-bit Wine
// prefix keeps a 32-bit game's keys.
class WithoutNativeGameKeys final : public RegistryBackend {
 public:
  explicit WithoutNativeGameKeys(RegistryBackend& inner) : inner_(inner) {}
  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override {
    if (path.substr(0, kNativeRoot.size()) == kNativeRoot) return nullptr;
    return inner_.openKey(path);
  }

 private:
  static constexpr std::u16string_view kNativeRoot = u"Software\\Vircom\\T4C";
  RegistryBackend& inner_;
};

constexpr std::u16string_view kRoot = u"Software\\Vircom\\T4C\\";

std::u16string gamePath(std::u16string_view below) {
  return std::u16string(kRoot) + std::u16string(below);
}

std::u16string repeated(char16_t c, std::size_t count) { return std::u16string(count, c); }

class RegistryConformance : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("SACOTIN_REGISTRY_CONFORMANCE")) {
      GTEST_SKIP() << "needs the Wine prefix of tools/test-windows.sh";
    }
    ASSERT_EQ(systemAnsiCodePage()->number(), 1252) << "run with a locale of code page 1252";
    backend_ = makeCurrentUserRegistry();
  }

  std::vector<std::u16string> subkeysAt(std::u16string_view path) {
    auto key = backend_->openKey(path);
    return key ? subkeysOf(*key) : std::vector<std::u16string>{u"(cannot open)"};
  }

  std::vector<Value> valuesAt(std::u16string_view path) {
    auto key = backend_->openKey(path);
    return key ? valuesOf(*key) : std::vector<Value>{};
  }

  std::string dataOf(std::u16string_view path, std::u16string_view name) {
    for (const auto& [valueName, data] : valuesAt(path)) {
      if (valueName == name) return data;
    }
    return "(missing)";
  }

  std::unique_ptr<RegistryBackend> backend_;
};

TEST_F(RegistryConformance, AccountsCharactersAndItemNumbers) {
  const std::string listing = listGameTree(*backend_);
  show("game tree", listing);
  EXPECT_EQ(listing,
            "0 a[b]c\n"
            "  0 x: 2\n"
            "1 Alpha: no Characters key\n"
            "2 b: no Characters key\n"
            "3 compte1\n"
            "  0 hélène: 13\n"
            "  1 perso1: 1234 16961 65 256 1800 0 65535 8197 1234 16961 233 42 10\n"
            "  2 Perso2: 11 12\n"
            "4 Compte2: no Characters key\n"
            "5 eq=sign\n"
            "  0 e: 5\n"
            "6 L254x... (254 characters)\n"
            "  0 c: 262\n"
            "7 L255x... (255 characters)\n"
            "  0 c: 6\n"
            "8 L256x... (256 characters): no Characters key\n"
            "9 nochars\n"
            "10 odd\n"
            "  0 c: 1 2 3\n"
            "  1 s: 16961 8257 8738 25186 65 63 8192 128 16961 65 5\n"
            "11 quote\"name\n"
            "  0 q: 3\n"
            "12 with space\n"
            "  0 s p: 4\n"
            "13 zeta\n"
            "  0 emptyinv:\n"
            "  1 noinv: no Inventory key\n"
            "14 été\n"
            "  0 Zoé: 1\n"
            "  1 éA: 257\n"
            "15 Ōmega\n"
            "  0 Ēvé: 7\n"
            "16 Жук\n"
            "  0 Пётр: 1\n");
}

TEST_F(RegistryConformance, LongNamesComeBackWhole) {
  const auto accounts = subkeysAt(u"Software\\Vircom\\T4C");
  ASSERT_EQ(accounts.size(), 17u);
  EXPECT_EQ(accounts[6], u"L254" + repeated(u'x', 250));
  EXPECT_EQ(accounts[7], u"L255" + repeated(u'x', 251));
  EXPECT_EQ(accounts[8], u"L256" + repeated(u'x', 252));

  const auto perso1 = valuesAt(gamePath(u"compte1\\Characters\\perso1\\Inventory"));
  ASSERT_EQ(perso1.size(), 17u);
  EXPECT_EQ(perso1[15].first, u"ItemI" + repeated(u'L', 295));

  const auto odd = valuesAt(gamePath(u"odd\\Characters\\c\\Inventory"));
  ASSERT_EQ(odd.size(), 22u);
  EXPECT_EQ(odd[20].first, repeated(u'V', 254));
  EXPECT_EQ(odd[21].first, repeated(u'W', 255));
}

TEST_F(RegistryConformance, DataBeyond255BytesComesBackWhole) {
  std::string counting;
  for (int i = 0; i < 300; ++i) counting += static_cast<char>(i % 256);
  EXPECT_EQ(dataOf(gamePath(u"compte1\\Characters\\perso1\\Inventory"), u"ItemID12"), counting);

  const std::u16string odd = gamePath(u"odd\\Characters\\c\\Inventory");
  EXPECT_EQ(dataOf(odd, u"Bin255"), std::string(255, '\x11'));
  EXPECT_EQ(dataOf(odd, u"Bin256"), std::string(256, '\x22'));
  // A string's data counts its terminating NUL.
  EXPECT_EQ(dataOf(odd, u"Sz254"), std::string(254, 'a') + '\0');
  EXPECT_EQ(dataOf(odd, u"Sz255"), std::string(255, 'b') + '\0');
}

TEST_F(RegistryConformance, ValuesOfEveryTypeAsTheAnsiFunctionsHandThemOver) {
  const std::string perso1 =
      listValues(*backend_, gamePath(u"compte1\\Characters\\perso1\\Inventory"));
  const std::string perso2 =
      listValues(*backend_, gamePath(u"compte1\\Characters\\Perso2\\Inventory"));
  const std::string helene =
      listValues(*backend_, gamePath(u"compte1\\Characters\\hélène\\Inventory"));
  show("values of perso1", perso1);
  show("values of Perso2", perso2);
  show("values of hélène", helene);
  EXPECT_EQ(perso1,
            "(default) = 07 00\n"
            "Item = d2 04\n"
            "ItemID1 = d2 04\n"
            "ItemID10 = 41 42 00\n"
            "ItemID11 = 41 00 42 00 00\n"
            "ItemID12 = 00 01 02 03 ... (300 bytes)\n"
            "ItemID13 = 08 07 06 05 04 03 02 01\n"
            "ItemID2 = 00 00\n"
            "ItemID3 = ff ff\n"
            "ItemID4 = 05\n"
            "ItemID5 = (no data)\n"
            "ItemID6 = d2 04 00 00\n"
            "ItemID7 = 41 42 00\n"
            "ItemID8 = e9 00\n"
            "itemID9 = d2 04\n"
            "ItemI... (300 characters) = 2a 00\n"
            "ItemIx = 0a 00\n");
  EXPECT_EQ(perso2,
            "Item\"ID=3[x] = 0e 00\n"
            "ItemID1 = 0b 00\n"
            "ItemID2 = 0c 00\n"
            "Note = 61 22 62 5c 63 09 64 00\n");
  EXPECT_EQ(helene,
            "ItemID1 = 0d 00\n"
            "Note = e9 41 31 00\n");
}

TEST_F(RegistryConformance, StringsWithoutNulOddLengthsAndNamesOutsideTheCodePage) {
  const std::string odd = listValues(*backend_, gamePath(u"odd\\Characters\\c\\Inventory"));
  const std::string slots = listValues(*backend_, gamePath(u"odd\\Characters\\s\\Inventory"));
  show("values of odd c", odd);
  show("values of odd s", slots);
  EXPECT_EQ(odd,
            "ApiMultiNoNul = 41 42\n"
            "ApiSzNoNul = 41 42\n"
            "ApiSzOddLen = 41\n"
            "ApiSzZeroLen = (no data)\n"
            "Bin255 = 11 11 11 11 ... (255 bytes)\n"
            "Bin256 = 22 22 22 22 ... (256 bytes)\n"
            "DwordShort = 01 02\n"
            "ItemIDé = 01 00\n"
            "ItemIDЖ = 02 00\n"
            "ItemID€ = 03 00\n"
            "NoneType = 01 02\n"
            "Sz254 = 61 61 61 61 ... (255 bytes)\n"
            "Sz255 = 62 62 62 62 ... (256 bytes)\n"
            "SzCyr = 3f 00\n"
            "SzEmbeddedNul = 41 00 42 00\n"
            "SzEmpty = 00\n"
            "SzEuro = 80 00\n"
            "SzNoNul = 41 42 00\n"
            "SzOddLen = 41 00\n"
            "Type99 = 01\n"
            "VVVVV... (254 characters) = 04 00\n"
            "WWWWW... (255 characters) = 05 00\n");
  // Best fit: U+0100 reaches the ANSI functions as 'A', as Windows converts it.
  EXPECT_EQ(slots,
            "ItemIApiSzNoNul = 41 42\n"
            "ItemIApiSzOddLen = 41\n"
            "ItemIBin256 = 22 22 22 22 ... (256 bytes)\n"
            "ItemISz255 = 62 62 62 62 ... (256 bytes)\n"
            "ItemISzBestFit = 41 00\n"
            "ItemISzCyr = 3f 00\n"
            "ItemISzEmpty = 00\n"
            "ItemISzEuro = 80 00\n"
            "ItemISzNoNul = 41 42 00\n"
            "ItemISzOddLen = 41 00\n"
            "ItemISzZero = (no data)\n"
            "ItemI... (255 characters) = 05 00\n");
}

TEST_F(RegistryConformance, KeysWithoutSubkeysOrValuesYieldNothing) {
  EXPECT_TRUE(subkeysAt(gamePath(u"Alpha")).empty());
  EXPECT_TRUE(valuesAt(gamePath(u"Alpha")).empty());
  EXPECT_TRUE(subkeysAt(gamePath(u"nochars\\Characters")).empty());
  EXPECT_TRUE(valuesAt(gamePath(u"zeta\\Characters\\emptyinv\\Inventory")).empty());
}

TEST_F(RegistryConformance, PathsOpenAsTheRegistryResolvesThem) {
  const std::pair<std::u16string, bool> cases[] = {
      // Letter case never matters, also beyond ASCII.
      {u"SOFTWARE\\VIRCOM\\t4c", true},
      {u"SOFTWARE\\vircom\\T4C\\COMPTE1\\characters\\PERSO1\\INVENTORY", true},
      {gamePath(u"ÉTÉ\\Characters"), true},
      {gamePath(u"жук\\CHARACTERS\\пётр\\inventory"), true},
      // Runs of backslashes between or after components count as one separator.
      {u"Software\\Vircom\\\\T4C", true},
      {gamePath(u"\\compte1\\Characters"), true},
      {gamePath(u""), true},
      {gamePath(u"compte1\\Characters\\"), true},
      {gamePath(u"\\"), true},
      // ... but a leading one, or a forward slash, is no separator.
      {u"\\Software\\Vircom\\T4C", false},
      {u"Software/Vircom/T4C", false},
      {gamePath(u"\\Characters"), false},
      // Names as they are stored, with their special characters.
      {gamePath(u"a[b]c\\Characters"), true},
      {gamePath(u"quote\"name\\Characters"), true},
      {gamePath(u"été\\Characters\\éA\\Inventory"), true},
      {gamePath(u"Жук\\Characters\\Пётр\\Inventory"), true},
      // The ANSI spelling of a name outside the code page opens nothing.
      {gamePath(u"???\\Characters"), false},
      {gamePath(u"Omega\\Characters"), false},
      // Missing keys.
      {gamePath(u"Compte2\\Characters"), false},
      {gamePath(u"zeta\\Characters\\noinv\\Inventory"), false},
      {gamePath(u"L256" + repeated(u'x', 252) + u"\\Characters"), false},
      {gamePath(repeated(u'n', 280)), false},
      {u"Software\\Vircom\\T4C" + std::u16string(1, u'\0') + u"\\nothing", false},
      // Paths longer than 260 characters.
      {gamePath(u"L255" + repeated(u'x', 251) + u"\\Characters\\c\\Inventory"), true},
      {u"Software\\Vircom" + repeated(u'\\', 281) + u"\\T4C", true},
  };
  for (const auto& [path, opens] : cases) {
    EXPECT_EQ(backend_->openKey(path) != nullptr, opens) << describeName(path);
  }
}

TEST_F(RegistryConformance, TheEmptyPathOpensTheHiveItself) {
  const auto names = subkeysAt(u"");
  EXPECT_NE(std::find(names.begin(), names.end(), u"Software"), names.end());
}

TEST_F(RegistryConformance, TheGameKeysOfA32BitGameInA64BitPrefix) {
  WithoutNativeGameKeys wow64View(*backend_);
  const std::string listing = listGameTree(wow64View);
  show("Wow6432Node game tree", listing);
  EXPECT_EQ(listing,
            "0 wow\n"
            "  0 w32: 8\n");
}

}  // namespace
}  // namespace sacotin
