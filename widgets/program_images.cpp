#include "widgets/program_images.h"

// The images are compiled into the static library; referencing its resource initialiser from
// here keeps the linker from dropping them. Q_INIT_RESOURCE must run outside any namespace.
static void initProgramResources() { Q_INIT_RESOURCE(sacotin); }

namespace sacotin {

QIcon programWindowIcon() {
  initProgramResources();
  QIcon icon;
  for (const char* size : {"-16", "-20", "-24", "", "-40", "-48", "-64"}) {
    icon.addFile(QStringLiteral(":/icons/sacotin%1.png").arg(QLatin1String(size)));
  }
  return icon;
}

QPixmap programPicture(qreal devicePixelRatio) {
  initProgramResources();
  QIcon picture;
  for (const char* scale : {"", "@1.25x", "@1.5x", "@2x"}) {
    picture.addFile(QStringLiteral(":/images/picture%1.jpg").arg(QLatin1String(scale)));
  }
  return picture.pixmap(QSize(40, 41), devicePixelRatio);
}

}  // namespace sacotin
