// Runs every test inside one QApplication on Qt's offscreen platform, so that widget tests
// drive real widgets without a display, set up as the program sets itself up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QThreadPool>

#include "program/program.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // The program's own fonts and French Qt texts, so that tests see what a player sees.
  sacotin::setUpApplication(app);
  // Windows animates a chooser's list as it opens (the list shows only when the animation ends).
  QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
  // Qt Gui shares large image conversions and fills out to Qt's thread pool, whose threads hand
  // work to one another through Qt's own locks, which ThreadSanitizer can't see in Qt's
  // uninstrumented libraries: one pool thread leaves them nobody to hand work to.
  QThreadPool::globalInstance()->setMaxThreadCount(1);
#endif
#endif
  return RUN_ALL_TESTS();
}
