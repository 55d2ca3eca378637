// Without WINEPREFIX the main window finds the game in the prefixes that Wine and the launchers
// keep, in the prefix whose user.reg was written last (on equal times, in a fixed order); with it,
// it reads that prefix only.
#include "prefix_search/prefix_search.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <QComboBox>
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

#include "main_window/form1.h"
#include "program/program.h"
#include "support/scoped_variable.h"
#include "support/temp_files.h"
#include "widgets/cr_label.h"

namespace sacotin::testing {
namespace {

enum class GameKey { Plain, Wow64, NearMiss };

// A prefix in the fake home: its folder, and what its user.reg holds.
struct Prefix {
  const char* folder;            // relative to the home
  const char* account;           // the game's account in it; nullptr: a prefix without the game
  GameKey key = GameKey::Plain;  // Wow64: under Software\Wow6432Node; NearMiss: T4C2
  int age = 0;                   // seconds older than the others' user.reg
};

struct Case {
  const char* name;
  std::vector<Prefix> prefixes;
  // Other files: path, content ("$HOME" stands for the home). Content "-> target" makes a
  // symbolic link, "<fifo>" a named pipe.
  std::vector<std::pair<const char*, const char*>> files;
  const char* winePrefix;          // WINEPREFIX, relative to the home when it starts with no '/';
                                   // "unset" leaves it unset
  const char* expectedAccount;     // nullptr: the game isn't found
  const char* dataHome = nullptr;  // XDG_DATA_HOME, relative to the home; nullptr: unset
};

// Names the case in test listings (and so in ctest's) instead of printing its bytes.
void PrintTo(const Case& test, std::ostream* out) { *out << test.name; }

QByteArray userReg(const Prefix& prefix) {
  QByteArray text =
      "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
      "\n#arch=win64\n\n[Software\\\\Wine\\\\Fonts] 1700000000\n\"LogPixels\"=dword:00000060\n";
  if (prefix.account) {
    const QByteArray software =
        prefix.key == GameKey::Wow64 ? "Software\\\\Wow6432Node" : "Software";
    const QByteArray game = prefix.key == GameKey::NearMiss ? "T4C2" : "T4C";
    text += "\n[" + software + "\\\\Vircom\\\\" + game + "\\\\" + prefix.account +
            "\\\\Characters\\\\perso\\\\Inventory] 1700000000\n\"ItemID0\"=hex:01,00\n";
  }
  return text;
}

class PrefixSearchTest : public ::testing::TestWithParam<Case> {
 protected:
  void write(const QString& path, const QByteArray& bytes) {
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
    const QString path = home.filePath(QString(prefix.folder) + "/user.reg");
    write(path, userReg(prefix));
    const utimbuf times{1700000000 - prefix.age, 1700000000 - prefix.age};
    ASSERT_EQ(utime(QFile::encodeName(path).constData(), &times), 0);
  }
  for (const auto& [path, content] : test.files) {
    const QByteArray text = QByteArray(content).replace("$HOME", home.path().toUtf8());
    const QByteArray target = QFile::encodeName(home.filePath(path));
    QDir().mkpath(QFileInfo(home.filePath(path)).path());
    if (text.startsWith("-> ")) {
      ASSERT_EQ(symlink(text.mid(3).constData(), target.constData()), 0);
    } else if (text == "<fifo>") {
      ASSERT_EQ(mkfifo(target.constData(), 0600), 0);
    } else {
      write(home.filePath(path), text);
    }
  }
  const std::string homePath = home.path().toStdString();
  ScopedVariable homeVariable("HOME", homePath.c_str());
  std::string winePrefix = test.winePrefix;
  if (!winePrefix.empty() && winePrefix != "unset" && winePrefix.front() != '/' &&
      winePrefix.front() != '.') {
    winePrefix = homePath + "/" + winePrefix;
  }
  ScopedVariable prefixVariable("WINEPREFIX", winePrefix == "unset" ? nullptr : winePrefix.c_str());
  const std::string dataHome = test.dataHome ? homePath + "/" + test.dataHome : "";
  ScopedVariable dataVariable("XDG_DATA_HOME", test.dataHome ? dataHome.c_str() : nullptr);
  ScopedVariable configVariable("XDG_CONFIG_HOME", nullptr);

