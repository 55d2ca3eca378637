// Fuzzes the catalogue reader with any bytes as liste.dat: decoding through a code page,
// splitting into lines, building the catalogue, looking items up and listing the names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogue/catalogue.h"
#include "encodings/ansi_code_page.h"
#include "registry/item_number.h"

namespace {

// Code pages of different shapes: single-byte, double-byte, UTF-8.
const sacotin::AnsiCodePage& codePageFor(std::uint8_t selector) {
  static const auto cp1252 = sacotin::makeAnsiCodePage(1252);
  static const auto cp1251 = sacotin::makeAnsiCodePage(1251);
  static const auto cp932 = sacotin::makeAnsiCodePage(932);
  static const auto utf8 = sacotin::makeAnsiCodePage(65001);
  switch (selector % 8) {
    case 1:
      return *cp1251;
    case 2:
      return *cp932;
    case 3:
      return *utf8;
    default:
      return *cp1252;  // the usual case gets most of the runs
  }
}

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const sacotin::AnsiCodePage& codePage = codePageFor(data[0]);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::u16string text = codePage.decode(bytes);
  const sacotin::Catalogue catalogue(text);

  // Numbers a slot can give, including ones built from the input's own first bytes.
  for (const std::string_view slot :
       {std::string_view("\xd2\x04", 2), std::string_view("\0\0", 2),
        std::string_view("\xff\xff", 2), std::string_view("\x05", 1), bytes.substr(0, 2)}) {
    const std::u16string name = catalogue.nameOf(sacotin::itemNumber(slot));
    require(!catalogue.itemNumbersNamed(name).empty());
  }
  std::size_t nameChars = 0;
  for (const auto& name : catalogue.names()) {
    require(name.find_first_of(u"\r\n") == std::u16string::npos);
    nameChars += name.size();
  }
  require(nameChars <= text.size());
  return 0;
}
