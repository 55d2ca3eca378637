#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include "widgets/fonts.h"
#include "widgets/layout_font_names.h"

// The fonts are compiled into the static library; referencing its resource initialiser keeps
// the linker from dropping them. Q_INIT_RESOURCE must run outside any namespace.
static void initFontResources() { Q_INIT_RESOURCE(fonts); }

namespace sacotin {
namespace {

// Adds the program's own font of that file name stem, in each style.
void addOwnFont(const char* stem) {
  initFontResources();
  for (const char* style : {"Regular", "Bold"}) {
    QFontDatabase::addApplicationFont(
        QStringLiteral(":/fonts/%1-%2.ttf").arg(QLatin1String(stem), QLatin1String(style)));
  }
}

}  // namespace

QString msSansSerifFamily() { return kMsSansSerif; }

void substituteLayoutFonts() {
  // Debian's fonts-liberation: Liberation Mono has the widths of Courier New, Liberation Sans
  // those of Arial. "MS Sans Serif" is a bitmap font narrower than Arial: the narrow Liberation
  // face keeps the longest texts (the search prompt, the status line's failures) on the lines
  // they had on Windows. Liberation 2 (Debian 13, Fedora, Arch, SteamOS) has no narrow face:
  // then the program's own, Liberation Sans 2 narrowed to the same widths, takes its place; and
  // on a system without any Liberation font, the program's own Liberation Mono.
  const QString systemNarrow = QStringLiteral("Liberation Sans Narrow");
  const QString mono = QStringLiteral("Liberation Mono");
  if (!QFontDatabase::hasFamily(systemNarrow)) addOwnFont("SacotinSansNarrow");
  if (!QFontDatabase::hasFamily(mono)) addOwnFont("LiberationMono");
  QFont::insertSubstitutions(kMsSansSerif,
                             {systemNarrow, QStringLiteral("Sacotin Sans Narrow"),
                              QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
  QFont::insertSubstitutions(kCourierNew, {mono, QStringLiteral("Cousine")});
}

}  // namespace sacotin
