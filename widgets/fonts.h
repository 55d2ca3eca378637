#pragma once

#include <QFont>
#include <QString>

class QWidget;

namespace sacotin {

// The fonts the window layouts name. Their family names stay the Windows ones everywhere; on
// other systems useWindowsFontMetrics() maps them to fonts of the same metrics.
QFont msSansSerif(bool bold);  // 9.75 points
QFont courierNew(double pointSize, bool bold);
// The standard dialog font the layouts were drawn in: MS Sans Serif, 8 points.
QFont dialogFont();

// The family "MS Sans Serif" is drawn in. On Windows it is a bitmap font with strikes for 100 %
// display scaling only: on a scaled display its TrueType twin, Microsoft Sans Serif (same
// widths, on every Windows since 2000), keeps the text sharp and of the same width. Elsewhere the
// name itself (useWindowsFontMetrics gives it a face).
QString msSansSerifFamily();

// Makes the standard dialog font the program's default font instead of the system's (on Windows
// its message font, Segoe UI 9 points on Windows 10 and 11; on Linux the desktop's), so that
// every text fits the rectangle the layout gives it. Where the Windows fonts are missing (Linux),
// first maps their names to installed fonts with the same character widths.
void useWindowsFontMetrics();

// Gives a window the standard dialog font for its controls that have no font of their own.
void useDialogFont(QWidget* window);

}  // namespace sacotin
