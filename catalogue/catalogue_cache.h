#pragma once

#include <cstdint>
#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/catalogue.h"
#include "encodings/ansi_code_page.h"
#include "encodings/text_file_encoding.h"
#include "files/file_stamp.h"

namespace sacotin {

// The program's one way to read liste.dat: ANSI code page or UTF-8 text (see decodeTextFile),
// lines ended by CR LF, LF or CR, only a regular file of at most kMaxFileSize bytes, by a
// filesystem path (so that a folder name with letters outside the ANSI code page still opens on
// Windows).
//
// Keeps the catalogue read from liste.dat between loads and reads the file again only when it
// changed on disk (another size, modification or change time, or another file at that path; on
// Windows only the size and the last write time are compared), so
// a search builds the catalogue once rather than once per character, and an edit still shows at
// the next load.
class CatalogueCache {
 public:
  // A larger file is refused at once: a catalogue kept by hand is well under a megabyte, and one
  // of this size already takes a few times its size in memory once read.
  static constexpr std::size_t kMaxFileSize = std::size_t{64} << 20;

  CatalogueCache(std::filesystem::path path, std::shared_ptr<const AnsiCodePage> codePage);
  CatalogueCache(const CatalogueCache&) = delete;
  CatalogueCache& operator=(const CatalogueCache&) = delete;

  // The catalogue as the file holds it now; null when the file is missing or can't be read.
  std::shared_ptr<const Catalogue> current();

  // Starts reading the file on a second thread, so that the first current() finds it read.
  void readInBackground();

 private:
  // What was read of the file.
  struct Read {
    std::optional<FileStamp> stamp;  // of the file the catalogue was read from
    std::shared_ptr<const Catalogue> catalogue;
    // The file's bytes when it was read within moments of a change (its stamp may then miss the
    // next change); compared with the file at every load until it has settled.
    std::optional<std::string> freshBytes;
  };

  // The file as it is now, given what was read of it before: read again only if it changed.
  static Read readAgain(const std::filesystem::path& path, const AnsiCodePage& codePage,
                        Read before);
  static bool isRecent(const FileStamp& stamp);

  std::filesystem::path path_;
  std::shared_ptr<const AnsiCodePage> codePage_;
  Read read_;
  // A read on a second thread, from the path and code page alone; current() takes its result.
  std::future<Read> reading_;
};

}  // namespace sacotin
