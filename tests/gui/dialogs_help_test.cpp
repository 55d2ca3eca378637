// The Help window: one instance, hidden by OK and unloaded by its close box, its keys, its
// text and its layout.
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "tests/gui/dialogs_fixture.h"
#include "widgets/cr_label.h"

namespace sacotin::testing {
namespace {

using HelpWindowTest = DialogsTest;

// The help text, written out here piece by piece.
QString expectedHelpText() {
  const QChar cr(13);
  return QStringLiteral("** Sacotin **") + cr + cr + "Sacotin vous permet de voir" + cr +
         "ce que vous possedez dans votre" + cr + "inventaire." + cr +
         QStringLiteral(
             "La premiere liste represente vos comptes Goa, la seconde les personnages "
             "du compte selectionné. le fait de changer de compte et/ou personnage "
             "rafraichit votre liste d'objets.") +
         cr +
         QStringLiteral(
             "Certains objets apparaitront comme **objet non trouvé** car l'objet "
             "n'est pas referencé dans le fichier liste.dat , si vous trouez des "
             "objets non referencés, vous pouvez me les envoyer sur "
             "jean@t4c.test , je mettrais à jour la liste.") +
         cr +
         QStringLiteral(
             "Sacotin vous permet aussi de faire une recherche sur tous vos persos. "
             "Actuellement, vous ne pouvez que choisir l'objet dans une liste. Une "
             "future version vous permettra de taper librement les mots désirés. Pour "
             "faire la recherche, cliquez sur 'recherche' dans la barre des menus, "
             "choisissez dans la liste, puis cliquez sur 'Rechercher'. Et voila, plus "
             "qu'à attendre ;)");
}

TEST_F(HelpWindowTest, ChoosingAideTwiceLeavesOneVisibleWindow) {
  EXPECT_EQ(Dialog::instance(), nullptr);
  Dialog* first = openHelp();
  chooseHelpItem(0);
  EXPECT_EQ(Dialog::instance(), first);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->loadCount(), 1);
  EXPECT_EQ(visibleWindowsNamed("Dialog"), 1);
}

TEST_F(HelpWindowTest, OkHidesTheWindowAndTheNextRequestShowsItAgainWithoutReloading) {
  Dialog* help = openHelp();
  QPointer<CrLabel> text = control<CrLabel>(help, "Label1");
  QTest::mouseClick(control<QPushButton>(help, "OKButton"), Qt::LeftButton);
  processDeletions();
  ASSERT_EQ(Dialog::instance(), help);  // hidden, not destroyed
  EXPECT_FALSE(help->isVisible());

  chooseHelpItem(0);
  EXPECT_EQ(Dialog::instance(), help);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->geometry(), twips(2760, 3750, 4590, 6075));
  EXPECT_EQ(help->loadCount(), 1);
  EXPECT_EQ(control<CrLabel>(help, "Label1"), text.data());
  EXPECT_EQ(text->text(), expectedHelpText());
}

TEST_F(HelpWindowTest, CloseBoxUnloadsTheWindowAndTheNextRequestLoadsANewOne) {
  QPointer<Dialog> first = openHelp();
  clickCloseBox(first);
  processDeletions();
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(Dialog::instance(), nullptr);

  Dialog* second = openHelp();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->isVisible());
  EXPECT_EQ(second->loadCount(), 1);
  EXPECT_EQ(control<CrLabel>(second, "Label1")->text(), expectedHelpText());
}

TEST_F(HelpWindowTest, OkButtonHoldsTheFocusAndEnterPressesIt) {
  Dialog* help = openHelp();
  auto* ok = control<QPushButton>(help, "OKButton");
  ASSERT_TRUE(holdsKeyboard(help));  // it takes the keyboard as it opens
  EXPECT_EQ(QApplication::focusWidget(), ok);
  QTest::keyClick(help->windowHandle(), Qt::Key_Return);
  processDeletions();
  EXPECT_EQ(Dialog::instance(), help);
  EXPECT_FALSE(help->isVisible());
  // ... and gives it back as it goes, where a window manager decides (not offscreen).
  if (onDesktop()) {
    EXPECT_TRUE(holdsKeyboard(window.get()));
  }
}

TEST_F(HelpWindowTest, EscapeDoesNothing) {
  Dialog* help = openHelp();
  QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
  processDeletions();
  EXPECT_EQ(Dialog::instance(), help);
  EXPECT_TRUE(help->isVisible());
}

