// Steam keeps one Proton prefix per game in steamapps/compatdata/<id>/pfx/ of each of its
// libraries: the root itself and the folders its libraryfolders.vdf lists. Its roots (native,
// Debian's, the flatpak's, the snap's) are often links to one another.
#include <set>
#include <system_error>

#include "prefix_search/launchers.h"
#include "prefix_search/steam_vdf.h"

namespace sacotin {
namespace {

namespace fs = std::filesystem;

// The library folders one root lists, the root first.
PrefixList librariesOf(const Home& home, const fs::path& root) {
  PrefixList libraries{root};
  for (const char* list : {"steamapps/libraryfolders.vdf", "config/libraryfolders.vdf"}) {
    const std::optional<std::string> text = readLauncherFile(root / list);
    if (!text) continue;
    for (const std::string& folder : steamLibraryFolders(*text)) {
      if (const auto library = home.expand(folder)) libraries.push_back(*library);
      if (libraries.size() > kMaxFoldersPerPlace) return libraries;
    }
  }
  return libraries;
}

}  // namespace

void addSteamPrefixes(const Home& home, PrefixList& prefixes) {
  const fs::path& h = home.folder;
  std::set<fs::path> seen;  // canonical paths of the roots and libraries already taken
  for (const fs::path& root :
       {h / ".local/share/Steam", h / ".steam/steam", h / ".steam/root",
        h / ".steam/debian-installation", h / ".var/app/com.valvesoftware.Steam/.local/share/Steam",
        h / ".var/app/com.valvesoftware.Steam/data/Steam",
        h / "snap/steam/common/.local/share/Steam"}) {
    std::error_code error;
    const fs::path canonicalRoot = fs::canonical(root, error);
    if (error || !seen.insert(canonicalRoot).second) continue;
    for (const fs::path& library : librariesOf(home, root)) {
      const fs::path canonicalLibrary = fs::canonical(library, error);
      if (library != root && (error || !seen.insert(canonicalLibrary).second)) continue;
      for (const fs::path& game : subfolders(library / "steamapps/compatdata")) {
        prefixes.push_back(game / "pfx");
      }
    }
  }
}

}  // namespace sacotin
