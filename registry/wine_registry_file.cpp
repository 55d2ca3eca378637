// Loader of Wine's user.reg text format. It follows wineserver's own loader line for line:
// the header check, the per-line dispatch on the first non-blank character, the string
// escapes, the data type tags and hex continuation lines, and what a damaged line does (skipped,
// or a value left as REG_NONE without data). It works on the raw bytes of the file, writes names
// and data straight into the tree's pools and never recurses, so huge files, huge lines and
// deeply nested keys cost time and memory in proportion to their size.
#include "registry/wine_registry_file.h"

#include <QChar>
#include <algorithm>
#include <cstring>
#include <limits>
#include <unordered_map>

#include "registry/wine_wanted_keys.h"

namespace sacotin {
namespace {

constexpr std::uint32_t kNoKey = std::numeric_limits<std::uint32_t>::max();

// The C locale's isspace and isxdigit: wineserver runs in the C locale.
bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool isHexDigit(std::string_view s, std::size_t i) { return i < s.size() && hexDigit(s[i]) >= 0; }

std::size_t skipSpaces(std::string_view s, std::size_t i) {
  while (i < s.size() && isSpace(s[i])) ++i;
  return i;
}

// strtoul(s + i, &end, 16) on a 64-bit system: blanks, a sign and "0x" are accepted, an
// out-of-range number saturates, and `end` stays at `i` when there is no digit at all.
std::uint64_t parseUnsignedHex(std::string_view s, std::size_t i, std::size_t& end) {
  end = i;
  std::size_t p = skipSpaces(s, i);
  bool negative = false;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
    negative = s[p] == '-';
    ++p;
  }
  if (p + 1 < s.size() && s[p] == '0' && (s[p + 1] == 'x' || s[p + 1] == 'X') &&
      isHexDigit(s, p + 2)) {
    p += 2;
  }
  if (!isHexDigit(s, p)) return 0;
  std::uint64_t value = 0;
  bool overflow = false;
  for (; isHexDigit(s, p); ++p) {
    if (value > (std::numeric_limits<std::uint64_t>::max() >> 4)) overflow = true;
    value = (value << 4) | static_cast<std::uint64_t>(hexDigit(s[p]));
  }
  end = p;
  if (overflow) return std::numeric_limits<std::uint64_t>::max();
  return negative ? (~value + 1) : value;
}

// Unescapes a quoted string or key path up to the first unescaped `delimiter`, handing each
// UTF-16 unit to `put`. Raw bytes of 0x80 and above are read as UTF-8; invalid sequences are
// dropped. Returns false when the delimiter is missing; otherwise `next` is the index after it.
template <typename Put>
bool unescape(std::string_view s, char delimiter, std::size_t& next, Put&& put) {
  const std::size_t n = s.size();
  std::size_t p = 0;
  while (p < n && s[p] != delimiter) {
    auto c = static_cast<unsigned char>(s[p]);
    if (c == '\\') {
      if (++p >= n) return false;
      switch (s[p]) {
        case 'a':
          put(u'\a');
          ++p;
          continue;
        case 'b':
          put(u'\b');
          ++p;
          continue;
        case 'e':
          put(char16_t(0x1b));
          ++p;
          continue;
        case 'f':
          put(u'\f');
          ++p;
          continue;
        case 'n':
          put(u'\n');
          ++p;
          continue;
        case 'r':
          put(u'\r');
          ++p;
          continue;
        case 't':
          put(u'\t');
          ++p;
          continue;
        case 'v':
          put(u'\v');
          ++p;
          continue;
        case 'x': {
          ++p;
          if (!isHexDigit(s, p)) {
            put(u'x');
            continue;
          }
          unsigned value = 0;
          for (int digits = 0; digits < 4 && isHexDigit(s, p); ++digits, ++p) {
            value = value * 16 + static_cast<unsigned>(hexDigit(s[p]));
          }
          put(static_cast<char16_t>(value));
          continue;
        }
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7': {
          unsigned value = static_cast<unsigned>(s[p++] - '0');
          for (int digits = 1; digits < 3 && p < n && s[p] >= '0' && s[p] <= '7'; ++digits, ++p) {
            value = value * 8 + static_cast<unsigned>(s[p] - '0');
          }
          put(static_cast<char16_t>(value));
          continue;
        }
        default:
          // Any other escaped character stands for itself.
          c = static_cast<unsigned char>(s[p]);
          break;
      }
    }
    ++p;
    if (c < 0x80) {
      put(static_cast<char16_t>(c));
      continue;
    }
    int followers;
    char32_t code;
    if (c >= 0xc0 && c <= 0xdf) {
      followers = 1;
      code = c & 0x1f;
    } else if (c >= 0xe0 && c <= 0xef) {
      followers = 2;
      code = c & 0x0f;
    } else if (c >= 0xf0 && c <= 0xf7) {
      followers = 3;
      code = c & 0x07;
    } else {
      continue;  // a stray continuation byte or an impossible lead byte
    }
    bool complete = true;
    for (int k = 0; k < followers; ++k) {
      const unsigned bits = p < n ? (static_cast<unsigned char>(s[p]) ^ 0x80u) : 0x80u;
      if (bits >= 0x40) {
        complete = false;  // the byte that broke the sequence is read again on its own
        break;
      }
      code = (code << 6) | bits;
      ++p;
    }
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (!complete || code < kSmallest[followers] || code > 0x10ffff) continue;
    if (code <= 0xffff) {
      put(static_cast<char16_t>(code));
    } else {
      code -= 0x10000;
      put(static_cast<char16_t>(0xd800 | (code >> 10)));
      put(static_cast<char16_t>(0xdc00 | (code & 0x3ff)));
    }
  }
  if (p >= n) return false;
  next = p + 1;
  return true;
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Hands each non-empty component of a key path to `visit`, in order, as wineserver splits the
// path; stops early when `visit` returns false.
template <typename Visit>
void forEachComponent(std::u16string_view path, Visit&& visit) {
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    const std::u16string_view component = path.substr(start, end - start);
    start = end + 1;
    if (!component.empty() && !visit(component)) return;
  }
}

}  // namespace

