#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace sacotin {

// The Windows "ANSI" code page: the 8-bit encoding the game's registry calls and the item
// catalogue use. Text inside the program is UTF-16; bytes cross this boundary only here.
class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;

  // Windows code page number, for example 1252.
  virtual int number() const = 0;

  // One byte (or one double-byte sequence) to one character, the way Windows maps it.
  virtual std::u16string decode(std::string_view bytes) const = 0;

  // Characters the code page lacks become its best-fit character or '?', as Windows does.
  virtual std::string encode(std::u16string_view text) const = 0;
};

// The code page this machine's registry calls use: GetACP() on Windows; under Wine, the one
// Wine derives from LC_ALL / LC_CTYPE / LANG (1252 when the language is unknown).
std::unique_ptr<AnsiCodePage> systemAnsiCodePage();

// A given code page (1250-1258, 874, 932, 936, 949, 950 or 65001); falls back to 1252 when the
// platform has no converter for it.
std::unique_ptr<AnsiCodePage> makeAnsiCodePage(int codePage);

}  // namespace sacotin
