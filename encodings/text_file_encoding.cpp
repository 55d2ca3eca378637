#include "encodings/text_file_encoding.h"

#include <QByteArrayView>
#include <QString>
#include <algorithm>

namespace sacotin {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::u16string utf8Text(std::string_view bytes) {
  return QString::fromUtf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))
      .toStdU16String();
}

}  // namespace

std::u16string decodeTextFile(std::string_view bytes, const AnsiCodePage& ansiCodePage) {
  // Invalid sequences after the mark become U+FFFD, as any UTF-8 editor shows them.
  if (bytes.starts_with(kUtf8Mark)) return utf8Text(bytes.substr(kUtf8Mark.size()));
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii && QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8()) {
    return utf8Text(bytes);
  }
  return ansiCodePage.decode(bytes);
}

}  // namespace sacotin