// Builds one WineRegistryFile from the text of a user.reg.
class WineRegistryParser {
 public:
  // With `keys`, only the sections at, above and below those keys are loaded.
  explicit WineRegistryParser(std::string_view text,
                              const std::vector<std::u16string_view>& keys = {})
      : text_(text), wantedKeys_(keys) {}

  // A parse around `keys` whose deferred sections stay where they are in `text`, which the
  // caller makes the file's deferred text.
  static WineRegistryFile aroundKeepingText(std::string_view text,
                                            const std::vector<std::u16string_view>& keys) {
    WineRegistryParser parser(text, keys);
    parser.textIsKept_ = true;
    return parser.run();
  }

  // A parse of one key's values, parsed on demand: names are stored as they come.
  static WineRegistryFile valuesOfOneKey(std::string_view text) {
    WineRegistryParser parser(text);
    parser.interning_ = false;
    return parser.run();
  }

  WineRegistryFile run() {
    std::string_view line;
    if (text_.size() > WineRegistryFile::kMaxFileSize) return WineRegistryFile();
    if (!nextLine(line) || line != "WINE REGISTRY Version 2") return WineRegistryFile();
    file_.isRegistry_ = true;
    slots_.assign(interning_ ? 1024 : 16, kNoKey);  // one key's values: one key
    // A whole file's value table is allocated once; one key's values are too few to count first.
    if (wantedKeys_.empty() && interning_) file_.values_.reserve(countValueLines());
    while (nextLine(line)) {
      const std::size_t start = skipSpaces(line, 0);
      if (start == line.size()) continue;
      const std::string_view rest = line.substr(start);
      switch (rest[0]) {
        case '[':
          if (isWanted(rest.substr(1))) {
            current_ = loadKey(rest.substr(1));
            if (!wantedKeys_.empty() && current_ != kNoKey) deferSection();
          } else {
            current_ = kNoKey;
            skipSection(kNoKey);
          }
          break;
        case '@':
        case '"':
          if (current_ != kNoKey) loadValue(rest);
          break;
        case '#':
          if (current_ != kNoKey) {
            if (startsWith(rest, "#link")) file_.keys_[current_].link = true;
          } else if (!acceptGlobalOption(rest)) {
            return finish();
          }
          break;
        default:
          break;  // comments, and lines wineserver reports as unrecognised
      }
    }
    return finish();
  }

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
  std::size_t countValueLines() const {
    std::size_t count = 0;
    bool lineStart = true;
    for (const char c : text_.substr(pos_)) {
      if (lineStart && !isSpace(c)) {
        if (c == '"' || c == '@') ++count;
        lineStart = false;
      }
      if (c == '\n') lineStart = true;
    }
    return count;
  }

