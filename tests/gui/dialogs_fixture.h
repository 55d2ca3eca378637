#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QWindow>
#include <memory>

#include "dialogs/about_dialog.h"
#include "dialogs/help_dialog.h"
#include "encodings/ansi_code_page.h"
#include "main_window/form1.h"
#include "program/program.h"
#include "support/fake_registry.h"
#include "support/layout_font.h"
#include "support/temp_files.h"
#include "support/window_keyboard.h"

namespace sacotin::testing {

// A shown main window over a small in-memory registry (two accounts with one character each),
// with the "?" menu items the user chooses to open the Help and About windows. Every test
// starts and ends without a Help or About window.
class DialogsTest : public ::testing::Test {
 protected:
  static inline const QChar CR{13};

  void SetUp() override {
    unloadDialogs();
    registry->addInventory("Alpha", "Arthur");
    registry->addItem("Alpha", "Arthur", 1);
    registry->addInventory("Beta", "Bertrand");
    registry->addItem("Beta", "Bertrand", 2);
    files.writeCatalogue({"1", "Nom=Epee", "2", "Nom=Bouclier"});
    window = std::make_unique<Form1>(Form1Sources{sharedWithTest(registry), makeAnsiCodePage(1252),
                                                  files.filePath("liste.dat")});
    connectHelpMenu(*window);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // The player works in the main window before opening Help or About, which give the keyboard
    // back to it; a window manager may not have activated it yet.
    if (onDesktop()) {
      window->activateWindow();
      ASSERT_TRUE(holdsKeyboard(window.get()));
    }
  }

  void TearDown() override {
    unloadDialogs();
    window.reset();
  }

  // Real windows, which a window manager activates (the offscreen platform has none).
  static bool onDesktop() { return QGuiApplication::platformName() != QStringLiteral("offscreen"); }

  static void unloadDialogs() {
    delete Dialog::instance();
    delete frmAbout::instance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Runs the deletions that closing a window has scheduled.
  static void processDeletions() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // The user chooses an item of the "?" menu: 0 = "aide", 1 = "à propos".
  void chooseHelpItem(int index) {
    QAction* item = nullptr;
    for (QAction* action : window->findChildren<QAction*>(QStringLiteral("smnu_help"))) {
      if (action->property("index").toInt() == index) item = action;
    }
    ASSERT_NE(item, nullptr) << "smnu_help " << index;
    item->trigger();
  }

  Dialog* openHelp() {
    chooseHelpItem(0);
    Dialog* help = Dialog::instance();
    EXPECT_NE(help, nullptr);
    if (help) {
      EXPECT_TRUE(holdsKeyboard(help));
    }
    return help;
  }

  frmAbout* openAbout() {
    chooseHelpItem(1);
    frmAbout* about = frmAbout::instance();
    EXPECT_NE(about, nullptr);
    if (about) {
      EXPECT_TRUE(holdsKeyboard(about));
    }
    return about;
  }

  // The window system's close box: the close request reaches the window as it would from the
  // title bar.
  static void clickCloseBox(QWidget* window) {
    QCloseEvent event;
    QCoreApplication::sendEvent(window->windowHandle(), &event);
  }

  // Visible top-level windows with the given object name.
  static int visibleWindowsNamed(const QString& name) {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == name && widget->isVisible()) ++count;
    }
    return count;
  }

  // A control of a window by its name (and its index for control arrays).
  template <typename Widget>
  static Widget* control(QWidget* window, const char* name, int index = -1) {
    for (Widget* widget : window->findChildren<Widget*>(QString::fromLatin1(name))) {
      if (index < 0 || widget->property("index").toInt() == index) return widget;
    }
    ADD_FAILURE() << "no control " << name << " " << index;
    return nullptr;
  }

  // A control's rectangle in twips relative to its container, as the layouts give them.
  static QRect twips(int left, int top, int width, int height) {
    return QRect(left / 15, top / 15, width / 15, height / 15);
  }

  static void expectFont(const QWidget* widget, const QString& family, double points, bool bold) {
    EXPECT_EQ(widget->font().family(), family) << widget->objectName().toStdString();
    EXPECT_DOUBLE_EQ(widget->font().pointSizeF(), points) << widget->objectName().toStdString();
    EXPECT_EQ(widget->font().bold(), bold) << widget->objectName().toStdString();
  }

  static QColor textColour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
  }

  // A fixed dialog frame with a close box only and no taskbar entry.
  static void expectSecondaryWindowFrame(QWidget* window, QRect clientArea) {
    EXPECT_EQ(window->geometry(), clientArea);
    EXPECT_EQ(window->minimumSize(), clientArea.size());
    EXPECT_EQ(window->maximumSize(), clientArea.size());
    const Qt::WindowFlags flags = window->windowFlags();
#ifdef Q_OS_WIN
    // An ordinary dialog frame; its hidden owner keeps it off the taskbar.
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
#else
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
#endif
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_FALSE(window->isModal());
    // The program's 32 x 32 window icon, the one the main window has.
    const QImage icon = window->windowIcon().pixmap(QSize(32, 32), 1.0).toImage();
    const QImage expected = QImage(":/icons/sacotin.png").convertToFormat(icon.format());
    EXPECT_EQ(expected.size(), QSize(32, 32));
    EXPECT_EQ(icon, expected);
  }

  // The secondary window shows the main window's icon.
  void expectMainWindowIcon(QWidget* secondary) const {
    const QImage main = window->windowIcon().pixmap(QSize(32, 32), 1.0).toImage();
    EXPECT_FALSE(main.isNull());
    EXPECT_EQ(
        secondary->windowIcon().pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(main.format()),
        main);
  }

  // The picture box: the 40 x 41 picture inside a sunken 2-pixel border, sized to the picture.
  static void expectPictureBox(QLabel* picIcon, QPoint topLeft) {
    ASSERT_NE(picIcon, nullptr);
    EXPECT_EQ(picIcon->geometry(), QRect(topLeft, QSize(44, 45)));
    EXPECT_EQ(picIcon->pixmap().deviceIndependentSize().toSize(), QSize(40, 41));
    EXPECT_EQ(picIcon->frameShape(), QFrame::Panel);
    EXPECT_EQ(picIcon->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(picIcon->lineWidth(), 2);
    EXPECT_EQ(picIcon->contentsRect().size(), QSize(40, 41));
  }

  std::shared_ptr<FakeRegistry> registry = std::make_shared<FakeRegistry>();
  TempFiles files;
  std::unique_ptr<Form1> window;
};

}  // namespace sacotin::testing
