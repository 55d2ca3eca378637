#pragma once

class QDialog;

namespace sacotin {

// The frame of the Help and About windows: a title with a close button only (no minimise,
// maximise or context help button) and no taskbar entry, as each platform gives it
// (secondary_window_frame_posix.cpp, secondary_window_frame_win32.cpp).
void giveSecondaryWindowFrame(QDialog* window);

// Whether a secondary window asked for again while another window is in front of it is hidden
// and shown anew to come forward (Linux desktops, which don't all bring a shown window forward
// when asked), rather than raised and activated where it is (Windows, which does).
bool comesForwardShownAnew();

}  // namespace sacotin