  // Whether a section is loaded: its key is at, above or below a wanted key. A header that
  // loadKey would refuse is loaded all the same, so that what follows it is read exactly as a
  // full load reads it.
  bool isWanted(std::string_view header) {
    if (wantedKeys_.empty()) return true;
    if (const std::optional<bool> plain = wantedKeys_.matchPlainHeader(header)) return *plain;
    path_.clear();
    std::size_t next = 0;
    if (!unescape(header, ']', next, [this](char16_t unit) { path_.push_back(unit); })) {
      return true;
    }
    if (path_.empty() || path_[0] == 0) return true;  // the hive itself
    // Walks the components as loadKey does, keeping which wanted keys still agree with them.
    std::uint32_t agreeing = (1u << wantedKeys_.size()) - 1;
    std::size_t index = 0;
    bool tooLong = false;
    forEachComponent(path_, [&](std::u16string_view part) {
      tooLong = part.size() > WineRegistryFile::kMaxKeyNameLength;
      for (std::size_t k = 0; k < wantedKeys_.size() && !tooLong; ++k) {
        const auto& wanted = wantedKeys_[k];
        if (index < wanted.size() && WineRegistryFile::compareNames(part, wanted[index]) != 0) {
          agreeing &= ~(1u << k);
        }
      }
      ++index;
      return !tooLong;
    });
    return tooLong || agreeing != 0;
  }

  // Passes over the lines of a section whose values are not loaded now, up to the next section
  // header, and consumes exactly the lines a full load consumes. A header is a line whose first
  // non-blank character is '[', unless a hex value on the line before ends its list with a
  // backslash and so takes it as its continuation: only where the line before holds a backslash
  // are the lines read one by one, value lines parsed (and dropped) for the lines they consume.
  // For a key of the tree (`key`), its "#link" lines are read too, where there may be one.
  void skipSection(KeyId key) {
    while (pos_ < text_.size()) {
      const std::size_t header = nextHeaderCandidate();
      const bool mayLink = key != kNoKey && text_.substr(pos_, header - pos_).find("#link") !=
                                                std::string_view::npos;
      if (!mayLink && !lineBeforeHoldsBackslash(header)) {
        pos_ = header;
        return;
      }
      while (pos_ <= header && pos_ < text_.size()) {
        const std::size_t lineStart = pos_;
        std::string_view line;
        nextLine(line);
        const std::size_t start = skipSpaces(line, 0);
        if (start == line.size()) continue;
        const std::string_view rest = line.substr(start);
        if (rest[0] == '[') {
          pos_ = lineStart;  // the next section: the main loop reads it
          return;
        }
        if (rest[0] == '"' || rest[0] == '@') dropValue(rest);
        if (key != kNoKey && startsWith(rest, "#link")) file_.keys_[key].link = true;
      }
    }
  }

  // Keeps the lines of a section of the tree for the time its key's values are asked for.
  void deferSection() {
    const std::size_t begin = pos_;
    skipSection(current_);
    if (textIsKept_) {  // the whole text becomes the file's, so its lines are where they are
      file_.deferred_.push_back(
          {current_, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(pos_ - begin)});
      return;
    }
    auto& text = file_.deferredText_;
    file_.deferred_.push_back({current_, static_cast<std::uint32_t>(text.size()),
                               static_cast<std::uint32_t>(pos_ - begin)});
    text.append(text_.substr(begin, pos_ - begin));
  }

