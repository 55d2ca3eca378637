// Runs every test inside one QApplication on Qt's offscreen platform, so that widget tests
// drive real widgets without a display, set up as the program sets itself up.
#include <gtest/gtest.h>

#include <QApplication>

#include "program/program.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  // The program's own fonts and French Qt texts, so that tests see what a player sees.
  sacotin::setUpApplication(app);
  // Windows animates a chooser's list as it opens (the list shows only when the animation ends).
  QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
  return RUN_ALL_TESTS();
}
