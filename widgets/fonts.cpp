#include "widgets/fonts.h"

#include <QApplication>

namespace sacotin {
namespace {

const QString kMsSansSerif = QStringLiteral("MS Sans Serif");
const QString kCourierNew = QStringLiteral("Courier New");

}  // namespace

QFont msSansSerif(bool bold) {
  QFont font(kMsSansSerif);
  font.setPointSizeF(9.75);
  font.setBold(bold);
  return font;
}

QFont courierNew(double pointSize, bool bold) {
  QFont font(kCourierNew);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

void useWindowsFontMetrics() {
#ifndef Q_OS_WIN
  // Metric-compatible families from Debian's fonts-liberation (and fonts-croscore).
  QFont::insertSubstitutions(
      kMsSansSerif, {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans"),
                     QStringLiteral("Arimo")});
  QFont::insertSubstitutions(kCourierNew,
                             {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")});
  QFont dialogFont(kMsSansSerif);
  dialogFont.setPointSize(8);
  QApplication::setFont(dialogFont);
#endif
}

}  // namespace sacotin