  // The start of the next line, from pos_ on, whose first non-blank character is '[' (or the
  // end of the text).
  std::size_t nextHeaderCandidate() const {
    std::size_t from = pos_;
    while (from < text_.size()) {
      const auto* bracket =
          static_cast<const char*>(std::memchr(text_.data() + from, '[', text_.size() - from));
      if (!bracket) break;
      std::size_t lineStart = static_cast<std::size_t>(bracket - text_.data());
      while (lineStart > pos_ && text_[lineStart - 1] != '\n' && isSpace(text_[lineStart - 1])) {
        --lineStart;
      }
      if (lineStart == pos_ || text_[lineStart - 1] == '\n') return lineStart;
      from = static_cast<std::size_t>(bracket - text_.data()) + 1;
    }
    return text_.size();
  }

  // Whether the line before the one starting at `lineStart` (from pos_ on) holds a backslash.
  bool lineBeforeHoldsBackslash(std::size_t lineStart) const {
    if (lineStart <= pos_) return false;  // pos_ starts a line: nothing before it is unread
    std::size_t i = lineStart - 1;        // the '\n' that ends the line before
    while (i > pos_) {
      --i;
      if (text_[i] == '\n') return false;
      if (text_[i] == '\\') return true;
    }
    return false;
  }

  // Parses a value line only for the lines it consumes; the tree is left as it was.
  void dropValue(std::string_view line) {
    const std::size_t names = file_.names_.size();
    const std::size_t data = file_.data_.size();
    const std::size_t values = file_.values_.size();
    const KeyId key = current_;
    current_ = WineRegistryFile::kRoot;
    dropping_ = true;
    loadValue(line);
    dropping_ = false;
    current_ = key;
    file_.names_.resize(names);
    file_.data_.resize(data);
    file_.values_.resize(values);
  }

  // Value names repeat from key to key (ItemID1, ItemID2, ...): short ones are stored once.
  void internValueName(std::size_t& offset, std::size_t length) {
    auto& names = file_.names_;
    if (!interning_ || dropping_ || length == 0 || length > 64) return;
    const std::u16string_view name = std::u16string_view(names).substr(offset, length);
    const auto found = internedNames_.find(name);
    if (found != internedNames_.end()) {
      names.resize(offset);
      offset = found->second;
    } else if (internedNames_.size() < 65536) {
      internedNames_.emplace(std::u16string(name), offset);
    }
  }

  // Only "#arch=" matters before the first key: anything but exactly win32 or win64, or a
  // change of architecture, stops the load (what was loaded stays).
  bool acceptGlobalOption(std::string_view line) {
    if (!startsWith(line, "#arch=")) return true;
    const std::string_view arch = line.substr(6);
    if (arch != "win32" && arch != "win64") return false;
    if (arch_.empty()) arch_ = std::string(arch);
    return arch_ == arch;
  }

  // "[path] seconds": the key, created with its missing ancestors, or kNoKey when the line is
  // damaged or a name is too long (ancestors made before that point stay).
  KeyId loadKey(std::string_view text) {
    path_.clear();
    std::size_t next = 0;
    if (!unescape(text, ']', next, [this](char16_t unit) { path_.push_back(unit); })) {
      return kNoKey;
    }
    if (path_.empty() || path_[0] == 0) return WineRegistryFile::kRoot;
    KeyId key = WineRegistryFile::kRoot;
    forEachComponent(path_, [&](std::u16string_view component) {
      key = component.size() > WineRegistryFile::kMaxKeyNameLength
                ? kNoKey
                : findOrCreateKey(key, component);
      return key != kNoKey;
    });
    return key;
  }

