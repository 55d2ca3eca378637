// The About window: one instance, unloaded by OK, Enter, Escape and its close box and loaded
// afresh on the next request; its texts and its layout.
#include <QLabel>
#include <QPushButton>

#include "sacotin_version.h"
#include "tests/gui/dialogs_fixture.h"
#include "widgets/cr_label.h"

namespace sacotin::testing {
namespace {

class AboutWindowTest : public DialogsTest {
 protected:
  static QString expectedReleaseNotes() {
    const QChar cr(13);
    return QStringLiteral("- Ce programme a été réalisé par Jean Martin suivant") + cr +
           "une demande de son ami Paul Durand  :)" + cr +
           QStringLiteral("- Derniere mise à jour : 16/12/01") + cr +
           QStringLiteral("- Optimisation du temps de traitement à venir prochainement") + cr +
           QStringLiteral("- Merci à Luc Moreau pour sa liste d'objets : www.example.net/objets");
  }

  static void expectLoadedTexts(frmAbout* about) {
    EXPECT_EQ(about->windowTitle(), "A Propos de Sacotin");
    EXPECT_EQ(control<QLabel>(about, "lblTitle")->text(), "Sacotin");
    EXPECT_EQ(control<QLabel>(about, "lblVersion")->text(), "Version " SACOTIN_VERSION);
    EXPECT_EQ(control<CrLabel>(about, "lblDescription")->text(), expectedReleaseNotes());
  }

