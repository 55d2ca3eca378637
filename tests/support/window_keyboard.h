#pragma once

#include <QApplication>
#include <QTest>
#include <QWidget>

namespace sacotin::testing {

// Whether `window` is active with one of its controls holding the keyboard, waiting up to 5 s
// for it: a Wayland compositor makes a window active before its keyboard reaches the window.
inline bool holdsKeyboard(QWidget* window) {
  return QTest::qWaitFor([window] {
    const QWidget* focus = QApplication::focusWidget();
    return window->isActiveWindow() && focus && focus->window() == window;
  });
}

}  // namespace sacotin::testing
