#pragma once

// The lexical rules of Wine's user.reg text, as wineserver applies them: blanks, hex digits and
// numbers, the escapes of quoted strings and key paths, and how a key path splits into names.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace sacotin::wine_text {

// The C locale's isspace and isxdigit: wineserver runs in the C locale.
inline bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

inline bool isHexDigit(std::string_view s, std::size_t i) {
  return i < s.size() && hexDigit(s[i]) >= 0;
}

inline std::size_t skipSpaces(std::string_view s, std::size_t i) {
  while (i < s.size() && isSpace(s[i])) ++i;
  return i;
}

// strtoul(s + i, &end, 16) on a 64-bit system: blanks, a sign and "0x" are accepted, an
// out-of-range number saturates, and `end` stays at `i` when there is no digit at all.
std::uint64_t parseUnsignedHex(std::string_view s, std::size_t i, std::size_t& end);

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

inline bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Hands each non-empty component of a key path to `visit`, in order, as wineserver splits the
// path; stops early when `visit` returns false.
template <typename View, typename Visit>
void forEachComponentOf(View path, Visit& visit) {
  constexpr auto kSeparator = typename View::value_type('\\');
  for (std::size_t start = path.find_first_not_of(kSeparator); start < path.size();) {
    const std::size_t end = std::min(path.find(kSeparator, start), path.size());
    if (!visit(path.substr(start, end - start))) return;
    start = path.find_first_not_of(kSeparator, end);
  }
}
template <typename Visit>
void forEachComponent(std::u16string_view path, Visit&& visit) {
  forEachComponentOf(path, visit);
}
// The same for a header whose components are separated by doubled backslashes and hold no
// escape: the empty components between the two backslashes of each pair are left out.
template <typename Visit>
void forEachComponent(std::string_view path, Visit&& visit) {
  forEachComponentOf(path, visit);
}

// The start of the next line in [from, end) whose first non-blank character is '[' (a section
// header, unless a hex value before takes it as its continuation), or `end`. `from` starts a line.
// Looks for the brackets alone, at memchr's speed: they are rare outside headers.
inline std::size_t nextHeaderLine(std::string_view text, std::size_t from, std::size_t end) {
  for (std::size_t search = from; search < end;) {
    const auto* bracket =
        static_cast<const char*>(std::memchr(text.data() + search, '[', end - search));
    if (!bracket) break;
    const auto at = static_cast<std::size_t>(bracket - text.data());
    std::size_t lineStart = at;
    while (lineStart > from && text[lineStart - 1] != '\n' && isSpace(text[lineStart - 1])) {
      --lineStart;
    }
    if (lineStart == from || text[lineStart - 1] == '\n') return lineStart;
    search = at + 1;
  }
  return end;
}

// The header line that starts at `lineStart` (as nextHeaderLine finds it), up to `end`: the line
// whole, its '\n' included, and its text after the '['.
struct HeaderLine {
  std::string_view line;
  std::string_view afterBracket;
};
inline HeaderLine headerLineAt(std::string_view text, std::size_t lineStart, std::size_t end) {
  const std::size_t newline = text.find('\n', lineStart);
  const std::string_view line =
      text.substr(lineStart, (newline < end ? newline + 1 : end) - lineStart);
  return {line, line.substr(line.find('[') + 1)};
}

// Whether the last of some whole lines holds a backslash (the '\n' that ends it, if any, aside):
// then a hex value on it may take the next line, even one that starts with '[', as its
// continuation.
inline bool lastLineHoldsBackslash(std::string_view lines) {
  if (lines.empty()) return false;
  const auto* lineEnd = lines.data() + lines.size() - 1;  // its '\n', or its last character
  const auto* before = static_cast<const char*>(
      memrchr(lines.data(), '\n', static_cast<std::size_t>(lineEnd - lines.data())));
  const char* lineStart = before ? before + 1 : lines.data();
  return std::memchr(lineStart, '\\', static_cast<std::size_t>(lineEnd - lineStart + 1)) != nullptr;
}

}  // namespace sacotin::wine_text
