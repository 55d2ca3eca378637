// The ANSI code page under Wine, chosen from the locale the way Wine chooses it.
//
// The byte <-> character tables come from Qt's ICU-backed decoders. ICU's encoders substitute
// 0x1A for characters a code page lacks, whereas Windows first tries a "best fit" (é becomes e in
// code page 1251) and then writes '?'. So encoding goes through our own table: the characters
// the code page has, then for the others a character of their Unicode decomposition, which
// covers accented letters, full-width forms, super- and subscript digits, letter-like symbols
// and spaces; everything else becomes '?'. Microsoft's best-fit tables also hold hand-picked
// look-alikes that have no decomposition (T with stroke to T, Greek letters to Latin ones, box
// drawing to + - |, the hyphen U+2010 to -, combining accents to spacing ones); those become
// '?' here.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringDecoder>
#include <array>
#include <vector>

#include "encodings/ansi_code_page.h"
#include "encodings/wine_locale.h"

namespace sacotin {
namespace {

QByteArray icuName(int codePage) {
  switch (codePage) {
    case 874:
      return "windows-874";
    case 932:
      return "windows-31j";
    case 936:
      return "windows-936";
    case 949:
      return "windows-949";
    case 950:
      return "windows-950";
    default:
      return "windows-" + QByteArray::number(codePage);
  }
}

bool isDoubleByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

constexpr std::uint16_t kUnmapped = 0xffff;
constexpr char kDefaultChar = '?';

// A Windows code page of one or two bytes per character.
class TableCodePage final : public AnsiCodePage {
 public:
  TableCodePage(int number, const QByteArray& name)
      : number_(number), name_(name), encodeTable_(0x10000, kUnmapped) {
    QStringDecoder decoder(name.constData(), QStringConverter::Flag::Stateless);
    // A single-byte code page reads the 256 bytes as 256 characters in one go.
    std::array<char, 256> allBytes{};
    for (int byte = 0; byte < 256; ++byte) allBytes[byte] = static_cast<char>(byte);
    const QString all = isDoubleByte(number)
                            ? QString()
                            : decoder.decode(QByteArrayView(allBytes.data(), allBytes.size()));
    std::vector<unsigned char> leadBytes;
    for (int byte = 0; byte < 256; ++byte) {
      decoder.resetState();
      const QString text = all.size() == 256 ? QString(all[byte])
                                             : decoder.decode(QByteArrayView(&allBytes[byte], 1));
      // ICU reads a byte the code page leaves undefined as U+FFFD or as the substitute U+001A.
      const bool defined = text.size() == 1 && text[0] != QChar::ReplacementCharacter &&
                           (text[0] != u'\x1a' || byte == 0x1a);
      if (defined) {
        byteTable_[byte] = text[0].unicode();
      } else if (isDoubleByte(number) && byte >= 0x80) {
        leadBytes.push_back(static_cast<unsigned char>(byte));
        byteTable_[byte] = QChar::ReplacementCharacter;
      } else {
        // Bytes a single-byte code page leaves undefined stand for the C1 control of the same
        // value, as in Windows' own tables (0x81 in code page 1252 is U+0081).
        byteTable_[byte] = static_cast<char16_t>(byte);
      }
    }
    for (int byte = 255; byte >= 0; --byte) {
      if (byteTable_[byte] != QChar::ReplacementCharacter) encodeTable_[byteTable_[byte]] = byte;
    }
    for (const unsigned char lead : leadBytes) {
      for (int trail = 0x40; trail <= 0xfe; ++trail) {
        decoder.resetState();
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        const QString text = decoder.decode(QByteArrayView(pair, 2));
        if (text.size() != 1 || text[0] == QChar::ReplacementCharacter) continue;
        auto& entry = encodeTable_[text[0].unicode()];
        if (entry == kUnmapped) entry = static_cast<std::uint16_t>(lead << 8 | trail);
      }
    }
  }

  int number() const override { return number_; }

  std::u16string decode(std::string_view bytes) const override {
    if (isDoubleByte(number_)) {
      QStringDecoder decoder(name_.constData());
      const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
      return text.toStdU16String();
    }
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      text[i] = byteTable_[static_cast<unsigned char>(bytes[i])];
    }
    return text;
  }

