#include "encodings/text_file_encoding.h"

#include <QStringDecoder>
#include <algorithm>

namespace sacotin {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The UTF-8 text of bytes, or nothing when they are not valid UTF-8.
std::optional<std::u16string> utf8Text(std::string_view bytes) {
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
  const QString text = decoder.decode(QByteArrayView(bytes.data(), bytes.size()));
  if (decoder.hasError()) return std::nullopt;
  return text.toStdU16String();
}

}  // namespace

std::u16string decodeTextFile(std::string_view bytes, const AnsiCodePage& ansiCodePage) {
  if (bytes.starts_with(kUtf8Mark)) {
    // Invalid sequences after the mark become U+FFFD, as any UTF-8 editor shows them.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const std::string_view rest = bytes.substr(kUtf8Mark.size());
    return QString(decoder.decode(QByteArrayView(rest.data(), rest.size()))).toStdU16String();
  }
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) {
    if (std::optional<std::u16string> text = utf8Text(bytes)) return std::move(*text);
  }
  return ansiCodePage.decode(bytes);
}

}  // namespace sacotin
