#pragma once

class QDialog;

namespace sacotin {

// The frame of the Help and About windows: a title with a close button only (no minimise,
// maximise or context help button) and no taskbar entry, as each platform gives it
// (secondary_window_frame_posix.cpp, secondary_window_frame_win32.cpp).
void giveSecondaryWindowFrame(QDialog* window);

}  // namespace sacotin
