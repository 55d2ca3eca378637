#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace sacotin {

// The locale variables Wine looks at when it picks the ANSI code page.
struct LocaleEnvironment {
  std::string lcAll;
  std::string lcCtype;
  std::string lang;
};

// The Windows ANSI code page of a Unix locale name "ll_CC.charset@modifier", as Wine maps it:
// the charset is ignored (de_DE.UTF-8 is 1252), @latin / @cyrillic pick the script where a
// language has both, C and POSIX are en-US, and unknown languages are 1252.
int ansiCodePageOfLocaleName(std::string_view unixName);

// The ANSI code page Wine starts with in that environment. The C library takes the first
// non-empty of LC_ALL, LC_CTYPE and LANG for the character type; a locale that isn't installed
// (`isInstalled` false) leaves it at C, in which case Wine still tries LC_ALL itself.
int wineAnsiCodePage(const LocaleEnvironment& environment,
                     const std::function<bool(const std::string& name)>& isInstalled);

// The same for this process: its environment, and the locales installed on this machine (the
// C library also stays at C when the locale of any other category is missing).
int wineAnsiCodePageOfThisProcess();

}  // namespace sacotin