  Form1 window(thisMachineSources());
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
// As PyYAML writes a long value and a value with accents.
const char* const kLutrisGameFolded =
    "game:\n  exe: drive_c/T4C/T4C.exe\n  prefix: $HOME/Jeux/un dossier dont le nom est assez "
    "long\n"
    "    pour que PyYAML le replie\nsystem: {}\n";
const char* const kLutrisGameAccented = "game:\n  prefix: \"$HOME/Jeux/\\xE9p\\xE9e\"\n";
const char* const kHeroicGame =
    "{\"t4c\": {\"winePrefix\": \"~/Jeux/heroic\", \"wineVersion\": {\"type\": \"proton\"}},"
    " \"version\": \"v0\", \"explicit\": true}";
const char* const kSteamLibraries =
    "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\"-1\"\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"$HOME/"
    ".local/share/Steam\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"$HOME/Disque2/"
    "SteamLibrary\"\n\t}\n}\n";

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
        Case{"The32BitGameKeyCounts", {{"Games/t4c", "wow", GameKey::Wow64}}, {}, "unset", "wow"},
        Case{"LutrisServiceAndUmuFolders",
             {{"Games/gog/t4c", "gog"}, {"Games/umu/umu-0", "umu", GameKey::Plain, 1}},
             {{"Games/umu/umu-0/pfx", "-> ."}},
             "unset",
             "gog"},
        Case{"LutrisFlatpakFoldedValue",
             {{"Jeux/un dossier dont le nom est assez long pour que PyYAML le replie", "long"}},
             {{".var/app/net.lutris.Lutris/data/lutris/games/t4c.yml", kLutrisGameFolded}},
             "unset",
             "long"},
        Case{"LutrisEscapedAccents",
             {{"Jeux/\u00e9p\u00e9e", "accents"}},
             {{".config/lutris/games/t4c.yml", kLutrisGameAccented}},
             "unset",
             "accents"},
        Case{"HeroicProtonPrefix",
             {{"Jeux/heroic/pfx", "heroic"}},
             {{".config/heroic/GamesConfig/t4c.json", kHeroicGame}},
             "unset",
             "heroic"},
        Case{"HeroicFlatpak",
             {{"Jeux/heroic", "flatpak"}},
             {{".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/t4c.json",
               kHeroicGame}},
             "unset",
             "flatpak"},
        Case{"HeroicDefaultFolder",
             {{"Games/Heroic/Prefixes/default/T4C", "heroic"}},
             {},
             "unset",
             "heroic"},
        Case{"BottlesOwnFolderAndMovedBottle",
             {{"Disque2/Bouteilles/T4C", "moved", GameKey::Plain, 1}, {"Ailleurs/T4C", "placed"}},
             {{".local/share/bottles/data.yml", "custom_bottles_path: $HOME/Disque2/Bouteilles\n"},
              {"Disque2/Bouteilles/Deplacee/placeholder.yml", "Path: $HOME/Ailleurs/T4C\n"}},
             "unset",
             "placed"},
        Case{"SteamSecondLibrary",
             {{"Disque2/SteamLibrary/steamapps/compatdata/2560/pfx", "library"}},
             {{".local/share/Steam/steamapps/libraryfolders.vdf", kSteamLibraries}},
             "unset",
             "library"},
        Case{"SteamSnap",
             {{"snap/steam/common/.local/share/Steam/steamapps/compatdata/3000000000/pfx", "snap"}},
             {},
             "unset",
             "snap"},
        Case{"WinetricksInTheDataFolder",
             {{"donnees/wineprefixes/t4c", "winetricks"}},
             {},
             "unset",
             "winetricks",
             "donnees"},
        Case{"FaugusGamesFile",
             {{"Jeux/faugus", "faugus"}},
             {{".local/share/faugus-launcher/games.json",
               "[{\"title\": \"T4C\", \"prefix\": \"$HOME/Jeux/faugus\"}]"}},
             "unset",
             "faugus"},
        Case{"CrossOver", {{".cxoffice/T4C", "crossover"}}, {}, "unset", "crossover"},
        Case{"TheNewestPrefixWins",
             {{".wine", "old", GameKey::Plain, 3600}, {".PlayOnLinux/wineprefix/T4C", "new"}},
             {},
             "unset",
             "new"},
        Case{"AKeyThatOnlyStartsLikeTheGamesIsNotIt",
             {{".wine", "near", GameKey::NearMiss}, {".cxoffice/T4C", "game", GameKey::Plain, 60}},
             {},
             "unset",
             "game"},
        Case{"LinksNeitherLoopNorCountTwice",
             {{"Games/t4c", "games"}},
             {{"Games/boucle", "-> ../Games"},
              {".steam/root", "-> steam"},
              {".steam/steam", "-> root"}},
             "unset",
             "games"},
        Case{"BrokenLauncherFilesArePassedOver",
             {{".PlayOnLinux/wineprefix/T4C", "pol"}},
             {{".config/heroic/GamesConfig/bad.json", "{\"t4c\": {\"winePrefix\": "},
              {".config/heroic/config.json", "<fifo>"},
              {".config/lutris/games/bad.yml", "game:\n  prefix: [unclosed\n\t- x"},
              {".config/lutris/games/zero.yml", "-> /dev/zero"},
              {".local/share/Steam/steamapps/libraryfolders.vdf",
               "\"libraryfolders\" { \"1\" { \"pa"},
              {".local/share/faugus-launcher/games.json", "[{\"prefix\": \"/dev/zero\"}]"}},
             "unset",
             "pol"},
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
  EXPECT_TRUE(findGameUserReg().path.starts_with(std::string(entry->pw_dir) + "/"));
}

}  // namespace
}  // namespace sacotin::testing
