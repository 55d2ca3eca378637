// How the program ends: when no window the user can see is left. A visible Help or About
// window keeps it running after the main window is closed; a Help window that was only hidden
// never does.
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "tests/gui/dialogs_fixture.h"

namespace sacotin::testing {
namespace {

class ProgramEndTest : public DialogsTest {
 protected:
  // Runs the application's event loop as the program does, runs the steps in it one after the
  // other, and reports whether the loop ended and how many steps ran before it did. A step
  // after which the program ended never lets the next one run. A safety timer ends a loop that
  // nothing else ends, so that a failing case can't hang the tests.
  struct RunResult {
    bool endedByItself = false;
    int stepsRun = 0;
  };
  RunResult runProgram(const std::vector<std::function<void()>>& steps) {
    // Only the main window may count for ending the program when the loop starts.
    int countingWindows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible() && widget->testAttribute(Qt::WA_QuitOnClose)) ++countingWindows;
    }
    EXPECT_EQ(countingWindows, 1) << "windows of earlier tests are still open";

    RunResult result;
    bool safetyFired = false;
    QObject stepsContext;  // steps still pending when the loop ends go with it
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [&] {
      safetyFired = true;
      QCoreApplication::quit();
    });
    std::function<void(std::size_t)> runStep = [&](std::size_t next) {
      if (next == steps.size()) {
        safety.start(5000);  // the loop should have ended; give it time to prove it hasn't
        return;
      }
      steps[next]();
      ++result.stepsRun;
      QTimer::singleShot(50, &stepsContext, [&, next] { runStep(next + 1); });
    };
    QTimer::singleShot(0, &stepsContext, [&] { runStep(0); });
    QCoreApplication::exec();
    result.endedByItself = !safetyFired;
    return result;
  }

  void closeMainWindow() { window->close(); }
};

TEST_F(ProgramEndTest, AnOpenAboutWindowKeepsTheProgramRunningUntilItIsClosed) {
  QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
  const RunResult run = runProgram({
      [&] { openAbout(); },
      [&] { closeMainWindow(); },
      [&] {
        EXPECT_TRUE(frmAbout::instance()->isVisible());
        EXPECT_EQ(lastWindowClosed.count(), 0);
        clickCloseBox(frmAbout::instance());
      },
      [] { ADD_FAILURE() << "the program went on after its last window was closed"; },
  });
  EXPECT_TRUE(run.endedByItself);
  EXPECT_EQ(run.stepsRun, 3);
  EXPECT_EQ(lastWindowClosed.count(), 1);
}

TEST_F(ProgramEndTest, AnOpenHelpWindowKeepsTheProgramRunningUntilItsOkButtonHidesIt) {
  const RunResult run = runProgram({
      [&] { openHelp(); },
      [&] { closeMainWindow(); },
      [&] {
        EXPECT_TRUE(Dialog::instance()->isVisible());
        QTest::mouseClick(Dialog::instance()->OKButton, Qt::LeftButton);
      },
      [] { ADD_FAILURE() << "the program went on after its last window was hidden"; },
  });
  EXPECT_TRUE(run.endedByItself);
  EXPECT_EQ(run.stepsRun, 3);
}

TEST_F(ProgramEndTest, AHiddenHelpWindowDoesNotKeepTheProgramRunning) {
  QSignalSpy lastWindowClosed(qApp, &QGuiApplication::lastWindowClosed);
  const RunResult run = runProgram({
      [&] {
        openHelp();
        QTest::mouseClick(Dialog::instance()->OKButton, Qt::LeftButton);
        ASSERT_FALSE(Dialog::instance()->isVisible());
      },
      [&] { closeMainWindow(); },
      [] { ADD_FAILURE() << "a hidden Help window kept the program running"; },
  });
  EXPECT_TRUE(run.endedByItself);
  EXPECT_EQ(run.stepsRun, 2);
  EXPECT_EQ(lastWindowClosed.count(), 1);
}

TEST_F(ProgramEndTest, ClosingTheMainWindowLeavesTheOpenWindowsAsTheyAre) {
  openHelp();
  openAbout();
  window->close();
  EXPECT_TRUE(Dialog::instance()->isVisible());
  EXPECT_TRUE(frmAbout::instance()->isVisible());
}

}  // namespace
}  // namespace sacotin::testing
