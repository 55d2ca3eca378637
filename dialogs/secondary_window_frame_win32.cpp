#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDialog>
#include <QWidget>

#include "dialogs/secondary_window_frame.h"

namespace sacotin {
namespace {

// On Windows a tool window gets the small caption and leaves Alt+Tab. An ordinary dialog owned
// by a window that is never shown keeps the full dialog frame and its Alt+Tab entry, gets no
// taskbar button, and stays above nothing but its invisible owner (not above the main window).
// Qt sets a window's owner just before showing it (to none, for a window without transient
// parent), so the owner is given back while the window is being shown, before it becomes
// visible. Qt itself never sees an owner: the program still ends as on every other system.
class HiddenOwner : public QAbstractNativeEventFilter {
 public:
  static constexpr const char* kOwnedProperty = "sacotinOwnedByHiddenWindow";

  static void install() {
    static HiddenOwner* filter = [] {
      auto* created = new HiddenOwner;  // lives as long as the program
      QCoreApplication::instance()->installNativeEventFilter(created);
      return created;
    }();
    (void)filter;
  }

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
    if (eventType != "windows_generic_MSG") return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_SHOWWINDOW || !msg->wParam) return false;
    const QWidget* widget = QWidget::find(reinterpret_cast<WId>(msg->hwnd));
    if (widget && widget->property(kOwnedProperty).toBool()) {
      SetWindowLongPtrW(msg->hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow()));
    }
    return false;
  }

 private:
  static HWND ownerWindow() {
    static const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                              nullptr, GetModuleHandleW(nullptr), nullptr);
    return owner;
  }
};

}  // namespace

void giveSecondaryWindowFrame(QDialog* window) {
  // A fixed size alone leaves Windows' sizing border; MSWindowsFixedSizeDialogHint draws the thin
  // dialog frame.
  window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  window->setProperty(HiddenOwner::kOwnedProperty, true);
  HiddenOwner::install();
}

bool comesForwardShownAnew() { return false; }

}  // namespace sacotin
