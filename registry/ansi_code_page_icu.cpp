// The ANSI code page under Wine, derived from the locale the way Wine derives it, with the
// conversions done by Qt's ICU-backed codecs.
#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstdlib>
#include <map>

#include "registry/ansi_code_page.h"

namespace sacotin {
namespace {

// Windows' default ANSI code page of a language (and, for Chinese, of a country).
int codePageOfLocale(const std::string& language, const std::string& country) {
  static const std::map<std::string, int> byLanguage = {
      {"pl", 1250}, {"cs", 1250}, {"sk", 1250}, {"hu", 1250}, {"ro", 1250}, {"hr", 1250},
      {"sl", 1250}, {"sq", 1250}, {"bs", 1250}, {"ru", 1251}, {"uk", 1251}, {"be", 1251},
      {"bg", 1251}, {"mk", 1251}, {"kk", 1251}, {"el", 1253}, {"tr", 1254}, {"az", 1254},
      {"he", 1255}, {"ar", 1256}, {"fa", 1256}, {"ur", 1256}, {"et", 1257}, {"lv", 1257},
      {"lt", 1257}, {"vi", 1258}, {"th", 874},  {"ja", 932},  {"ko", 949},  {"sr", 1250},
  };
  if (language == "zh") {
    return (country == "TW" || country == "HK" || country == "MO") ? 950 : 936;
  }
  const auto found = byLanguage.find(language);
  return found == byLanguage.end() ? 1252 : found->second;
}

QByteArray icuName(int codePage) {
  switch (codePage) {
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 65001: return "UTF-8";
    default: return "windows-" + QByteArray::number(codePage);
  }
}

class IcuAnsiCodePage final : public AnsiCodePage {
 public:
  IcuAnsiCodePage(int number, QByteArray name) : number_(number), name_(std::move(name)) {}

  int number() const override { return number_; }

  std::u16string decode(std::string_view bytes) const override {
    QStringDecoder decoder(name_.constData());
    const QString text = decoder(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return text.toStdU16String();
  }

  std::string encode(std::u16string_view text) const override {
    QStringEncoder encoder(name_.constData());
    const QByteArray bytes = encoder(QStringView(text.data(), qsizetype(text.size())));
    return bytes.toStdString();
  }

 private:
  int number_;
  QByteArray name_;
};

}  // namespace

std::unique_ptr<AnsiCodePage> makeAnsiCodePage(int codePage) {
  QByteArray name = icuName(codePage);
  if (!QStringDecoder(name.constData()).isValid()) {
    codePage = 1252;
    name = icuName(codePage);
  }
  return std::make_unique<IcuAnsiCodePage>(codePage, name);
}

std::unique_ptr<AnsiCodePage> systemAnsiCodePage() {
  // The first non-empty of LC_ALL, LC_CTYPE, LANG; "ll_CC.charset@modifier", charset ignored.
  std::string locale;
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) {
      locale = value;
      break;
    }
  }
  locale = locale.substr(0, locale.find_first_of(".@"));
  const auto separator = locale.find('_');
  const std::string language = locale.substr(0, separator);
  const std::string country =
      separator == std::string::npos ? std::string() : locale.substr(separator + 1);
  return makeAnsiCodePage(codePageOfLocale(language, country));
}

}  // namespace sacotin
