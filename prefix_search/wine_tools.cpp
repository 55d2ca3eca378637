// The places of Wine itself and of the tools that keep plain Wine prefixes in folders of their
// own: winetricks and q4wine, CrossOver, PlayOnLinux.
#include "prefix_search/launchers.h"

namespace sacotin {

void addAll(PrefixList& prefixes, const std::vector<std::filesystem::path>& more) {
  prefixes.insert(prefixes.end(), more.begin(), more.end());
}

void addWineDefaultPrefix(const Home& home, PrefixList& prefixes) {
  prefixes.push_back(home.folder / ".wine");
}

void addWinetricksPrefixes(const Home& home, PrefixList& prefixes) {
  addAll(prefixes, subfolders(home.dataHome / "wineprefixes"));
}

void addCrossOverPrefixes(const Home& home, PrefixList& prefixes) {
  addAll(prefixes, subfolders(home.folder / ".cxoffice"));
}

void addPlayOnLinuxPrefixes(const Home& home, PrefixList& prefixes) {
  addAll(prefixes, subfolders(home.folder / ".PlayOnLinux/wineprefix"));
}

}  // namespace sacotin
