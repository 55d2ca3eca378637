#pragma once

#include <string>

namespace sacotin {

// Where the game's registry lies on a Linux machine: the user.reg of the Wine prefix the game
// runs in. WINEPREFIX, when set, is the only prefix read (Wine itself refuses an empty or
// relative value, so then there is none). Otherwise the first prefix whose user.reg holds the
// game's key (Software\Vircom\T4C, or its Wow6432Node form), in this order:
//   ~/.wine;
//   Lutris: ~/Games/*/, then the prefixes named by Lutris's game files
//     (~/.config/lutris/games/*.yml, ~/.local/share/lutris/games/*.yml);
//   Bottles: ~/.local/share/bottles/bottles/*/, then its flatpak's
//     ~/.var/app/com.usebottles.bottles/data/bottles/bottles/*/;
//   Steam (Proton): steamapps/compatdata/*/pfx/ in ~/.local/share/Steam, ~/.steam/steam and the
//     flatpak's ~/.var/app/com.valvesoftware.Steam/.local/share/Steam;
//   PlayOnLinux: ~/.PlayOnLinux/wineprefix/*/.
// Within one place, folders are taken by name. With no prefix holding the key, ~/.wine. The
// home is $HOME, else the user's home from the password database, as Wine takes it. Empty when
// there is no home at all.
std::string findGameUserReg();

}  // namespace sacotin
