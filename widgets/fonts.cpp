#include "widgets/fonts.h"

#include <QApplication>
#include <QWidget>

#include "widgets/layout_font_names.h"

namespace sacotin {

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
  substituteLayoutFonts();
  QApplication::setFont(dialogFont());
}

void useDialogFont(QWidget* window) {
  // Set on the window itself: a desktop's platform theme may replace the application's font
  // once the program runs, but never a font a window has of its own.
  window->setFont(dialogFont());
}

}  // namespace sacotin
