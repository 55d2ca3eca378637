#pragma once

// Builds a WineRegistryFile from the text of a user.reg, following wineserver's own loader line
// for line: the header check, the per-line dispatch on the first non-blank character, the string
// escapes, the data type tags and hex continuation lines, and what a damaged line does (skipped,
// or a value left as REG_NONE without data). It works on the raw bytes of the file, writes names
// and data straight into the tree's pools and never recurses, so huge files, huge lines and
// deeply nested keys cost time and memory in proportion to their size. Its work is shared out:
//   wine_registry_parser.cpp   lines, keys, values and the table of keys met so far;
//   wine_registry_skip.cpp     the passing over of sections unrelated to the wanted keys;
//   wine_registry_order.cpp    the finished tree's keys and values in wineserver's order.
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "registry/wine/wine_registry_file.h"
#include "registry/wine/wine_wanted_keys.h"

namespace sacotin {

// The lines of a key's section, kept for its values to be parsed when they are first asked for:
// the key, and where its lines lie in the text they are kept in.
struct WineDeferredSection {
  WineRegistryFile::KeyId key = 0;
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
};

// A parse of only the keys at, above and below some keys: their tree, without values, and where
// the lines of each of their sections lie in the parsed text, by key and then in file order.
struct WineTreeAround {
  WineRegistryFile tree;
  std::vector<WineDeferredSection> sections;
};

// Parses the whole text of a user.reg. Without the exact header line "WINE REGISTRY Version 2"
// nothing is loaded and isRegistry() is false (also for a text over kMaxFileSize).
WineRegistryFile parseWineRegistry(std::string_view text);

// Parses only the keys at, above and below the given ones (paths from the hive, components
// separated by backslashes): the section of any other key is passed over unparsed, up to the next
// line that starts with '[' (or further, where a full parse would take that line as the
// continuation of a hex value). For every key at or below one of `keys`, the subkeys, values
// (parsed from the kept lines), order, data and spelling are exactly those parseWineRegistry
// gives, whatever the rest of the file holds; keys elsewhere are missing or incomplete. The
// caller keeps `text` for the sections' lines.
WineTreeAround parseWineRegistryAround(std::string_view text,
                                       const std::vector<std::u16string_view>& keys);

// The values of one key, from a user.reg of that key's sections alone (wine_keys_around.h makes
// it): names are stored as they come, without sharing repeated ones.
WineRegistryFile parseOneKeyValues(std::string_view text);

// A key the load does not keep (a damaged header, or no section yet).
inline constexpr std::uint32_t kNoKey = std::numeric_limits<std::uint32_t>::max();

class WineRegistryParser {
 public:
  // With `keys`, only the sections at, above and below those keys are loaded, where their lines
  // lie noted for their values to be parsed later.
  explicit WineRegistryParser(std::string_view text,
                              const std::vector<std::u16string_view>& keys = {})
      : text_(text), wantedKeys_(keys) {}

  // No sharing of repeated value names, which pays in a whole file, not in one key's values.
  void storeNamesAsTheyCome() { interning_ = false; }

  WineRegistryFile run();
  // run() around the wanted keys: the tree and its sections' lines.
  WineTreeAround runAround();

 private:
  using KeyId = WineRegistryFile::KeyId;

  // The next line, as wineserver's line reader hands it over: without its "\n" or "\r\n", and
  // ending at the first NUL byte. A last line without "\n" keeps a trailing "\r".
  bool nextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const char* begin = text_.data() + pos_;
    const std::size_t left = text_.size() - pos_;
    const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', left));
    std::size_t length = newline ? static_cast<std::size_t>(newline - begin) : left;
    pos_ += newline ? length + 1 : left;
    if (const auto* nul = static_cast<const char*>(std::memchr(begin, '\0', length))) {
      line = std::string_view(begin, static_cast<std::size_t>(nul - begin));
      return true;
    }
    if (newline && length > 0 && begin[length - 1] == '\r') --length;
    line = std::string_view(begin, length);
    return true;
  }