  std::string encode(std::u16string_view text) const override {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t unit : text) {
      const std::uint16_t entry =
          encodeTable_[unit] != kUnmapped ? encodeTable_[unit] : bestFit(unit);
      if (entry > 0xff) bytes.push_back(static_cast<char>(entry >> 8));
      bytes.push_back(static_cast<char>(entry & 0xff));
    }
    return bytes;
  }

 private:
  // Characters without a byte of their own take the byte of a character of their Unicode
  // decomposition when there is one, else '?'. A one-character decomposition (the Kelvin sign,
  // the Angstrom sign) is taken as it is; otherwise the base letter is stripped of all its marks
  // first, as Windows does (U+01D5, U with diaeresis and macron, becomes U, not Ü). Surrogates
  // always become '?', one per unit. What the decomposition of `unit` leads to counts with its
  // own best fit only when it is below `unit`. Worked out each time such a character is encoded
  // (few ever are): nothing is kept, so the code page can be used by several threads at once.
  std::uint16_t bestFit(char32_t unit) const {
    const auto entryOf = [this, unit](char32_t other) -> std::uint16_t {
      if (other >= 0x10000) return kUnmapped;
      if (encodeTable_[other] != kUnmapped || other > unit) return encodeTable_[other];
      return bestFit(other);
    };
    std::uint16_t entry = kUnmapped;
    std::vector<char32_t> bases;
    char32_t base = unit;
    for (int depth = 0; depth < 6 && entry == kUnmapped; ++depth) {
      const QString decomposition = QChar::decomposition(base);
      if (decomposition.isEmpty()) break;
      base = decomposition[0].unicode();
      if (decomposition.size() == 1) entry = entryOf(base);
      bases.push_back(base);
    }
    for (auto it = bases.rbegin(); it != bases.rend() && entry == kUnmapped; ++it) {
      entry = entryOf(*it);
    }
    return entry == kUnmapped ? std::uint16_t(kDefaultChar) : entry;
  }

  int number_;
  QByteArray name_;
  std::array<char16_t, 256> byteTable_{};
  std::vector<std::uint16_t> encodeTable_;  // the characters the code page has
};

// Code page 65001. Lone surrogates become U+FFFD, as Windows converts them.
class Utf8CodePage final : public AnsiCodePage {
 public:
  int number() const override { return 65001; }

  std::u16string decode(std::string_view bytes) const override {
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())).toStdU16String();
  }

  std::string encode(std::u16string_view text) const override {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
      char32_t code = text[i];
      if (code >= 0xd800 && code <= 0xdbff && i + 1 < text.size() && text[i + 1] >= 0xdc00 &&
          text[i + 1] <= 0xdfff) {
        code = 0x10000 + ((code - 0xd800) << 10) + (text[++i] - 0xdc00);
      } else if (code >= 0xd800 && code <= 0xdfff) {
        code = 0xfffd;
      }
      if (code < 0x80) {
        bytes.push_back(static_cast<char>(code));
      } else if (code < 0x800) {
        bytes.push_back(static_cast<char>(0xc0 | (code >> 6)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3f)));
      } else if (code < 0x10000) {
        bytes.push_back(static_cast<char>(0xe0 | (code >> 12)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3f)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3f)));
      } else {
        bytes.push_back(static_cast<char>(0xf0 | (code >> 18)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3f)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3f)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3f)));
      }
    }
    return bytes;
  }
};

}  // namespace

std::unique_ptr<AnsiCodePage> makeAnsiCodePage(int codePage) {
  if (codePage == 65001) return std::make_unique<Utf8CodePage>();
  QByteArray name = icuName(codePage);
  if (!QStringDecoder(name.constData()).isValid()) {
    codePage = 1252;
    name = icuName(codePage);
  }
  return std::make_unique<TableCodePage>(codePage, name);
}

std::unique_ptr<AnsiCodePage> systemAnsiCodePage() {
  return makeAnsiCodePage(wineAnsiCodePageOfThisProcess());
}

}  // namespace sacotin
