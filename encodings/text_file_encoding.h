#pragma once

#include <string>
#include <string_view>

#include "encodings/ansi_code_page.h"

namespace sacotin {

// Decodes a text file that may have been saved in the Windows ANSI code page (as on Windows) or
// in UTF-8 (as Linux editors and today's Notepad save it). It is UTF-8 when it starts with the
// UTF-8 byte-order mark (which is dropped), or when all of it decodes as UTF-8 and it holds at
// least one non-ASCII sequence; otherwise, the ANSI code page's text. Plain ASCII reads the same
// either way.
std::u16string decodeTextFile(std::string_view bytes, const AnsiCodePage& ansiCodePage);

}  // namespace sacotin
