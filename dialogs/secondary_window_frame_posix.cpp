#include <QDialog>

#include "dialogs/secondary_window_frame.h"

namespace sacotin {

void giveSecondaryWindowFrame(QDialog* window) {
  // Qt::Tool: no taskbar entry.
  window->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
}

bool comesForwardShownAnew() { return true; }

}  // namespace sacotin
