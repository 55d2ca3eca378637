#pragma once

#include <QIcon>
#include <QPixmap>

namespace sacotin {

// The window icon shared by all of the program's windows (32 x 32, 256 colours).
QIcon programWindowIcon();

// The program's picture (40 x 41) shown in the Help and About windows.
QPixmap programPicture();

}  // namespace sacotin