  void loadValue(std::string_view line) {
    auto& names = file_.names_;
    auto& data = file_.data_;
    const std::size_t nameStart = names.size();
    std::size_t pos = 1;
    if (line[0] == '"') {
      const std::size_t plainEnd = plainNameEnd(line);
      if (plainEnd != std::string_view::npos) {
        // No escape and no byte above ASCII: unescaping copies the bytes as they are.
        names.resize(nameStart + plainEnd - 1);
        std::copy(line.begin() + 1, line.begin() + static_cast<std::ptrdiff_t>(plainEnd),
                  names.begin() + static_cast<std::ptrdiff_t>(nameStart));
        pos = plainEnd + 1;
      } else {
        reserveFor(names, line.size());
        std::size_t next = 0;
        if (!unescape(line.substr(1), '"', next,
                      [&names](char16_t unit) { names.push_back(unit); })) {
          names.resize(nameStart);
          return;
        }
        pos = 1 + next;
      }
    }
    const std::size_t nameLength = names.size() - nameStart;
    pos = skipSpaces(line, pos);
    if (pos >= line.size() || line[pos] != '=' ||
        nameLength > WineRegistryFile::kMaxValueNameLength) {
      names.resize(nameStart);
      return;
    }
    pos = skipSpaces(line, pos + 1);

    std::size_t nameOffset = nameStart;
    internValueName(nameOffset, nameLength);
    WineRegistryFile::Value value;
    value.key = current_;
    value.nameOffset = static_cast<std::uint32_t>(nameOffset);
    value.nameLength = static_cast<std::uint32_t>(nameLength);
    const std::size_t dataStart = data.size();
    std::uint32_t type = kRegNone;
    if (!loadData(line.substr(pos), type) ||
        data.size() - dataStart > std::numeric_limits<std::uint32_t>::max()) {
      // A damaged data part still creates the value, as REG_NONE without data.
      data.resize(dataStart);
      type = kRegNone;
    }
    value.type = type;
    value.dataOffset = static_cast<std::uint32_t>(dataStart);
    value.dataLength = static_cast<std::uint32_t>(data.size() - dataStart);
    file_.values_.push_back(value);
  }

  // The index of the closing quote of a quoted name that holds neither a backslash nor a byte
  // above ASCII, or npos.
  static std::size_t plainNameEnd(std::string_view line) {
    for (std::size_t p = 1; p < line.size(); ++p) {
      const auto c = static_cast<unsigned char>(line[p]);
      if (c == '"') return p;
      if (c == '\\' || c >= 0x80) return std::string_view::npos;
    }
    return std::string_view::npos;
  }

  bool loadData(std::string_view text, std::uint32_t& type) {
    // The forms start differently, so the order of the tests only puts the usual one first.
    if (startsWith(text, "hex:")) return loadHex(text.substr(4), type = kRegBinary);
    if (startsWith(text, "\"")) return loadString(text.substr(1), type = kRegSz);
    if (startsWith(text, "str:\"")) return loadString(text.substr(5), type = kRegSz);
    if (startsWith(text, "str(2):\"")) return loadString(text.substr(8), type = kRegExpandSz);
    if (startsWith(text, "str(7):\"")) return loadString(text.substr(8), type = kRegMultiSz);
    if (startsWith(text, "dword:")) {
      type = kRegDword;
      std::size_t end = 0;
      const auto value = static_cast<std::uint32_t>(parseUnsignedHex(text, 6, end));
      for (int shift = 0; shift < 32; shift += 8) {
        file_.data_.push_back(static_cast<char>((value >> shift) & 0xff));
      }
      return true;
    }
    if (startsWith(text, "hex(")) {
      std::size_t end = 0;
      type = static_cast<std::uint32_t>(parseUnsignedHex(text, 4, end));
      if (!startsWith(text.substr(end), "):")) return false;
      return loadHex(text.substr(end + 2), type);
    }
    return false;
  }

  // A quoted string, stored as UTF-16LE plus one NUL unit; text after the closing quote is
  // ignored.
  bool loadString(std::string_view text, std::uint32_t) {
    auto& data = file_.data_;
    reserveFor(data, 2 * text.size() + 2);
    std::size_t next = 0;
    const bool closed = unescape(text, '"', next, [&data](char16_t unit) {
      data.push_back(static_cast<char>(unit & 0xff));
      data.push_back(static_cast<char>(unit >> 8));
    });
    if (!closed) return false;
    data.append(2, '\0');
    return true;
  }

