#pragma once

#include <QString>

// The fonts the windows were laid out with, and what each platform's fonts file
// (fonts_posix.cpp, fonts_win32.cpp) does about them.
namespace sacotin {

inline const QString kMsSansSerif = QStringLiteral("MS Sans Serif");
inline const QString kCourierNew = QStringLiteral("Courier New");

// Gives the layout's font names the fonts that stand in for them on this platform.
void substituteLayoutFonts();

}  // namespace sacotin
