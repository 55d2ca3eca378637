#pragma once

#include <filesystem>
#include <vector>

#include "prefix_search/home.h"

namespace sacotin {

// Each launcher family adds the Wine prefixes it keeps, in the order they are tried when their
// user.reg files were written at the same moment. A prefix is a folder with user.reg at its top,
// or in pfx/ below it (Proton, umu).
using PrefixList = std::vector<std::filesystem::path>;

// ~/.wine, Wine's own default.
void addWineDefaultPrefix(const Home& home, PrefixList& prefixes);
// Lutris (native and flatpak) and umu: ~/Games/*/ and ~/Games/*/*/, and the prefix of each game
// file.
void addLutrisPrefixes(const Home& home, PrefixList& prefixes);
// Heroic Games Launcher (native and flatpak): each game's settings, the global defaults, and the
// default prefix folders.
void addHeroicPrefixes(const Home& home, PrefixList& prefixes);
// Bottles (native and flatpak): the bottles of its bottles folder, or of the one its data.yml
// chooses, each possibly moved elsewhere (placeholder.yml).
void addBottlesPrefixes(const Home& home, PrefixList& prefixes);
// Steam's Proton prefixes, in every Steam root and every library that root lists.
void addSteamPrefixes(const Home& home, PrefixList& prefixes);
// The named prefixes of winetricks and q4wine.
void addWinetricksPrefixes(const Home& home, PrefixList& prefixes);
// Faugus Launcher: the prefix of each game in games.json, and its default prefix folders.
void addFaugusPrefixes(const Home& home, PrefixList& prefixes);
// CrossOver's bottles.
void addCrossOverPrefixes(const Home& home, PrefixList& prefixes);
// PlayOnLinux 4's prefixes.
void addPlayOnLinuxPrefixes(const Home& home, PrefixList& prefixes);

// Adds every path of `more` to the list.
void addAll(PrefixList& prefixes, const std::vector<std::filesystem::path>& more);

}  // namespace sacotin