  // Hex bytes separated by blanks and/or one comma each; a trailing backslash continues the
  // list on the next physical line.
  bool loadHex(std::string_view text, std::uint32_t) {
    auto& data = file_.data_;
    for (;;) {
      std::size_t p = 0;
      while (isHexDigit(text, p)) {
        std::size_t end = p + 2;
        std::uint64_t byte = 0;
        if (isHexDigit(text, p + 1) && !isHexDigit(text, p + 2)) {
          // The usual two digits: what parseUnsignedHex makes of them, without its generality.
          byte = static_cast<std::uint64_t>(hexDigit(text[p]) * 16 + hexDigit(text[p + 1]));
        } else {
          byte = parseUnsignedHex(text, p, end);
        }
        if (byte > 0xff) return false;
        data.push_back(static_cast<char>(byte));
        p = skipSpaces(text, end);
        if (p < text.size() && text[p] == ',') ++p;
        p = skipSpaces(text, p);
      }
      p = skipSpaces(text, p);
      if (p >= text.size()) return true;
      if (text[p] != '\\') return false;
      if (!nextLine(text)) return false;
      text = text.substr(skipSpaces(text, 0));
    }
  }

  // Keys are looked up during the load through one open-addressing table keyed by
  // (parent, case-folded name), so that revisiting a key in any spelling finds it again.
  static std::uint64_t hashOf(KeyId parent, std::u16string_view name) {
    std::uint64_t hash = 1469598103934665603ull ^ (std::uint64_t(parent) * 0x9e3779b97f4a7c15ull);
    for (const char16_t unit : name) {
      hash = (hash ^ WineRegistryFile::foldCase(unit)) * 1099511628211ull;
    }
    return hash ^ (hash >> 29);
  }

  std::u16string_view storedName(KeyId key) const {
    const auto& k = file_.keys_[key];
    return std::u16string_view(file_.names_).substr(k.nameOffset, k.nameLength);
  }

