#include <QFont>
#include <QStringList>

#include "widgets/fonts.h"
#include "widgets/layout_font_names.h"

namespace sacotin {

QString msSansSerifFamily() { return kMsSansSerif; }

void substituteLayoutFonts() {
  // Debian's fonts-liberation: Liberation Mono has the widths of Courier New, Liberation Sans
  // those of Arial. "MS Sans Serif" is a bitmap font narrower than Arial: the narrow Liberation
  // face keeps the longest texts (the search prompt, the status line's failures) on the lines
  // they had on Windows.
  QFont::insertSubstitutions(
      kMsSansSerif, {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans"),
                     QStringLiteral("Arimo")});
  QFont::insertSubstitutions(kCourierNew,
                             {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")});
}

}  // namespace sacotin
