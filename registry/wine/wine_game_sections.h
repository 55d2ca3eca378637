#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/file_snapshot.h"

namespace sacotin {

// The sections of a user.reg that the game's keys (GameRegistry::kKeyPath, kWow64KeyPath) are
// read from, as WineSectionFilter keeps them, and the stamp of the file they came from.
// parseWineRegistryAround(text, gameKeyPaths()) gives the game's keys exactly as a parse of
// the whole file does.
struct GameSections {
  FileStamp stamp;
  std::string text;
};

std::vector<std::u16string_view> gameKeyPaths();

// Reads a user.reg through a small buffer, keeping only its sections around the game's keys, so
// that a large prefix's file is never held whole. None when it is not a regular file of at most
// WineRegistryFile::kMaxFileSize bytes, or can't be read.
std::optional<GameSections> readGameSections(const std::string& userRegPath);

}  // namespace sacotin
