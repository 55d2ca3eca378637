// Without WINEPREFIX the main window finds the game in the prefixes that Wine, Lutris, Bottles,
// Steam and PlayOnLinux keep, in a fixed order; with it, it reads that prefix only.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

#include "main_window/form1.h"
#include "registry/wine_prefix_search.h"
#include "support/scoped_variable.h"
#include "support/temp_files.h"
#include "widgets/cr_label.h"

namespace sacotin::testing {
namespace {

// A prefix in the fake home: its folder, and what its user.reg holds.
struct Prefix {
  const char* folder;   // relative to the home
  const char* account;  // the game's account in it; nullptr: a prefix without the game
  bool wow64 = false;   // the game's key under Software\Wow6432Node
};

struct Case {
  const char* name;
  std::vector<Prefix> prefixes;
  std::vector<std::pair<const char*, const char*>> files;  // other files: path, content
  const char* winePrefix;       // WINEPREFIX, relative to the home when it starts with no '/';
                                // "unset" leaves it unset
  const char* expectedAccount;  // nullptr: the game isn't found
};

QByteArray userReg(const Prefix& prefix) {
  QByteArray text =
      "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
      "\n#arch=win64\n\n[Software\\\\Wine\\\\Fonts] 1700000000\n\"LogPixels\"=dword:00000060\n";
  if (prefix.account) {
    const QByteArray software = prefix.wow64 ? "Software\\\\Wow6432Node" : "Software";
    text += "\n[" + software + "\\\\Vircom\\\\T4C\\\\" + prefix.account +
            "\\\\Characters\\\\perso\\\\Inventory] 1700000000\n\"ItemID0\"=hex:01,00\n";
  }
  return text;
}

class PrefixSearchTest : public ::testing::TestWithParam<Case> {
 protected:
  void write(const QString& relativePath, const QByteArray& bytes) {
    const QString path = home.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QTemporaryDir home;
};

TEST_P(PrefixSearchTest, TheWindowShowsTheAccountsOfTheFoundPrefix) {
  const Case& test = GetParam();
  for (const Prefix& prefix : test.prefixes) {
    write(QString(prefix.folder) + "/user.reg", userReg(prefix));
  }
  for (const auto& [path, content] : test.files) {
    write(QString(path), QByteArray(content).replace("$HOME", home.path().toUtf8()));
  }
  const std::string homePath = home.path().toStdString();
  ScopedVariable homeVariable("HOME", homePath.c_str());
  std::string winePrefix = test.winePrefix;
  if (!winePrefix.empty() && winePrefix != "unset" && winePrefix.front() != '/' &&
      winePrefix.front() != '.') {
    winePrefix = homePath + "/" + winePrefix;
  }
  ScopedVariable prefixVariable("WINEPREFIX", winePrefix == "unset" ? nullptr : winePrefix.c_str());

  Form1 window(Form1Sources::forThisMachine());
  if (test.expectedAccount) {
    EXPECT_EQ(window.Combo1->count(), 1);
    EXPECT_EQ(window.Combo1->currentText(), test.expectedAccount);
  } else {
    EXPECT_EQ(window.Combo1->count(), 0);
    EXPECT_EQ(window.Label1->text(),
              QString("Vous n'avez jamais installé T4c") + QChar(13) + "ou ne l'avez jamais lancé");
  }
}

const char* const kLutrisGame = "game:\n  exe: drive_c/T4C/T4C.exe\n  prefix: ~/Jeux/t4c\n";
const char* const kLutrisGameQuoted = "game:\n  prefix: '$HOME/Jeux/t4c'\nsystem: {}\n";

INSTANTIATE_TEST_SUITE_P(
    Places, PrefixSearchTest,
    ::testing::Values(
        Case{"WineFirst", {{".wine", "wine"}, {"Games/t4c", "lutris"}}, {}, "unset", "wine"},
        Case{"LutrisGamesByName",
             {{"Games/zeta", "zeta"}, {"Games/alpha", "alpha"}},
             {},
             "unset",
             "alpha"},
        Case{"LutrisGameFile",
             {{"Jeux/t4c", "lutris"}},
             {{".config/lutris/games/t4c-1700000000.yml", kLutrisGame}},
             "unset",
             "lutris"},
        Case{"LutrisGameFileQuotedInSharedData",
             {{"Jeux/t4c", "lutris"}},
             {{".local/share/lutris/games/t4c.yml", kLutrisGameQuoted}},
             "unset",
             "lutris"},
        Case{"Bottles", {{".local/share/bottles/bottles/T4C", "bottles"}}, {}, "unset", "bottles"},
        Case{"BottlesFlatpak",
             {{".var/app/com.usebottles.bottles/data/bottles/bottles/T4C", "flatpak"}},
             {},
             "unset",
             "flatpak"},
        Case{"SteamProton",
             {{".local/share/Steam/steamapps/compatdata/2560/pfx", "steam"}},
             {},
             "unset",
             "steam"},
        Case{"SteamLink",
             {{".steam/steam/steamapps/compatdata/2560/pfx", "steam"}},
             {},
             "unset",
             "steam"},
        Case{"SteamFlatpak",
             {{".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/9/pfx",
               "flatpak"}},
             {},
             "unset",
             "flatpak"},
        Case{"PlayOnLinux", {{".PlayOnLinux/wineprefix/T4C", "pol"}}, {}, "unset", "pol"},
        Case{"PlacesWithoutTheKeyArePassedOver",
             {{".wine", nullptr},
              {"Games/other", nullptr},
              {".local/share/bottles/bottles/Office", nullptr},
              {".local/share/Steam/steamapps/compatdata/1/pfx", nullptr},
              {".PlayOnLinux/wineprefix/T4C", "pol"}},
             {},
             "unset",
             "pol"},
        Case{"BottlesBeforeSteamBeforePlayOnLinux",
             {{".PlayOnLinux/wineprefix/T4C", "pol"},
              {".local/share/Steam/steamapps/compatdata/1/pfx", "steam"},
              {".local/share/bottles/bottles/T4C", "bottles"}},
             {},
             "unset",
             "bottles"},
        Case{"The32BitGameKeyCounts", {{"Games/t4c", "wow", true}}, {}, "unset", "wow"},
        Case{"NoPrefixHoldsTheGame",
             {{".wine", nullptr}, {"Games/other", nullptr}},
             {},
             "unset",
             nullptr},
        Case{"WinePrefixWins",
             {{".wine", "wine"}, {"ailleurs", "ailleurs"}},
             {},
             "ailleurs",
             "ailleurs"},
        Case{"WinePrefixIsTheOnlyPlaceRead",
             {{".wine", "wine"}, {"vide", nullptr}},
             {},
             "vide",
             nullptr},
        Case{"EmptyWinePrefixIsRefusedAsWineDoes", {{".wine", "wine"}}, {}, "", nullptr},
        Case{"RelativeWinePrefixIsRefusedAsWineDoes", {{".wine", "wine"}}, {}, "./.wine", nullptr}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(PrefixSearch, WithoutHomeTheUsersHomeFromThePasswordDatabase) {
  ScopedVariable home("HOME", nullptr);
  ScopedVariable prefix("WINEPREFIX", nullptr);
  const passwd* entry = getpwuid(getuid());
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(findGameUserReg().starts_with(std::string(entry->pw_dir) + "/"));
}

}  // namespace
}  // namespace sacotin::testing
