// What only the Windows build does: the catalogue beside the program, the code page of the
// system, the icon compiled into Sacotin.exe, how the Help and About windows are framed, and the
// fonts and images at the display's scaling (tools/test-windows.sh runs these at 96 and 144 dpi).
#include <gtest/gtest.h>
#include <windows.h>

#include <QAction>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "dialogs/about_dialog.h"
#include "dialogs/help_dialog.h"
#include "dialogs_fixture.h"
#include "encodings/ansi_code_page.h"
#include "main_window/form1.h"
#include "program/program.h"
#include "support/fake_registry.h"

namespace sacotin::testing {
namespace {

// Writes a file for the length of a test and removes it afterwards.
class ScopedFile {
 public:
  ScopedFile(const QString& path, const QByteArray& bytes) : file_(path) {
    file_.open(QIODevice::WriteOnly);
    file_.write(bytes);
    file_.close();
  }
  ~ScopedFile() { file_.remove(); }

 private:
  QFile file_;
};

TEST(WindowsProgram, ReadsTheCatalogueBesideTheProgramWhateverTheCurrentFolder) {
  const ScopedFile besideProgram(QCoreApplication::applicationDirPath() + "/liste.dat",
                                 "1234\r\nNom=Epee\r\n");
  QTemporaryDir elsewhere;
  const ScopedFile decoy(elsewhere.filePath("liste.dat"), "1234\r\nNom=Mauvais fichier\r\n");
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));

  auto registry = std::make_shared<FakeRegistry>();
  registry->addItem("compte", "perso", 1234);
  Form1 window(thisMachineSources(sharedWithTest(registry)));
  QDir::setCurrent(previous);

  ASSERT_EQ(window.List1->count(), 1);
  EXPECT_EQ(window.List1->item(0)->text(), "Epee");
}

TEST(WindowsProgram, TextsCrossTheRegistryInTheSystemCodePage) {
  EXPECT_EQ(systemAnsiCodePage()->number(), static_cast<int>(GetACP()));
}

TEST(WindowsProgram, SacotinExeCarriesTheProgramIcon) {
  const std::wstring exe = QString(SACOTIN_PROGRAM_EXE).toStdWString();
  HMODULE program = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr) << SACOTIN_PROGRAM_EXE;
  HICON icon = static_cast<HICON>(LoadImageW(program, L"IDI_ICON1", IMAGE_ICON, 32, 32, 0));
  ASSERT_NE(icon, nullptr);
  const QImage fromResource = QImage::fromHICON(icon);
  DestroyIcon(icon);
  FreeLibrary(program);
  const QImage expected = QImage(":/icons/sacotin.png").convertToFormat(fromResource.format());
  EXPECT_EQ(fromResource, expected);
}

// Needs real windows: run with -platform windows (tools/test-windows.sh does, on Xvfb).
TEST(WindowsProgram, HelpAndAboutHaveADialogFrameAndNoTaskbarButton) {
  if (QGuiApplication::platformName() != "windows") {
    GTEST_SKIP() << "needs real windows (-platform windows), not "
                 << QGuiApplication::platformName().toStdString();
  }
  auto registry = std::make_shared<FakeRegistry>();
  Form1 window(Form1Sources{sharedWithTest(registry), makeAnsiCodePage(1252), QString()});
  connectHelpMenu(window);
  window.show();
  // Wine's first window on a display takes a few seconds to come up.
  constexpr int kExposeTimeoutMs = 30000;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kExposeTimeoutMs));
  window.smnu_help[0]->trigger();
  window.smnu_help[1]->trigger();
  const HWND main = reinterpret_cast<HWND>(window.winId());
  for (QWidget* secondary :
       {static_cast<QWidget*>(Dialog::instance()), static_cast<QWidget*>(frmAbout::instance())}) {
    ASSERT_NE(secondary, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(secondary, kExposeTimeoutMs));
    const HWND hwnd = reinterpret_cast<HWND>(secondary->winId());
    const HWND owner = GetWindow(hwnd, GW_OWNER);
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    const std::string name = secondary->objectName().toStdString();
    // Owned by a window that is never shown (not by the main window): no taskbar button.
    EXPECT_NE(owner, nullptr) << name;
    EXPECT_NE(owner, main) << name;
    EXPECT_FALSE(IsWindowVisible(owner)) << name;
    EXPECT_EQ(GetWindow(main, GW_OWNER), nullptr);
    // The ordinary caption (not a tool window's), a close box, a fixed frame, not topmost.
    EXPECT_FALSE(exStyle & WS_EX_TOOLWINDOW) << name;
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW) << name;
    EXPECT_FALSE(exStyle & WS_EX_TOPMOST) << name;
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION) << name;
    EXPECT_TRUE(style & WS_SYSMENU) << name;
    EXPECT_FALSE(style & WS_THICKFRAME) << name;
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) << name;
    // Hidden and shown again, it keeps its owner.
    secondary->hide();
    secondary->show();
    EXPECT_EQ(GetWindow(hwnd, GW_OWNER), owner) << name;
  }
  if (Dialog::instance()) delete Dialog::instance();
  if (frmAbout::instance()) delete frmAbout::instance();
}