  KeyId findOrCreateKey(KeyId parent, std::u16string_view name) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hashOf(parent, name) & mask;
    for (; slots_[slot] != kNoKey; slot = (slot + 1) & mask) {
      const KeyId candidate = slots_[slot];
      if (file_.keys_[candidate].parent == parent &&
          WineRegistryFile::compareNames(storedName(candidate), name) == 0) {
        return candidate;
      }
    }
    WineRegistryFile::Key key;
    key.nameOffset = static_cast<std::uint32_t>(file_.names_.size());
    key.nameLength = static_cast<std::uint32_t>(name.size());
    key.parent = parent;
    file_.names_.append(name);
    const auto id = static_cast<KeyId>(file_.keys_.size());
    file_.keys_.push_back(key);
    slots_[slot] = id;
    if (file_.keys_.size() * 2 > slots_.size()) growTable();
    return id;
  }

  void growTable() {
    slots_.assign(slots_.size() * 2, kNoKey);
    const std::size_t mask = slots_.size() - 1;
    for (KeyId id = 1; id < file_.keys_.size(); ++id) {
      std::size_t slot = hashOf(file_.keys_[id].parent, storedName(id)) & mask;
      while (slots_[slot] != kNoKey) slot = (slot + 1) & mask;
      slots_[slot] = id;
    }
  }

  WineRegistryFile finish() {
    slots_ = std::vector<KeyId>();
    internedNames_.clear();
    orderSubkeys();
    orderValues();
    return std::move(file_);
  }

  // Groups the keys by parent (a counting sort, stable in creation order), then sorts each group
  // by name unless the file already listed it in order, as Wine writes it.
  void orderSubkeys() {
    auto& keys = file_.keys_;
    auto& children = file_.children_;
    for (KeyId id = 1; id < keys.size(); ++id) ++keys[keys[id].parent].childCount;
    std::uint32_t begin = 0;
    for (auto& key : keys) {
      key.childBegin = begin;
      begin += key.childCount;
      key.childCount = 0;
    }
    children.resize(begin);
    for (KeyId id = 1; id < keys.size(); ++id) {
      auto& parent = keys[keys[id].parent];
      children[parent.childBegin + parent.childCount++] = id;
    }
    const auto byName = [this](KeyId a, KeyId b) {
      return WineRegistryFile::compareNames(storedName(a), storedName(b)) < 0;
    };
    for (const auto& key : keys) {
      const auto first = children.begin() + key.childBegin;
      const auto last = first + key.childCount;
      if (!std::is_sorted(first, last, byName)) std::sort(first, last, byName);
    }
  }

  // Sorts the values of each key by name and merges the lines that name the same value: the
  // first spelling stays, the last line's type and data win.
  void orderValues() {
    auto& values = file_.values_;
    const auto byKey = [](const WineRegistryFile::Value& a, const WineRegistryFile::Value& b) {
      return a.key < b.key;
    };
    if (!std::is_sorted(values.begin(), values.end(), byKey)) {
      std::stable_sort(values.begin(), values.end(), byKey);
    }
    const auto compare = [this](const WineRegistryFile::Value& a,
                                const WineRegistryFile::Value& b) {
      return WineRegistryFile::compareNames(file_.valueName(a), file_.valueName(b));
    };
    std::size_t out = 0;
    for (std::size_t first = 0; first < values.size();) {
      std::size_t last = first;
      while (last < values.size() && values[last].key == values[first].key) ++last;
      const auto groupBegin = values.begin() + static_cast<std::ptrdiff_t>(first);
      const auto groupEnd = values.begin() + static_cast<std::ptrdiff_t>(last);
      bool strictlyOrdered = true;
      for (std::size_t i = first + 1; i < last && strictlyOrdered; ++i) {
        strictlyOrdered = compare(values[i - 1], values[i]) < 0;
      }
      if (!strictlyOrdered) {
        std::stable_sort(groupBegin, groupEnd,
                         [&compare](const auto& a, const auto& b) { return compare(a, b) < 0; });
      }
      auto& key = file_.keys_[values[first].key];
      key.valueBegin = static_cast<std::uint32_t>(out);
      if (strictlyOrdered) {  // no name twice: nothing to merge
        for (std::size_t i = first; i < last; ++i) values[out++] = values[i];
        key.valueCount = static_cast<std::uint32_t>(out - key.valueBegin);
        first = last;
        continue;
      }
      for (std::size_t i = first; i < last;) {
        std::size_t j = i + 1;
        while (j < last && compare(values[i], values[j]) == 0) ++j;
        WineRegistryFile::Value merged = values[j - 1];
        merged.nameOffset = values[i].nameOffset;
        merged.nameLength = values[i].nameLength;
        values[out++] = merged;
        i = j;
      }
      key.valueCount = static_cast<std::uint32_t>(out - key.valueBegin);
      first = last;
    }
    values.resize(out);
    if (values.capacity() > out + out / 4) values.shrink_to_fit();
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  WineRegistryFile file_;
  KeyId current_ = kNoKey;
  WantedKeys wantedKeys_;    // empty: every key
  bool dropping_ = false;    // parsing a value to drop it
  bool textIsKept_ = false;  // the text will be the file's deferred text as it is
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

WineRegistryFile::WineRegistryFile() { keys_.emplace_back(); }

WineRegistryFile WineRegistryFile::parse(std::string_view text) {
  return WineRegistryParser(text).run();
}

WineRegistryFile WineRegistryFile::parseAround(std::string&& text,
                                               const std::vector<std::u16string_view>& keys) {
  WineRegistryFile file = WineRegistryParser::aroundKeepingText(text, keys);
  file.deferredText_ = std::move(text);
  file.valuesDeferred_ = true;
  return file;
}

WineRegistryFile WineRegistryFile::parseAround(std::string_view text,
                                               const std::vector<std::u16string_view>& keys) {
  WineRegistryFile file = WineRegistryParser(text, keys).run();
  file.valuesDeferred_ = true;
  return file;
}

const WineRegistryFile::LoadedValues* WineRegistryFile::valuesOf(KeyId key) const {
  // A key's values are read one after the other: the last key asked for is kept at hand.
  if (lastLoaded_ && lastLoadedKey_ == key) return lastLoaded_;
  const LoadedValues* loaded = loadValuesOf(key);
  lastLoadedKey_ = key;
  lastLoaded_ = loaded;
  return loaded;
}

const WineRegistryFile::LoadedValues* WineRegistryFile::loadValuesOf(KeyId key) const {
  if (const auto found = loaded_.find(key); found != loaded_.end()) return &found->second;
  // The key's sections in file order, each under a header of its own, as a user.reg of one key:
  // a full load of it gives the key's values exactly as a full load of the whole file does.
  std::string text = "WINE REGISTRY Version 2\n";
  std::size_t length = text.size();
  for (const DeferredSection& section : deferred_) {
    if (section.key == key) length += 4 + section.length;
  }
  text.reserve(length);
  bool any = false;
  for (const DeferredSection& section : deferred_) {
    if (section.key != key) continue;
    text += "[k]\n";
    text.append(deferredText_, section.offset, section.length);
    any = true;
  }
  if (!any) return nullptr;
  auto values = std::make_unique<WineRegistryFile>(WineRegistryParser::valuesOfOneKey(text));
  const KeyId valuesKey = values->findSubkey(kRoot, u"k").value_or(kRoot);
  return &loaded_.emplace(key, LoadedValues{std::move(values), valuesKey}).first->second;
}

std::size_t WineRegistryFile::valueCount(KeyId key) const {
  if (!valuesDeferred_) return keys_[key].valueCount;
  const LoadedValues* loaded = valuesOf(key);
  return loaded ? loaded->file->valueCount(loaded->key) : 0;
}

char16_t WineRegistryFile::foldCase(char16_t unit) {
  if (unit < 0x80) return (unit >= u'A' && unit <= u'Z') ? char16_t(unit + 32) : unit;
  return static_cast<char16_t>(QChar::toLower(char32_t(unit)));
}

int WineRegistryFile::compareNames(std::u16string_view a, std::u16string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const char16_t x = foldCase(a[i]);
    const char16_t y = foldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::u16string_view WineRegistryFile::keyName(KeyId key) const {
  const auto& k = keys_[key];
  return std::u16string_view(names_).substr(k.nameOffset, k.nameLength);
}

std::optional<WineRegistryFile::KeyId> WineRegistryFile::findSubkey(
    KeyId parent, std::u16string_view name) const {
  const auto first = children_.begin() + keys_[parent].childBegin;
  const auto last = first + keys_[parent].childCount;
  const auto found =
      std::lower_bound(first, last, name, [this](KeyId child, std::u16string_view wanted) {
        return compareNames(keyName(child), wanted) < 0;
      });
  if (found == last || compareNames(keyName(*found), name) != 0) return std::nullopt;
  return *found;
}

WineValue WineRegistryFile::value(KeyId key, std::size_t index) const {
  if (valuesDeferred_) {
    const LoadedValues* loaded = valuesOf(key);
    return loaded->file->value(loaded->key, index);
  }
  const Value& v = values_[keys_[key].valueBegin + index];
  return WineValue{valueName(v), v.type,
                   std::string_view(data_).substr(v.dataOffset, v.dataLength)};
}

std::optional<WineValue> WineRegistryFile::findValue(KeyId key, std::u16string_view name) const {
  if (valuesDeferred_) {
    const LoadedValues* loaded = valuesOf(key);
    return loaded ? loaded->file->findValue(loaded->key, name) : std::nullopt;
  }
  const auto first = values_.begin() + keys_[key].valueBegin;
  const auto last = first + keys_[key].valueCount;
  const auto found =
      std::lower_bound(first, last, name, [this](const Value& v, std::u16string_view wanted) {
        return compareNames(valueName(v), wanted) < 0;
      });
  if (found == last || compareNames(valueName(*found), name) != 0) return std::nullopt;
  return value(key, static_cast<std::size_t>(found - values_.begin()) - keys_[key].valueBegin);
}

}  // namespace sacotin
