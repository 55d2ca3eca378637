#pragma once

#include <QFont>

class QWidget;

namespace sacotin {

// The fonts the window layouts name. Their family names stay the Windows ones everywhere; on
// other systems useWindowsFontMetrics() maps them to fonts of the same metrics.
QFont msSansSerif(bool bold);  // 9.75 points
QFont courierNew(double pointSize, bool bold);

// Where the Windows fonts the layouts were drawn for are missing (Linux), maps their names to
// installed fonts with the same character widths, and makes the program's default font the
// Windows standard dialog font (8 points) instead of the desktop's, so that every text fits
// the rectangle the layout gives it. On Windows it changes nothing.
void useWindowsFontMetrics();

// Gives a window the standard dialog font for its controls that have no font of their own.
void useDialogFont(QWidget* window);

}  // namespace sacotin
