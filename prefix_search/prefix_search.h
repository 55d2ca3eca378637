#pragma once

#include <optional>
#include <string>

#include "registry/wine/wine_game_sections.h"

namespace sacotin {

// The user.reg the game's registry is read from, and its sections around the game's keys when
// the search already read them (so that the reader does not read the file again).
struct GameUserReg {
  std::string path;  // empty when there is no prefix to read at all
  std::optional<GameSections> sections;
};

// Where the game's registry lies on a Linux machine: the user.reg of the Wine prefix the game
// runs in. WINEPREFIX, when set, is the only prefix read (Wine itself refuses an empty or
// relative value, so then there is none). Otherwise, of the prefixes the launchers keep (see
// launchers.h, in the order of candidatePrefixes()), the one whose user.reg holds the game's
// key and was written last: Wine rewrites it while the game runs. On equal times, the earlier
// in that order. With no prefix holding the key, ~/.wine.
GameUserReg findGameUserReg();

// Whether the text of a user.reg holds the game's key (Software\Vircom\T4C or its Wow6432Node
// form), as the reader would find it: the registry header line, then a section header naming
// the key or a key below it, in any letter case. Only header lines are looked at; the sections
// readGameSections keeps are enough.
bool holdsGameKey(std::string_view userRegText);

}  // namespace sacotin
