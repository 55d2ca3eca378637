#include "prefix_search/prefix_search.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <set>
#include <system_error>
#include <vector>

#include "files/file_stamp.h"
#include "prefix_search/launchers.h"
#include "registry/wine/wine_game_sections.h"
#include "registry/wine/wine_registry_text.h"
#include "registry/wine/wine_wanted_keys.h"

namespace sacotin {
namespace {

namespace fs = std::filesystem;

// user.reg files looked at, at most: a home with hundreds of prefixes stays quick.
constexpr std::size_t kMaxPrefixesRead = 256;

PrefixList candidatePrefixes(const Home& home) {
  PrefixList prefixes;
  addWineDefaultPrefix(home, prefixes);
  addLutrisPrefixes(home, prefixes);
  addHeroicPrefixes(home, prefixes);
  addBottlesPrefixes(home, prefixes);
  addSteamPrefixes(home, prefixes);
  addWinetricksPrefixes(home, prefixes);
  addFaugusPrefixes(home, prefixes);
  addCrossOverPrefixes(home, prefixes);
  addPlayOnLinuxPrefixes(home, prefixes);
  return prefixes;
}

struct Candidate {
  std::string userReg;
  std::int64_t writtenNs = 0;
};

// The user.reg of each prefix, once each however many ways lead to it (links between Steam
// roots, umu's pfx that leads back to its own prefix), at most kMaxPrefixesRead.
std::vector<Candidate> userRegsOf(const PrefixList& prefixes) {
  std::vector<Candidate> candidates;
  std::set<fs::path> seen;
  for (const fs::path& prefix : prefixes) {
    for (const fs::path& userReg : {prefix / "user.reg", prefix / "pfx" / "user.reg"}) {
      const std::optional<FileStamp> stamp = stampOf(userReg);
      if (!stamp) continue;
      std::error_code error;
      const fs::path canonical = fs::canonical(userReg, error);
      if (!error && seen.insert(canonical).second) {
        candidates.push_back(Candidate{userReg.native(), stamp->modifiedNs});
      }
      break;
    }
    if (candidates.size() >= kMaxPrefixesRead) break;
  }
  return candidates;
}

bool writtenLater(const Candidate& a, const Candidate& b) { return a.writtenNs > b.writtenNs; }

}  // namespace

bool holdsGameKey(std::string_view text) {
  static const WantedKeys gameKeys(gameKeyPaths());
  constexpr std::string_view kRegistryHeader = "WINE REGISTRY Version 2";
  if (!text.starts_with(kRegistryHeader)) return false;
  const std::string_view afterHeader = text.substr(kRegistryHeader.size());
  if (!afterHeader.starts_with('\n') && !afterHeader.starts_with("\r\n")) return false;
  for (std::size_t line = 0;
       (line = wine_text::nextHeaderLine(text, line, text.size())) < text.size();) {
    const wine_text::HeaderLine header = wine_text::headerLineAt(text, line, text.size());
    if (gameKeys.placeOfHeader(header.afterBracket).atOrBelow) return true;
    line += header.line.size();
  }
  return false;
}

GameUserReg findGameUserReg() {
  if (const char* prefix = std::getenv("WINEPREFIX")) {
    // Wine stops with "not an absolute path" on anything else: no prefix, no game.
    if (prefix[0] != '/') return {};
    return {(fs::path(prefix) / "user.reg").native(), std::nullopt};
  }
  const std::optional<Home> home = Home::ofThisUser();
  if (!home) return {};

  std::vector<Candidate> candidates = userRegsOf(candidatePrefixes(*home));
  std::stable_sort(candidates.begin(), candidates.end(), writtenLater);
  // The newest first: the first that holds the game's key is the one, and what was read of it
  // is kept for the reader.
  for (const Candidate& candidate : candidates) {
    std::optional<GameSections> sections = readGameSections(candidate.userReg);
    if (sections && holdsGameKey(sections->text)) return {candidate.userReg, std::move(sections)};
  }
  return {(home->folder / ".wine" / "user.reg").native(), std::nullopt};
}

}  // namespace sacotin
