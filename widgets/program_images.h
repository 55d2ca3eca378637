#pragma once

#include <QIcon>
#include <QPixmap>

namespace sacotin {

// The window icon shared by all of the program's windows: 32 x 32 and 16 x 16 at 100 % display
// scaling, with images drawn for 125 %, 150 % and 200 % (256 colours each).
QIcon programWindowIcon();

// The program's picture shown in the Help and About windows: 40 x 41 logical pixels, from the
// image drawn for the given device pixel ratio (1, 1.25, 1.5 or 2; others from the nearest
// larger one).
QPixmap programPicture(qreal devicePixelRatio);

}  // namespace sacotin
