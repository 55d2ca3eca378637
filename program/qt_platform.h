#pragma once

namespace sacotin {

// The Qt platform the program starts on, unless the player's own QT_QPA_PLATFORM names one.
// On Linux: X11 whenever an X server is there (in a Wayland session, XWayland: there GNOME gives
// the windows its own title bar, the windows open where the layout places them and come forward
// when asked again), then Wayland itself, which alone starts when there is no X server; Qt's
// choice elsewhere. Set (in QT_QPA_PLATFORM) before the application object is made.
void chooseQtPlatform();

}  // namespace sacotin
