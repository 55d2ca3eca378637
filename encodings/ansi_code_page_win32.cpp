// The ANSI code page on Windows: the system's own converters, so every byte and every
// character maps exactly as in the registry's ANSI functions (best-fit characters included).
#include <windows.h>

#include <climits>

#include "encodings/ansi_code_page.h"

namespace sacotin {
namespace {

class Win32AnsiCodePage final : public AnsiCodePage {
 public:
  explicit Win32AnsiCodePage(UINT number) : number_(number) {}

  int number() const override { return static_cast<int>(number_); }

  std::u16string decode(std::string_view bytes) const override {
    // The conversion functions count in int; a text beyond that is not one this program
    // meets (the catalogue is a few kilobytes) and converts to nothing rather than to a part.
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int byteCount = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(number_, 0, bytes.data(), byteCount, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(number_, 0, bytes.data(), byteCount, text.data(), length);
    return std::u16string(text.begin(), text.end());
  }

  std::string encode(std::u16string_view text) const override {
    if (text.empty() || text.size() > INT_MAX) return {};
    const std::wstring wide(text.begin(), text.end());
    const int unitCount = static_cast<int>(wide.size());
    // No flags and no default character: the code page's best-fit table, then its own
    // default character ('?'), exactly as the ANSI registry functions convert names and data.
    const int length =
        WideCharToMultiByte(number_, 0, wide.data(), unitCount, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(number_, 0, wide.data(), unitCount, bytes.data(), length, nullptr, nullptr);
    return bytes;
  }

 private:
  UINT number_;
};

}  // namespace

std::unique_ptr<AnsiCodePage> makeAnsiCodePage(int codePage) {
  const UINT number = codePage > 0 && IsValidCodePage(static_cast<UINT>(codePage))
                          ? static_cast<UINT>(codePage)
                          : 1252u;
  return std::make_unique<Win32AnsiCodePage>(number);
}

std::unique_ptr<AnsiCodePage> systemAnsiCodePage() { return makeAnsiCodePage(GetACP()); }

}  // namespace sacotin
