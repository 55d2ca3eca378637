#include "prefix_search/home.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>

#include "files/file_snapshot.h"

namespace sacotin {
namespace {

namespace fs = std::filesystem;

// Launchers' files are small; this leaves room for a library of thousands of games.
constexpr std::size_t kMaxLauncherFileBytes = std::size_t{4} << 20;

std::optional<fs::path> absoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  if (!value || value[0] != '/') return std::nullopt;  // unset, empty or relative: the default
  return fs::path(value);
}

// The entries of a folder that `keep` accepts, by name, at most kMaxFoldersPerPlace of them.
template <typename Keep>
std::vector<fs::path> entries(const fs::path& folder, Keep keep) {
  std::vector<fs::path> found;
  std::error_code error;
  fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
  for (; !error && it != fs::directory_iterator(); it.increment(error)) {
    if (found.size() >= 4 * kMaxFoldersPerPlace) break;  // a bound before sorting, too
    if (keep(*it)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  if (found.size() > kMaxFoldersPerPlace) found.resize(kMaxFoldersPerPlace);
  return found;
}

}  // namespace

std::optional<Home> Home::ofThisUser() {
  Home home;
  if (const char* value = std::getenv("HOME"); value && *value) {
    home.folder = value;
  } else if (const passwd* entry = ::getpwuid(::getuid());
             entry && entry->pw_dir && *entry->pw_dir) {
    home.folder = entry->pw_dir;
  } else {
    return std::nullopt;
  }
  home.configHome = absoluteVariable("XDG_CONFIG_HOME").value_or(home.folder / ".config");
  home.dataHome = absoluteVariable("XDG_DATA_HOME").value_or(home.folder / ".local/share");
  return home;
}

std::optional<fs::path> Home::expand(std::string_view written) const {
  if (written == "~") return folder;
  if (written.starts_with("~/")) return folder / written.substr(2);
  if (written.starts_with('/')) return fs::path(written);
  return std::nullopt;
}

std::vector<fs::path> subfolders(const fs::path& folder) {
  return entries(folder, [](const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_directory(error);
  });
}

std::vector<fs::path> filesEndingWith(const fs::path& folder, std::string_view ending) {
  return entries(folder, [ending](const fs::directory_entry& entry) {
    std::error_code error;
    return entry.path().filename().native().ends_with(ending) && entry.is_regular_file(error);
  });
}

std::optional<std::string> readLauncherFile(const fs::path& file) {
  FileSnapshot snapshot;
  if (!readRegularFile(file.native(), kMaxLauncherFileBytes, snapshot)) return std::nullopt;
  return std::string(snapshot.bytes.view());
}

}  // namespace sacotin
