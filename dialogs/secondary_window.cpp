#include "dialogs/secondary_window.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPointer>
#include <QWindow>

#include "dialogs/secondary_window_frame.h"
#include "widgets/program_images.h"
#include "widgets/screen_readers.h"

namespace sacotin {

void makeSecondaryWindow(QDialog* window, QPoint clientTopLeftTwips, QSize clientSizeTwips) {
  giveSecondaryWindowFrame(window);
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

namespace {

// Gives the keyboard back, as a secondary window hides, to the window that had it when the
// secondary window was shown. Window managers don't all do it, and some choose another window.
class KeyboardReturn : public QObject {
 public:
  KeyboardReturn(QWidget* window, QWidget* previous) : QObject(window), previous_(previous) {
    setObjectName(kName);
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    // A spontaneous hide is the window system's (minimizing), not the window going away.
    if (event->type() == QEvent::Hide && !event->spontaneous()) {
      // Qt has already let go of the window if it was the active one.
      const QWidget* active = QApplication::activeWindow();
      if (previous_ && previous_->isVisible() && (active == nullptr || active == watched)) {
        previous_->activateWindow();
      }
      watched->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

  // The one a window has, if any.
  static QObject* of(QWidget* window) {
    return window->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly);
  }

 private:
  static inline const QString kName = QStringLiteral("KeyboardReturn");
  QPointer<QWidget> previous_;
};

}  // namespace

void showModeless(QWidget* window, QWidget* focus) {
  QWidget* previous = QApplication::activeWindow();
  if (window->isVisible() && previous != window && comesForwardShownAnew()) {
    // Asked for again while another window is in front of it. Not every desktop brings a shown
    // window forward when asked: Wayland compositors do only for a request that carries a token
    // of the user's last input, which Qt 6.4 doesn't get them, and some window managers give it
    // the keyboard but leave it behind. Every one of them brings a window that appears forward
    // with the keyboard, as when it was first shown: it is hidden, and shown anew below.
    delete KeyboardReturn::of(window);  // the keyboard goes back where it is now, below
    window->hide();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    // A new native window, where it was: an X11 window manager lets go of an unmapped window
    // at its frame's corner, where the window mapped again would open.
    window->windowHandle()->destroy();
  }
  if (!window->isVisible() && previous && previous != window) new KeyboardReturn(window, previous);
  window->show();
  // It takes the keyboard, on a desktop whose window manager would leave it elsewhere too.
  window->raise();
  window->activateWindow();
  focus->setFocus();
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
  nameForScreenReaders(box, QStringLiteral("Sacotin"));
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
