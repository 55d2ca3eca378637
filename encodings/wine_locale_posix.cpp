#include <locale.h>

#include <cstdlib>
#include <map>

#include "encodings/wine_locale.h"

namespace sacotin {
namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool isInstalledLocale(const std::string& name) {
  const locale_t locale = ::newlocale(LC_CTYPE_MASK, name.c_str(), locale_t(0));
  if (locale == locale_t(0)) return false;
  ::freelocale(locale);
  return true;
}

// Whether setlocale(LC_ALL, "") would succeed: it fails as a whole, leaving every category at C,
// when the locale of any category is missing.
bool environmentLocaleLoads() {
  const locale_t locale = ::newlocale(LC_ALL_MASK, "", locale_t(0));
  if (locale == locale_t(0)) return false;
  ::freelocale(locale);
  return true;
}

}  // namespace

int ansiCodePageOfLocaleName(std::string_view unixName) {
  const std::string_view language = unixName.substr(0, unixName.find_first_of("_.@"));
  std::string_view country;
  if (const auto underscore = unixName.find('_');
      underscore != std::string_view::npos && underscore == language.size()) {
    country = unixName.substr(underscore + 1);
    country = country.substr(0, country.find_first_of(".@"));
  }
  std::string_view modifier;
  if (const auto at = unixName.find('@'); at != std::string_view::npos) {
    modifier = unixName.substr(at + 1);
  }
  const bool latin = modifier == "latin";
  const bool cyrillic = modifier == "cyrillic";

  if (language == "zh") {
    return (country == "TW" || country == "HK" || country == "MO") ? 950 : 936;
  }
  // Languages written in two scripts: the default script first, then the modifier's.
  if (language == "sr") return latin ? 1250 : 1251;
  if (language == "bs") return cyrillic ? 1251 : 1250;
  if (language == "uz" || language == "az") return cyrillic ? 1251 : 1254;

  static const std::map<std::string_view, int> byLanguage = {
      {"pl", 1250},  {"cs", 1250},  {"sk", 1250},  {"hu", 1250},  {"ro", 1250},  {"hr", 1250},
      {"sl", 1250},  {"sq", 1250},  {"tk", 1250},  {"ru", 1251},  {"uk", 1251},  {"be", 1251},
      {"bg", 1251},  {"mk", 1251},  {"kk", 1251},  {"ky", 1251},  {"tt", 1251},  {"ba", 1251},
      {"tg", 1251},  {"mn", 1251},  {"el", 1253},  {"tr", 1254},  {"he", 1255},  {"yi", 1255},
      {"ar", 1256},  {"fa", 1256},  {"ur", 1256},  {"ug", 1256},  {"et", 1257},  {"lv", 1257},
      {"lt", 1257},  {"vi", 1258},  {"th", 874},   {"ja", 932},   {"ko", 949},   {"hi", 65001},
      {"mr", 65001}, {"sa", 65001}, {"ne", 65001}, {"bn", 65001}, {"as", 65001}, {"pa", 65001},
      {"gu", 65001}, {"or", 65001}, {"ta", 65001}, {"te", 65001}, {"kn", 65001}, {"ml", 65001},
      {"si", 65001}, {"km", 65001}, {"lo", 65001}, {"my", 65001}, {"bo", 65001}, {"ka", 65001},
      {"hy", 65001}, {"am", 65001}, {"ti", 65001}, {"dv", 65001},
  };
  const auto found = byLanguage.find(language);
  return found == byLanguage.end() ? 1252 : found->second;
}

int wineAnsiCodePage(const LocaleEnvironment& environment,
                     const std::function<bool(const std::string& name)>& isInstalled) {
  std::string name;
  for (const std::string* candidate :
       {&environment.lcAll, &environment.lcCtype, &environment.lang}) {
    if (!candidate->empty()) {
      name = *candidate;
      break;
    }
  }
  if (name.empty() || !isInstalled(name)) name = "C";
  if (name == "C") {
    if (environment.lcAll.empty()) return 1252;
    name = environment.lcAll;
  }
  return ansiCodePageOfLocaleName(name);
}

int wineAnsiCodePageOfThisProcess() {
  const LocaleEnvironment environment{variable("LC_ALL"), variable("LC_CTYPE"), variable("LANG")};
  return wineAnsiCodePage(environment, [](const std::string& name) {
    return environmentLocaleLoads() && isInstalledLocale(name);
  });
}

}  // namespace sacotin
