#include <QByteArray>
#include <QtGlobal>

#include "program/qt_platform.h"

namespace sacotin {

void chooseQtPlatform() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return;  // the player's choice
  // Without an X display Qt itself tries Wayland first. Wayland stays second behind X11, for an
  // X display that refuses the program.
  if (!qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb;wayland"));
}

}  // namespace sacotin
