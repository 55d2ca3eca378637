#include "dialogs/secondary_window.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFont>
#include <QLabel>

#include "widgets/program_images.h"

#ifdef Q_OS_WIN
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QWidget>
#endif

namespace sacotin {

#ifdef Q_OS_WIN
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
#endif

void makeSecondaryWindow(QDialog* window, QPoint clientTopLeftTwips, QSize clientSizeTwips) {
  // CustomizeWindowHint with only the title and the close button: no minimise, maximise or
  // context help button.
  const Qt::WindowFlags frame =
      Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
#ifdef Q_OS_WIN
  // A fixed size alone leaves Windows' sizing border; this hint draws the thin dialog frame.
  window->setWindowFlags(Qt::Dialog | frame | Qt::MSWindowsFixedSizeDialogHint);
  window->setProperty(HiddenOwner::kOwnedProperty, true);
  HiddenOwner::install();
#else
  // Qt::Tool: no taskbar entry.
  window->setWindowFlags(Qt::Tool | frame);
#endif
  // Tool windows don't count for quitting by default. The program ends when no window the user
  // can see is left, so a visible Help or About window keeps it running after the main window
  // is closed, and a hidden one never does (Qt counts visible windows only).
  window->setAttribute(Qt::WA_QuitOnClose, true);
  window->setWindowIcon(programWindowIcon());
  useDialogFont(window);
  const QSize size(twipsToPixels(clientSizeTwips.width()), twipsToPixels(clientSizeTwips.height()));
  window->setFixedSize(size);
  // setGeometry places the client area (without the frame), and marks the window as placed so
  // that QDialog doesn't centre it.
  window->setGeometry(QRect(
      QPoint(twipsToPixels(clientTopLeftTwips.x()), twipsToPixels(clientTopLeftTwips.y())), size));
  // A window still loaded when the program ends goes with it.
  QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, window,
                   &QObject::deleteLater);
}

void showModeless(QWidget* window) {
  if (window->isVisible()) {
    window->raise();
    window->activateWindow();
  } else {
    window->show();
  }
}

QLabel* makePictureBox(QWidget* parent, QPoint topLeftTwips) {
  constexpr int kBorder = 2;
  auto* box = new QLabel(parent);
  box->setObjectName(QStringLiteral("picIcon"));
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setLineWidth(kBorder);
  box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const QPixmap picture = programPicture(box->devicePixelRatioF());
  box->setPixmap(picture);
  const QSize pictureSize = picture.deviceIndependentSize().toSize();
  box->setGeometry(QRect(QPoint(twipsToPixels(topLeftTwips.x()), twipsToPixels(topLeftTwips.y())),
                         pictureSize + QSize(2 * kBorder, 2 * kBorder)));
  box->setFocusPolicy(Qt::StrongFocus);
  return box;
}

QLabel* makeLabel(QWidget* parent, QRect rect) {
  auto* label = new QLabel(parent);
  label->setGeometry(rect);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

}  // namespace sacotin
