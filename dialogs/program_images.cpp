#include "dialogs/program_images.h"

// The images are compiled into the static library; referencing its resource initialiser from
// here keeps the linker from dropping them. Q_INIT_RESOURCE must run outside any namespace.
static void initProgramResources() { Q_INIT_RESOURCE(sacotin); }

namespace sacotin {

QIcon programWindowIcon() {
  initProgramResources();
  return QIcon(QStringLiteral(":/icons/sacotin.png"));
}

QPixmap programPicture() {
  initProgramResources();
  return QPixmap(QStringLiteral(":/images/picture.jpg"));
}

}  // namespace sacotin
