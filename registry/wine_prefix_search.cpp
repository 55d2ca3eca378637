#include "registry/wine_prefix_search.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>
#include <vector>

namespace sacotin {
namespace {

namespace fs = std::filesystem;

// Bounds that keep the search quick in a home full of folders: folders looked at in one place,
// and prefixes whose user.reg is read.
constexpr std::size_t kMaxFoldersPerPlace = 256;
constexpr std::size_t kMaxPrefixesRead = 256;
// user.reg files beyond this are not searched (the reader doesn't load them either).
constexpr std::uintmax_t kMaxUserRegBytes = std::uintmax_t{1} << 30;

std::optional<std::string> environment(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

std::optional<fs::path> homeFolder() {
  if (const auto home = environment("HOME"); home && !home->empty()) return fs::path(*home);
  if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir) {
    return fs::path(entry->pw_dir);
  }
  return std::nullopt;
}

// The folders directly inside `folder`, by name, at most kMaxFoldersPerPlace of them.
std::vector<fs::path> subfolders(const fs::path& folder) {
  std::vector<fs::path> found;
  std::error_code error;
  fs::directory_iterator entries(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    if (found.size() >= 4 * kMaxFoldersPerPlace) break;  // a bound before sorting, too
    std::error_code kindError;
    if (entries->is_directory(kindError)) found.push_back(entries->path());
  }
  std::sort(found.begin(), found.end());
  if (found.size() > kMaxFoldersPerPlace) found.resize(kMaxFoldersPerPlace);
  return found;
}

// The files of `folder` with the given ending, by name.
std::vector<fs::path> filesEndingWith(const fs::path& folder, std::string_view ending) {
  std::vector<fs::path> found;
  std::error_code error;
  fs::directory_iterator entries(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    if (found.size() >= kMaxFoldersPerPlace) break;
    const std::string name = entries->path().filename().string();
    std::error_code kindError;
    if (name.ends_with(ending) && entries->is_regular_file(kindError)) {
      found.push_back(entries->path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

// The prefixes named by Lutris's game files: a line "prefix: <folder>" (in the game's "game:"
// section), the folder possibly quoted or starting with "~/".
std::vector<fs::path> lutrisGamePrefixes(const fs::path& gamesFolder, const fs::path& home) {
  std::vector<fs::path> prefixes;
  for (const fs::path& file : filesEndingWith(gamesFolder, ".yml")) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
      const std::size_t key = line.find_first_not_of(" \t");
      if (key == std::string::npos || line.compare(key, 7, "prefix:") != 0) continue;
      std::string value = line.substr(key + 7);
      value.erase(0, value.find_first_not_of(" \t"));
      value.erase(value.find_last_not_of(" \t\r") + 1);
      if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
          value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
      }
      if (value.starts_with("~/")) {
        prefixes.push_back(home / value.substr(2));
      } else if (value.starts_with("/")) {
        prefixes.push_back(value);
      }
    }
  }
  return prefixes;
}

// Every candidate prefix, in the order they are tried.
std::vector<fs::path> candidatePrefixes(const fs::path& home) {
  std::vector<fs::path> prefixes{home / ".wine"};
  const auto addAll = [&prefixes](const std::vector<fs::path>& more) {
    prefixes.insert(prefixes.end(), more.begin(), more.end());
  };
  addAll(subfolders(home / "Games"));
  addAll(lutrisGamePrefixes(home / ".config/lutris/games", home));
  addAll(lutrisGamePrefixes(home / ".local/share/lutris/games", home));
  addAll(subfolders(home / ".local/share/bottles/bottles"));
  addAll(subfolders(home / ".var/app/com.usebottles.bottles/data/bottles/bottles"));
  for (const char* steam : {".local/share/Steam", ".steam/steam",
                            ".var/app/com.valvesoftware.Steam/.local/share/Steam"}) {
    for (const fs::path& game : subfolders(home / steam / "steamapps/compatdata")) {
      prefixes.push_back(game / "pfx");
    }
  }
  addAll(subfolders(home / ".PlayOnLinux/wineprefix"));
  return prefixes;
}

// Whether a section header names the game's key or a key below it: "[Software\\Vircom\\T4C]" or
// "[Software\\Vircom\\T4C\\..." (Wine doubles the backslashes), in any letter case.
bool isGameSectionHeader(std::string_view line) {
  static constexpr std::array<std::string_view, 2> kGameKeys = {
      "[software\\\\vircom\\\\t4c", "[software\\\\wow6432node\\\\vircom\\\\t4c"};
  for (const std::string_view key : kGameKeys) {
    if (line.size() <= key.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < key.size() && same; ++i) {
      const char c = line[i];
      same = (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == key[i];
    }
    if (!same) continue;
    const std::string_view rest = line.substr(key.size());
    if (rest.starts_with("]") || rest.starts_with("\\\\")) return true;
  }
  return false;
}

// Whether a user.reg holds the game's key: looks at its section header lines only.
bool userRegHoldsGameKey(const fs::path& userReg) {
  // Opened without blocking (a named pipe in its place must not hang the search), and only
  // when it is a regular file of a size the reader would load.
  const int fd = ::open(userReg.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  const bool readable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                        static_cast<std::uintmax_t>(info.st_size) <= kMaxUserRegBytes;
  bool found = false;
  if (readable) {
    // Lines are read in blocks; a section header is a line that starts with '['. Only the start
    // of such a line is kept: enough to tell the key.
    std::array<char, 1 << 16> block{};
    std::string header;
    bool inHeader = false;
    bool atLineStart = true;
    ssize_t count = 0;
    while (!found && (count = ::read(fd, block.data(), block.size())) > 0) {
      for (ssize_t i = 0; i < count && !found; ++i) {
        const char c = block[static_cast<std::size_t>(i)];
        if (c == '\n') {
          found = inHeader && isGameSectionHeader(header);
          header.clear();
          inHeader = false;
          atLineStart = true;
          continue;
        }
        if (atLineStart) inHeader = c == '[';
        atLineStart = false;
        if (inHeader && header.size() < 64) header.push_back(c);
      }
    }
    if (!found) found = inHeader && isGameSectionHeader(header);
  }
  ::close(fd);
  return found;
}

}  // namespace

std::string findGameUserReg() {
  if (const auto prefix = environment("WINEPREFIX")) {
    // Wine stops with "not an absolute path" on anything else: no prefix, no game.
    if (!prefix->starts_with('/')) return std::string();
    return (fs::path(*prefix) / "user.reg").string();
  }
  const std::optional<fs::path> home = homeFolder();
  if (!home) return std::string();

  std::set<fs::path> seen;  // ~/.steam/steam usually leads to ~/.local/share/Steam
  std::size_t read = 0;
  for (const fs::path& prefix : candidatePrefixes(*home)) {
    if (read >= kMaxPrefixesRead) break;
    std::error_code error;
    const fs::path userReg = fs::weakly_canonical(prefix / "user.reg", error);
    if (error || !seen.insert(userReg).second || !fs::exists(userReg, error)) continue;
    ++read;
    if (userRegHoldsGameKey(userReg)) return (prefix / "user.reg").string();
  }
  return (*home / ".wine" / "user.reg").string();
}

}  // namespace sacotin
