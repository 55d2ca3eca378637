// The coloured texts of the three windows: the layout's exact colours on a light background,
// and readable ones (contrast 4.5:1, hue kept) on a dark background, also when the desktop
// switches while the windows are open.
#include <QPalette>
#include <QPushButton>

#include "dialogs_fixture.h"
#include "widgets/cr_label.h"
#include "widgets/text_colours.h"

namespace sacotin::testing {
namespace {

class ColourSchemeTest : public DialogsTest {
 protected:
  void SetUp() override {
    lightScheme = QApplication::palette();
    DialogsTest::SetUp();
  }
  void TearDown() override {
    switchTo(lightScheme);
    DialogsTest::TearDown();
  }

  // Breeze Dark's window colours.
  static QPalette darkScheme() {
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Window, QColor(49, 54, 59));
    dark.setColor(QPalette::WindowText, QColor(252, 252, 252));
    dark.setColor(QPalette::Base, QColor(35, 38, 41));
    dark.setColor(QPalette::Text, QColor(252, 252, 252));
    dark.setColor(QPalette::Button, QColor(49, 54, 59));
    dark.setColor(QPalette::ButtonText, QColor(252, 252, 252));
    return dark;
  }

  // The desktop switches colour schemes: the new colours reach the windows through the event loop.
  static void switchTo(const QPalette& scheme) {
    QApplication::setPalette(scheme);
    QCoreApplication::processEvents();
  }

  // A failure turns the status line red: the shown character's inventory can't be opened.
  void showAFailure() {
    registry->removeKey(FakeRegistry::inventoryPath("Alpha", "Arthur"));
    window->Command1->click();
  }

  struct Row {
    const char* window;  // "Form1", "Dialog" or "frmAbout"
    const char* name;
    int index;
    QColor light;  // black: the scheme's own text colour on a dark background
  };
  QList<Row> rows() const {
    return {{"Form1", "Label1", -1, QColor(255, 0, 0)},  // red after showAFailure()
            {"Dialog", "Label3", -1, QColor(128, 0, 128)},
            {"frmAbout", "lblTitle", -1, QColor(0, 0, 0)},
            {"frmAbout", "lblDescription", -1, QColor(0, 0, 0)},
            {"frmAbout", "Label2", 0, QColor(192, 0, 192)},
            {"frmAbout", "Label3", -1, QColor(128, 0, 128)}};
  }
  QWidget* widgetOf(const Row& row) const {
    QWidget* windows[] = {window.get(), Dialog::instance(), frmAbout::instance()};
    for (QWidget* candidate : windows) {
      if (candidate && candidate->objectName() == row.window) {
        return control<QWidget>(candidate, row.name, row.index);
      }
    }
    ADD_FAILURE() << row.window << " is not open";
    return nullptr;
  }
  static QColor shownColour(const QWidget* widget) {
    return widget->palette().color(QPalette::Active, QPalette::WindowText);
  }

  void expectLayoutColours() const {
    for (const Row& row : rows()) {
      const QWidget* widget = widgetOf(row);
      ASSERT_NE(widget, nullptr);
      EXPECT_EQ(shownColour(widget), row.light) << row.window << " " << row.name;
    }
  }

  void expectReadableOnDark() const {
    for (const Row& row : rows()) {
      const QWidget* widget = widgetOf(row);
      ASSERT_NE(widget, nullptr);
      const QColor background = widget->palette().color(QPalette::Active, QPalette::Window);
      const QColor shown = shownColour(widget);
      const std::string where = std::string(row.window) + " " + row.name;
      EXPECT_EQ(background, QColor(49, 54, 59)) << where;
      EXPECT_GE(contrastRatio(shown, background), 4.5) << where;
      if (row.light == QColor(0, 0, 0)) {
        EXPECT_EQ(shown, QColor(252, 252, 252)) << where;
      } else {
        EXPECT_NEAR(shown.hslHue(), row.light.hslHue(), 3) << where;
        EXPECT_GE(shown.hslSaturation(), 200) << where;  // still a vivid red, purple, magenta
      }
    }
  }

  QPalette lightScheme;
};

TEST_F(ColourSchemeTest, LightSchemeKeepsTheLayoutColours) {
  EXPECT_EQ(shownColour(window->Label1), QColor(0, 0, 0));
  showAFailure();
  openHelp();
  openAbout();
  expectLayoutColours();
}

TEST_F(ColourSchemeTest, WindowsOpenedInADarkSchemeAreReadable) {
  switchTo(darkScheme());
  showAFailure();
  openHelp();
  openAbout();
  expectReadableOnDark();
}

TEST_F(ColourSchemeTest, SwitchingWhileOpenTakesEffectAndSwitchingBackRestores) {
  showAFailure();
  openHelp();
  openAbout();
  switchTo(darkScheme());
  expectReadableOnDark();
  // Once red, the status line stays red through any later status text.
  window->Command1->click();
  EXPECT_EQ(shownColour(window->Label1).hslHue(), 0);
  switchTo(lightScheme);
  expectLayoutColours();
}

}  // namespace
}  // namespace sacotin::testing
