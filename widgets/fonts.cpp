#include "widgets/fonts.h"

#include <QApplication>
#include <QWidget>

namespace sacotin {
namespace {

const QString kMsSansSerif = QStringLiteral("MS Sans Serif");
const QString kCourierNew = QStringLiteral("Courier New");

}  // namespace

QString msSansSerifFamily() {
#ifdef Q_OS_WIN
  if (qApp && !qFuzzyCompare(qApp->devicePixelRatio(), 1.0)) {
    return QStringLiteral("Microsoft Sans Serif");
  }
#endif
  return kMsSansSerif;
}

QFont msSansSerif(bool bold) {
  QFont font(msSansSerifFamily());
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

QFont dialogFont() {
  QFont font(msSansSerifFamily());
  font.setPointSize(8);
  return font;
}

void useWindowsFontMetrics() {
#ifndef Q_OS_WIN
  // Debian's fonts-liberation: Liberation Mono has the widths of Courier New, Liberation Sans
  // those of Arial. "MS Sans Serif" is a bitmap font narrower than Arial: the narrow Liberation
  // face keeps the longest texts (the search prompt, the status line's failures) on the lines
  // they had on Windows.
  QFont::insertSubstitutions(
      kMsSansSerif, {QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans"),
                     QStringLiteral("Arimo")});
  QFont::insertSubstitutions(kCourierNew,
                             {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine")});
#endif
  QApplication::setFont(dialogFont());
}

void useDialogFont(QWidget* window) {
  // Set on the window itself: a desktop's platform theme may replace the application's font
  // once the program runs, but never a font a window has of its own.
  window->setFont(dialogFont());
}

}  // namespace sacotin
