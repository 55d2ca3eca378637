// The program on a Linux desktop: the Qt platform it starts on, and the names its windows carry
// for the desktop to match them with its menu entry.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <cstdlib>
#include <string>

#include "program/qt_platform.h"
#include "support/scoped_variable.h"

namespace sacotin::testing {
namespace {

TEST(DesktopSession, XWaylandOrX11WhereThereIsAnXDisplayAndThePlayersChoiceAlways) {
  struct Session {
    const char* chosen;   // QT_QPA_PLATFORM as the player left it (nullptr: unset)
    const char* display;  // DISPLAY (nullptr: no X server)
    const char* started;  // QT_QPA_PLATFORM the program starts with (nullptr: Qt's own choice)
  };
  for (const Session& session : {
           Session{nullptr, ":0", "xcb;wayland"},  // X11, or XWayland in a Wayland session
           Session{"", ":1", "xcb;wayland"},       // set but empty: no choice
           Session{nullptr, nullptr, nullptr},     // Wayland without an X server: Qt tries it first
           Session{"wayland", ":0", "wayland"},    // the player's choice
           Session{"xcb", nullptr, "xcb"},
       }) {
    ScopedVariable chosen("QT_QPA_PLATFORM", session.chosen);
    ScopedVariable display("DISPLAY", session.display);
    chooseQtPlatform();
    const char* started = std::getenv("QT_QPA_PLATFORM");
    EXPECT_EQ(started ? std::string(started) : "(unset)",
              session.started ? std::string(session.started) : "(unset)")
        << (session.chosen ? session.chosen : "(unset)") << " "
        << (session.display ? session.display : "(no display)");
  }
}

TEST(DesktopSession, TheWindowsCarryTheNamesOfTheMenuEntry) {
  const QString entryPath = QDir::cleanPath(QString(SACOTIN_TEST_DATA) +
                                            "/../../resources/linux/test.sacotin.Sacotin.desktop");
  ASSERT_TRUE(QFile::exists(entryPath));
  QSettings entry(entryPath, QSettings::IniFormat);
  // The Wayland app_id, and the X11 class.
  EXPECT_EQ(QApplication::desktopFileName() + ".desktop", QFileInfo(entryPath).fileName());
  EXPECT_EQ(QApplication::applicationName(),
            entry.value("Desktop Entry/StartupWMClass").toString());
}

}  // namespace
}  // namespace sacotin::testing
