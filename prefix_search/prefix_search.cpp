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
#include "registry/game_registry.h"

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

// "[software\\vircom\\t4c" for Software\Vircom\T4C: how a header line of user.reg naming the
// key starts, lower-cased.
std::string headerStartOf(std::u16string_view key) {
  std::string header(1, '[');
  for (const char16_t unit : key) {
    if (unit == u'\\') header.push_back('\\');  // user.reg doubles the separators
    header.push_back(static_cast<char>(unit >= u'A' && unit <= u'Z' ? unit - u'A' + u'a' : unit));
  }
  return header;
}

// Whether a header line (from its '[') names the key `header` or a key below it.
bool namesKeyOrBelow(std::string_view line, std::string_view header) {
  if (line.size() <= header.size()) return false;
  for (std::size_t i = 0; i < header.size(); ++i) {
    const char c = line[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != header[i]) return false;
  }
  const std::string_view rest = line.substr(header.size());
  return rest.starts_with(']') || rest.starts_with("\\\\");  // not T4C2, not T4C.old
}

}  // namespace

bool holdsGameKey(std::string_view text) {
  static const std::array<std::string, 2> headers = {headerStartOf(GameRegistry::kKeyPath),
                                                     headerStartOf(GameRegistry::kWow64KeyPath)};
  constexpr std::string_view kRegistryHeader = "WINE REGISTRY Version 2";
  if (!text.starts_with(kRegistryHeader)) return false;
  const std::string_view afterHeader = text.substr(kRegistryHeader.size());
  if (!afterHeader.starts_with('\n') && !afterHeader.starts_with("\r\n")) return false;
  // Section headers are the only lines that start with '['; the character is rare elsewhere,
  // so looking for it skips most of the text at memchr's speed.
  for (std::size_t pos = 0; pos < text.size();) {
    const void* found = std::memchr(text.data() + pos, '[', text.size() - pos);
    if (!found) break;
    pos = static_cast<std::size_t>(static_cast<const char*>(found) - text.data());
    if (text[pos - 1] == '\n') {
      const std::string_view line = text.substr(pos, 64);
      for (const std::string& header : headers) {
        if (namesKeyOrBelow(line, header)) return true;
      }
    }
    ++pos;
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