  // Opens the About window, lets the user leave it in some way and checks that it is gone.
  template <typename Leave>
  void expectUnloadedBy(Leave leave) {
    QPointer<frmAbout> about = openAbout();
    ASSERT_FALSE(about.isNull());
    leave(about.data());
    processDeletions();
    EXPECT_TRUE(about.isNull());
    EXPECT_EQ(frmAbout::instance(), nullptr);
    EXPECT_EQ(visibleWindowsNamed("frmAbout"), 0);
  }
};

TEST_F(AboutWindowTest, ChoosingAProposTwiceLeavesOneVisibleWindow) {
  EXPECT_EQ(frmAbout::instance(), nullptr);
  frmAbout* first = openAbout();
  chooseHelpItem(1);
  EXPECT_EQ(frmAbout::instance(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(visibleWindowsNamed("frmAbout"), 1);
}

TEST_F(AboutWindowTest, OkUnloadsTheWindowAndTheNextRequestLoadsItAgain) {
  expectUnloadedBy([](frmAbout* about) {
    QTest::mouseClick(control<QPushButton>(about, "cmdOK"), Qt::LeftButton);
  });
  frmAbout* again = openAbout();
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(again->isVisible());
  expectLoadedTexts(again);
}

TEST_F(AboutWindowTest, EnterAndEscapePressOk) {
  expectUnloadedBy([](frmAbout* about) {
    ASSERT_TRUE(holdsKeyboard(about));  // it takes the keyboard as it opens
    EXPECT_EQ(QApplication::focusWidget(), control<QPushButton>(about, "cmdOK"));
    QTest::keyClick(about->windowHandle(), Qt::Key_Return);
  });
  // ... and gives it back as it goes, where a window manager decides (not offscreen).
  if (onDesktop()) {
    EXPECT_TRUE(holdsKeyboard(window.get()));
  }
  expectUnloadedBy([](frmAbout* about) { QTest::keyClick(about->windowHandle(), Qt::Key_Escape); });
  // OK is the default button: Enter presses it while the picture has the focus as well.
  expectUnloadedBy([](frmAbout* about) {
    QTest::keyClick(about->windowHandle(), Qt::Key_Tab);
    EXPECT_TRUE(control<QLabel>(about, "picIcon")->hasFocus());
    QTest::keyClick(about->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
  });
  expectUnloadedBy([](frmAbout* about) {
    QTest::keyClick(about->windowHandle(), Qt::Key_Tab);
    QTest::keyClick(about->windowHandle(), Qt::Key_Escape);
  });
}

TEST_F(AboutWindowTest, CloseBoxUnloadsTheWindow) {
  expectUnloadedBy([](frmAbout* about) { clickCloseBox(about); });
  expectLoadedTexts(openAbout());
}

TEST_F(AboutWindowTest, ShowsTitleVersionReleaseNotesAndContact) {
  frmAbout* about = openAbout();
  expectLoadedTexts(about);
  EXPECT_EQ(control<QLabel>(about, "Label1")->text(), "Visitez");
  EXPECT_EQ(control<QLabel>(about, "Label2", 0)->text(), "sacotin.test");
  EXPECT_EQ(control<QLabel>(about, "Label2", 1)->text(), "Contact : ");
  EXPECT_EQ(control<QLabel>(about, "Label3")->text(), "jean@t4c.test");
  EXPECT_EQ(control<QPushButton>(about, "cmdOK")->text(), "OK");
  const QString notes = control<CrLabel>(about, "lblDescription")->text();
  EXPECT_EQ(notes.split(CR).size(), 5);
  EXPECT_FALSE(notes.endsWith(CR));

  // The same contact address as the Help window, in its label and in its text.
  Dialog* help = openHelp();
  EXPECT_EQ(control<QLabel>(help, "Label3")->text(), "jean@t4c.test");
  EXPECT_TRUE(control<CrLabel>(help, "Label1")->text().contains(" jean@t4c.test , "));
  // Both windows open at once, and the main window too.
  EXPECT_TRUE(about->isVisible());
  EXPECT_TRUE(window->isVisible());
}

TEST_F(AboutWindowTest, HasItsFixedFramePlaceAndLayout) {
  frmAbout* about = openAbout();
  expectSecondaryWindowFrame(about, twips(2340, 1935, 5325, 3180));
  expectMainWindowIcon(about);
  EXPECT_TRUE(about->testAttribute(Qt::WA_QuitOnClose));
  for (QObject* child : about->children()) {
    if (auto* widget = qobject_cast<QWidget*>(child)) {
      EXPECT_EQ(widget->parentWidget(), about);
    }
  }
  expectPictureBox(control<QLabel>(about, "picIcon"), twips(120, 240, 0, 0).topLeft());

  struct Expected {
    const char* name;
    int index;
    QRect rect;
  };
  for (const Expected& label : {Expected{"lblTitle", -1, twips(1050, 240, 3885, 240)},
                                Expected{"lblVersion", -1, twips(1050, 480, 3885, 225)},
                                Expected{"lblDescription", -1, twips(1050, 960, 4125, 1170)},
                                Expected{"Label1", -1, twips(600, 2520, 615, 255)},
                                Expected{"Label2", 0, twips(1320, 2520, 1815, 255)},
                                Expected{"Label2", 1, twips(600, 2760, 855, 255)},
                                Expected{"Label3", -1, twips(1440, 2760, 1575, 255)},
                                Expected{"cmdOK", -1, twips(3600, 2520, 1260, 345)}}) {
    QWidget* widget = control<QWidget>(about, label.name, label.index);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->geometry(), label.rect) << label.name << " " << label.index;
    EXPECT_EQ(widget->focusPolicy() != Qt::NoFocus, QByteArray(label.name) == "cmdOK")
        << label.name;
  }

  expectFont(control<QLabel>(about, "lblTitle"), "Courier New", 12, true);
  EXPECT_EQ(textColour(control<QLabel>(about, "lblTitle")), QColor(0, 0, 0));
  EXPECT_EQ(control<QLabel>(about, "lblVersion")->font(), about->font());
  EXPECT_EQ(control<QLabel>(about, "lblDescription")->font(), about->font());
  EXPECT_EQ(textColour(control<QLabel>(about, "lblDescription")), QColor(0, 0, 0));
  expectFont(control<QLabel>(about, "Label1"), layoutSansSerif(), 9.75, false);
  expectFont(control<QLabel>(about, "Label2", 0), layoutSansSerif(), 9.75, true);
  EXPECT_EQ(textColour(control<QLabel>(about, "Label2", 0)), QColor(192, 0, 192));
  expectFont(control<QLabel>(about, "Label2", 1), layoutSansSerif(), 9.75, false);
  expectFont(control<QLabel>(about, "Label3"), "Courier New", 9.75, false);
  EXPECT_EQ(textColour(control<QLabel>(about, "Label3")), QColor(128, 0, 128));
  EXPECT_TRUE(control<QPushButton>(about, "cmdOK")->isDefault());
}

TEST_F(AboutWindowTest, TwoLinesDrawAnEtchedSeparator) {
  frmAbout* about = openAbout();
  QWidget* grey = control<QWidget>(about, "Line1", 1);
  QWidget* white = control<QWidget>(about, "Line1", 0);
  ASSERT_NE(grey, nullptr);
  ASSERT_NE(white, nullptr);
  EXPECT_EQ(grey->geometry(), QRect(8, 152, 344, 1));
  EXPECT_EQ(white->geometry(), QRect(8, 152, 344, 2));
  // Read in the middle of each logical pixel, whatever the display's scaling.
  const QImage shown = about->grab().toImage();
  const auto at = [&shown](int x, int y) {
    const qreal ratio = shown.devicePixelRatio();
    return shown.pixelColor(int((x + 0.5) * ratio), int((y + 0.5) * ratio));
  };
  for (int x : {8, 180, 351}) {
    EXPECT_EQ(at(x, 152), QColor(128, 128, 128)) << x;
    EXPECT_EQ(at(x, 153), QColor(255, 255, 255)) << x;
  }
}

TEST_F(AboutWindowTest, MainWindowStillTakesInputWhileTheAboutWindowIsOpen) {
  openAbout();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  auto* accounts = window->findChild<QComboBox*>("Combo1");
  auto* characters = window->findChild<QComboBox*>("Combo2");
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  accounts->setFocus();
  QTest::keyClick(window->windowHandle(), Qt::Key_Down);
  EXPECT_EQ(characters->currentText(), "Bertrand");
  window->findChild<CrLabel*>("Label1")->clear();
  QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
  EXPECT_EQ(window->findChild<CrLabel*>("Label1")->text(),
            "Bertrand" + QString(CR) + "Vous possedez 1 objets");
  EXPECT_TRUE(frmAbout::instance()->isVisible());
}

}  // namespace
}  // namespace sacotin::testing
