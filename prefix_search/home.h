#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace sacotin {

// The user's home and the folders launchers keep their files in.
struct Home {
  std::filesystem::path folder;
  std::filesystem::path configHome;  // $XDG_CONFIG_HOME when absolute, else ~/.config
  std::filesystem::path dataHome;    // $XDG_DATA_HOME when absolute, else ~/.local/share

  // $HOME, else the user's home from the password database, as Wine takes it; none when there is
  // no home at all.
  static std::optional<Home> ofThisUser();

  // A folder as a launcher's file writes it: "~" and "~/..." start at the home, an absolute path
  // stands as it is; anything else (empty, relative) names no folder.
  std::optional<std::filesystem::path> expand(std::string_view written) const;
};

// Folders looked at in one place, and launcher files read from one folder, at most: a home full
// of folders keeps the search quick.
inline constexpr std::size_t kMaxFoldersPerPlace = 256;

// The folders directly inside `folder`, by name, at most kMaxFoldersPerPlace of them.
std::vector<std::filesystem::path> subfolders(const std::filesystem::path& folder);

// The files of `folder` whose name ends with `ending`, by name, at most kMaxFoldersPerPlace.
std::vector<std::filesystem::path> filesEndingWith(const std::filesystem::path& folder,
                                                   std::string_view ending);

// A launcher's own file (JSON, YAML, VDF), read whole when it is a regular file of at most
// a few megabytes: a named pipe, a device or a huge file in its place is passed over.
std::optional<std::string> readLauncherFile(const std::filesystem::path& file);

}  // namespace sacotin
