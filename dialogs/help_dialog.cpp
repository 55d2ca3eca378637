#include "dialogs/help_dialog.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "dialogs/author_details.h"
#include "dialogs/secondary_window.h"
#include "widgets/cr_label.h"
#include "widgets/text_colours.h"

namespace sacotin {

namespace {
QPointer<Dialog> helpWindow;
}

Dialog* Dialog::instance() { return helpWindow; }

Dialog* Dialog::showOnRequest() {
  if (!helpWindow) helpWindow = new Dialog;
  showModeless(helpWindow, helpWindow->OKButton);
  return helpWindow;
}

QString Dialog::helpText() {
  const QStringList pieces = {
      QStringLiteral("** Sacotin **"),
      QString(),
      QStringLiteral("Sacotin vous permet de voir"),
      QStringLiteral("ce que vous possedez dans votre"),
      QStringLiteral("inventaire."),
      QStringLiteral("La premiere liste represente vos comptes Goa, la seconde les personnages du "
                     "compte selectionné. le fait de changer de compte et/ou personnage rafraichit "
                     "votre liste d'objets."),
      QStringLiteral(
          "Certains objets apparaitront comme **objet non trouvé** car l'objet n'est pas "
          "referencé dans le fichier liste.dat , si vous trouez des objets non "
          "referencés, vous pouvez me les envoyer sur ") +
          author::contactAddress + QStringLiteral(" , je mettrais à jour la liste."),
      QStringLiteral("Sacotin vous permet aussi de faire une recherche sur tous vos persos. "
                     "Actuellement, vous ne pouvez que choisir l'objet dans une liste. Une future "
                     "version vous permettra de taper librement les mots désirés. Pour faire la "
                     "recherche, cliquez sur 'recherche' dans la barre des menus, choisissez dans "
                     "la liste, puis cliquez sur 'Rechercher'. Et voila, plus qu'à attendre ;)"),
  };
  return pieces.join(QChar(13));
}

Dialog::Dialog() {
  setObjectName(QStringLiteral("Dialog"));
  setWindowTitle(QStringLiteral("Aide de Sacotin"));
  makeSecondaryWindow(this, QPoint(2760, 3750), QSize(4590, 6075));
  // Closing by the close box unloads the window; the OK button only hides it.
  setAttribute(Qt::WA_DeleteOnClose);
  buildLayout();
  Form_Load();
}

void Dialog::buildLayout() {
  Frame1 = new QFrame(this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
  Frame1->setGeometry(twipsRect(120, 120, 4335, 5175));

  Label1 = new CrLabel(Frame1);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(twipsRect(360, 360, 3615, 4575));

  // The picture covers the top-right corner of the help text.
  picIcon = makePictureBox(Frame1, QPoint(3240, 480));
  picIcon->raise();

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(twipsRect(3120, 5520, 1215, 375));
  connect(OKButton, &QPushButton::clicked, this, &Dialog::OKButton_Click);

  Label2 = makeLabel(this, twipsRect(240, 5520, 975, 255));
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setFont(msSansSerif(false));
  Label2->setText(QStringLiteral("Contact : "));

  Label3 = makeLabel(this, twipsRect(1080, 5520, 1575, 255));
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setFont(courierNew(9.75, false));
  useTextColour(Label3, TextColour::Address);
  Label3->setText(author::contactAddress);

  // Only the button and the picture take the focus; the button holds it when the window opens.
  setTabOrder(OKButton, picIcon);
  OKButton->setFocus();
}

void Dialog::Form_Load() {
  ++loadCount_;
  Label1->setText(helpText());
}

void Dialog::OKButton_Click() {
  // Hidden, not unloaded: the window keeps its text for the next request. It is closed without
  // being deleted rather than just hidden, because Qt ends the program when the last visible
  // window is closed and doesn't watch plain hiding: a program whose last visible window is
  // this one must end here.
  setAttribute(Qt::WA_DeleteOnClose, false);
  close();
  setAttribute(Qt::WA_DeleteOnClose, true);
}

void Dialog::keyPressEvent(QKeyEvent* event) {
  // The window has neither a default nor a cancel button: Enter presses the OK button only
  // while the button has the focus (the button handles that key itself), and Escape does
  // nothing. QDialog would press its default button or reject, which unloads the window.
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      event->accept();
      return;
    default:
      QDialog::keyPressEvent(event);
  }
}

}  // namespace sacotin