// Every control with a text has the layout's font: MS Sans Serif (or, on a scaled display, its
// TrueType twin), Courier New, or the standard dialog font, MS Sans Serif 8 points.
TEST_F(DialogsTest, EveryTextHasTheLayoutsFontAtThisScaling) {
  enum Face { SansSerif, Courier };
  struct Row {
    const char* window;
    const char* control;
    int index;
    Face face;
    double points;
    bool bold;
  };
  const Row rows[] = {
      {"Form1", "Label1", -1, SansSerif, 9.75, true},
      {"Form1", "Label5", -1, SansSerif, 8, false},
      {"Form1", "Text1", -1, SansSerif, 8, false},
      {"Form1", "Command1", -1, SansSerif, 8, false},
      {"Form1", "Combo1", -1, SansSerif, 8, false},
      {"Form1", "List1", -1, SansSerif, 8, false},
      {"Dialog", "Label1", -1, SansSerif, 8, false},
      {"Dialog", "Label2", -1, SansSerif, 9.75, false},
      {"Dialog", "Label3", -1, Courier, 9.75, false},
      {"Dialog", "OKButton", -1, SansSerif, 8, false},
      {"frmAbout", "lblTitle", -1, Courier, 12, true},
      {"frmAbout", "lblVersion", -1, SansSerif, 8, false},
      {"frmAbout", "lblDescription", -1, SansSerif, 8, false},
      {"frmAbout", "Label1", -1, SansSerif, 9.75, false},
      {"frmAbout", "Label2", 0, SansSerif, 9.75, true},
      {"frmAbout", "Label3", -1, Courier, 9.75, false},
      {"frmAbout", "cmdOK", -1, SansSerif, 8, false},
  };
  window->smnu_help[0]->trigger();
  window->smnu_help[1]->trigger();
  const QString sansSerif = layoutSansSerif();
  for (const Row& row : rows) {
    QWidget* top = QString(row.window) == "Dialog"     ? static_cast<QWidget*>(Dialog::instance())
                   : QString(row.window) == "frmAbout" ? static_cast<QWidget*>(frmAbout::instance())
                                                       : window.get();
    ASSERT_NE(top, nullptr) << row.window;
    expectFont(control<QWidget>(top, row.control, row.index),
               row.face == Courier ? QStringLiteral("Courier New") : sansSerif, row.points,
               row.bold);
  }
  // The picture is the image drawn for this scaling, shown 40 x 41 logical pixels large.
  const qreal ratio = qApp->devicePixelRatio();
  const QPixmap picture = control<QLabel>(Dialog::instance(), "picIcon")->pixmap();
  EXPECT_EQ(picture.size(), (QSizeF(40, 41) * ratio).toSize());
  EXPECT_EQ(picture.deviceIndependentSize().toSize(), QSize(40, 41));
  // The window icon has an image drawn for the large icon at this scaling.
  EXPECT_TRUE(window->windowIcon().availableSizes().contains((QSizeF(32, 32) * ratio).toSize()));
}

}  // namespace
}  // namespace sacotin::testing
