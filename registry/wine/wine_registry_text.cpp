#include "registry/wine/wine_registry_text.h"

#include <limits>

namespace sacotin::wine_text {

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

}  // namespace sacotin::wine_text
