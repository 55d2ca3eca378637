#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "encodings/ansi_code_page.h"
#include "files/file_snapshot.h"
#include "registry/registry_backend.h"
#include "registry/wine/wine_game_sections.h"
#include "registry/wine/wine_keys_around.h"
#include "registry/wine/wine_registry_file.h"
#include "registry/wine/wine_values_memo.h"

namespace sacotin {

// The current user's hive of a Wine prefix, read from its user.reg. It answers what Wine's
// RegOpenKeyA / RegEnumKeyExA / RegEnumValueA answer on that file, except that names and data
// always come back whole and exact (see openKey and OpenKey).
//
// The file is parsed on the first open and again only when it changes: every open compares the
// file's device, inode, size and modification time (to the nanosecond) with those of the parsed
// copy, so a file rewritten in place or replaced by a rename is noticed. The game's keys
// (GameRegistry::kKeyPath, kWow64KeyPath and below) come from a parse of only the sections
// around them, read through a small buffer (readGameSections); other keys from a parse of the
// whole file. A new version of the file parses the values of the game's keys again only where
// their sections changed.
class WineUserRegistry final : public RegistryBackend {
 public:
  // alreadyRead: the file's sections around the game's keys when the caller has just read them
  // (the prefix search does); they are parsed instead of reading the file again, if it is still
  // that version.
  WineUserRegistry(std::string userRegPath, std::unique_ptr<AnsiCodePage> codePage,
                   std::optional<GameSections> alreadyRead = std::nullopt);

  // Opens a key by its path from the hive: components separated by backslashes (runs of them
  // count as one, trailing ones are ignored), matched without regard to case; an empty path is
  // the hive itself. Fails (null) on a leading backslash, a component longer than 256 units, a
  // missing key, a path through a symbolic link, or a missing, unreadable, non-regular or
  // non-registry file. Unlike Wine's ANSI call, paths of any length are accepted.
  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override;
  void refresh() override;

  // How many times the file has been parsed so far: the only sign, from outside, that a file
  // that did not change is not parsed again (the keys answer the same either way), which the
  // tests and the benchmark check.
  int parseCount() const { return parseCount_; }

 private:
  // A parse of the file and the stamp of the file it was made from: `Tree` is WineKeysAround for
  // the game's keys, const WineRegistryFile for the whole file.
  template <typename Tree>
  struct Parsed {
    std::shared_ptr<Tree> tree;
    FileStamp stamp;
  };

  // The file's stamp, or none (and every parse forgotten) when there is no file to read.
  std::optional<FileStamp> currentStamp();
  // The parse that answers for the game's keys or for the others, read again if the file changed;
  // null when there is no usable file.
  std::shared_ptr<WineKeysAround> gameKeysUpToDate();
  std::shared_ptr<const WineRegistryFile> wholeFileUpToDate();
  Parsed<WineKeysAround> loadGameKeys(const FileStamp& stamp);
  Parsed<const WineRegistryFile> loadWholeFile();

  std::string path_;
  std::shared_ptr<const AnsiCodePage> codePage_;
  // The game's keys are answered from a parse of only the sections around them, which passes
  // over the rest of a large prefix's file; any other key from a parse of the whole file.
  Parsed<WineKeysAround> gameKeys_;
  Parsed<const WineRegistryFile> wholeFile_;
  // The values of the game's keys parsed so far, for the next version of the file.
  std::shared_ptr<WineValuesMemo> valuesMemo_;
  std::optional<GameSections> alreadyRead_;
  int parseCount_ = 0;
};

}  // namespace sacotin