TEST_F(HelpWindowTest, TabMovesTheFocusBetweenOkAndThePictureOnlyAndEnterOnThePictureDoesNothing) {
  Dialog* help = openHelp();
  auto* ok = control<QPushButton>(help, "OKButton");
  auto* picture = control<QLabel>(help, "picIcon");
  QTest::keyClick(help->windowHandle(), Qt::Key_Tab);
  EXPECT_TRUE(picture->hasFocus());
  QTest::keyClick(help->windowHandle(), Qt::Key_Return);
  QTest::keyClick(help->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
  processDeletions();
  ASSERT_EQ(Dialog::instance(), help);
  EXPECT_TRUE(help->isVisible());
  QTest::keyClick(help->windowHandle(), Qt::Key_Tab);
  EXPECT_TRUE(ok->hasFocus());
}

TEST_F(HelpWindowTest, ShowsTheHelpTextAndTheContactAddress) {
  Dialog* help = openHelp();
  EXPECT_EQ(help->windowTitle(), "Aide de Sacotin");
  const QString text = control<CrLabel>(help, "Label1")->text();
  EXPECT_EQ(text, expectedHelpText());
  EXPECT_TRUE(text.startsWith(QStringLiteral("** Sacotin **") + CR + CR + "Sacotin"));
  EXPECT_EQ(text.split(CR).size(), 8);
  EXPECT_FALSE(text.endsWith(CR));
  EXPECT_EQ(control<QLabel>(help, "Label2")->text(), "Contact : ");
  EXPECT_EQ(control<QLabel>(help, "Label3")->text(), "jean@t4c.test");
  EXPECT_EQ(control<QPushButton>(help, "OKButton")->text(), "OK");
}

TEST_F(HelpWindowTest, HasItsFixedFramePlaceAndLayout) {
  Dialog* help = openHelp();
  expectSecondaryWindowFrame(help, twips(2760, 3750, 4590, 6075));
  expectMainWindowIcon(help);
  EXPECT_TRUE(help->testAttribute(Qt::WA_QuitOnClose));

  auto* frame = control<QFrame>(help, "Frame1");
  EXPECT_EQ(frame->parentWidget(), help);
  EXPECT_EQ(frame->geometry(), twips(120, 120, 4335, 5175));
  auto* text = control<CrLabel>(help, "Label1");
  EXPECT_EQ(text->parentWidget(), frame);
  EXPECT_EQ(text->geometry(), twips(360, 360, 3615, 4575));
  EXPECT_EQ(text->font(), help->font());
  auto* picture = control<QLabel>(help, "picIcon");
  EXPECT_EQ(picture->parentWidget(), frame);
  expectPictureBox(picture, twips(3240, 480, 0, 0).topLeft());
  // The picture lies over the label's top-right corner.
  EXPECT_EQ(frame->childAt(picture->geometry().center()), picture);

  auto* ok = control<QPushButton>(help, "OKButton");
  EXPECT_EQ(ok->parentWidget(), help);
  EXPECT_EQ(ok->geometry(), twips(3120, 5520, 1215, 375));

  auto* contact = control<QLabel>(help, "Label2");
  EXPECT_EQ(contact->parentWidget(), help);
  EXPECT_EQ(contact->geometry(), twips(240, 5520, 975, 255));
  expectFont(contact, layoutSansSerif(), 9.75, false);
  auto* address = control<QLabel>(help, "Label3");
  EXPECT_EQ(address->parentWidget(), help);
  EXPECT_EQ(address->geometry(), twips(1080, 5520, 1575, 255));
  expectFont(address, "Courier New", 9.75, false);
  EXPECT_EQ(textColour(address), QColor(128, 0, 128));

  for (QWidget* label : {static_cast<QWidget*>(frame), static_cast<QWidget*>(text),
                         static_cast<QWidget*>(contact), static_cast<QWidget*>(address)}) {
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << label->objectName().toStdString();
  }
}

TEST_F(HelpWindowTest, MainWindowStillTakesInputWhileTheHelpWindowIsOpen) {
  openHelp();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  auto* accounts = window->findChild<QComboBox*>("Combo1");
  auto* characters = window->findChild<QComboBox*>("Combo2");
  ASSERT_EQ(accounts->count(), 2);
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  accounts->setFocus();
  QTest::keyClick(window->windowHandle(), Qt::Key_Down);  // the user chooses the next account
  EXPECT_EQ(accounts->currentText(), "Beta");
  EXPECT_EQ(characters->currentText(), "Bertrand");
  EXPECT_TRUE(Dialog::instance()->isVisible());
}

}  // namespace
}  // namespace sacotin::testing