  // Makes room for a long name or string in one step, so that a huge line doesn't leave the
  // pool's old and new blocks both allocated at several sizes on the way.
  template <typename Pool>
  static void reserveFor(Pool& pool, std::size_t most) {
    if (pool.capacity() - pool.size() < most) pool.reserve(pool.size() + most);
  }

  // An upper bound of the number of values, so that the value table is allocated once.
  std::size_t countValueLines() const;

  // Whether a section is loaded: its key is at, above or below a wanted key. A header that
  // loadKey would refuse is loaded all the same, so that what follows it is read exactly as a
  // full load reads it.
  bool isWanted(std::string_view header) const;

  // Passes over the lines of a section whose values are not loaded now, up to the next section
  // header, and consumes exactly the lines a full load consumes. A header is a line whose first
  // non-blank character is '[', unless a hex value on the line before ends its list with a
  // backslash and so takes it as its continuation: only where the line before holds a backslash
  // are the lines read one by one, value lines parsed (and dropped) for the lines they consume.
  // For a key of the tree (`key`), its "#link" lines are read too, where there may be one.
  void skipSection(KeyId key);

  // Notes where the lines of a section of the tree lie, for the time its key's values are asked
  // for.
  void deferSection();

  // Parses a value line only for the lines it consumes; the tree is left as it was.
  void dropValue(std::string_view line);

  // Value names repeat from key to key (ItemID1, ItemID2, ...): short ones are stored once.
  void internValueName(std::size_t& offset, std::size_t length);

  // Only "#arch=" matters before the first key: anything but exactly win32 or win64, or a
  // change of architecture, stops the load (what was loaded stays).
  bool acceptGlobalOption(std::string_view line);

  // "[path] seconds": the key, created with its missing ancestors, or kNoKey when the line is
  // damaged or a name is too long (ancestors made before that point stay).
  KeyId loadKey(std::string_view text);

  void loadValue(std::string_view line);

  // The index of the closing quote of a quoted name that holds neither a backslash nor a byte
  // above ASCII, or npos.
  static std::size_t plainNameEnd(std::string_view line);

  bool loadData(std::string_view text, std::uint32_t& type);

  // A quoted string, stored as UTF-16LE plus one NUL unit; text after the closing quote is
  // ignored.
  bool loadString(std::string_view text, std::uint32_t);

  // Hex bytes separated by blanks and/or one comma each; a trailing backslash continues the
  // list on the next physical line.
  bool loadHex(std::string_view text, std::uint32_t);

  // Keys are looked up during the load through one open-addressing table keyed by
  // (parent, case-folded name), so that revisiting a key in any spelling finds it again.
  static std::uint64_t hashOf(KeyId parent, std::u16string_view name);

  std::u16string_view storedName(KeyId key) const;

  KeyId findOrCreateKey(KeyId parent, std::u16string_view name);

  void growTable();

  WineRegistryFile finish();

  // Groups the keys by parent (a counting sort, stable in creation order), then sorts each group
  // by name unless the file already listed it in order, as Wine writes it.
  void orderSubkeys();

  // Sorts the values of each key by name and merges the lines that name the same value: the
  // first spelling stays, the last line's type and data win.
  void orderValues();

  std::string_view text_;
  std::size_t pos_ = 0;
  WineRegistryFile file_;
  std::vector<WineDeferredSection> deferred_;
  KeyId current_ = kNoKey;
  WantedKeys wantedKeys_;  // empty: every key
  bool dropping_ = false;  // parsing a value to drop it
  // Sharing repeated value names pays in a whole file, not in one key's values.
  bool interning_ = true;
  std::string arch_;
  std::u16string path_;
  std::vector<KeyId> slots_;
  // Looked up by view, without making a string of every value name.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::u16string_view name) const {
      return std::hash<std::u16string_view>{}(name);
    }
  };
  std::unordered_map<std::u16string, std::size_t, NameHash, std::equal_to<>> internedNames_;
};

}  // namespace sacotin
