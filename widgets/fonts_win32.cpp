#include <QApplication>

#include "widgets/fonts.h"
#include "widgets/layout_font_names.h"

namespace sacotin {

QString msSansSerifFamily() {
  if (qApp && !qFuzzyCompare(qApp->devicePixelRatio(), 1.0)) {
    return QStringLiteral("Microsoft Sans Serif");
  }
  return kMsSansSerif;
}

// Windows has the layout's own fonts.
void substituteLayoutFonts() {}

}  // namespace sacotin
