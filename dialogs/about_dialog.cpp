#include "dialogs/about_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include "dialogs/author_details.h"
#include "dialogs/secondary_window.h"
#include "sacotin_version.h"
#include "widgets/cr_label.h"
#include "widgets/text_colours.h"

namespace sacotin {

namespace {

QPointer<frmAbout> aboutWindow;

// One element of a control array: every element has the array's name and its own index.
void nameArrayElement(QWidget* widget, const char* name, int index) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setProperty("index", index);
}

// A horizontal line of the given colour and width (in pixels) from x1 to x2 at height y, all
// in twips; the line's width grows downwards from y.
QWidget* makeLine(QWidget* parent, int x1, int x2, int y, QColor colour, int widthPixels) {
  auto* line = new QWidget(parent);
  line->setGeometry(
      QRect(twipsToPixels(x1), twipsToPixels(y), twipsToPixels(x2 - x1), widthPixels));
  QPalette palette = line->palette();
  palette.setColor(QPalette::Window, colour);
  line->setPalette(palette);
  line->setAutoFillBackground(true);
  return line;
}

}  // namespace

frmAbout* frmAbout::instance() { return aboutWindow; }

frmAbout* frmAbout::showOnRequest() {
  if (!aboutWindow) aboutWindow = new frmAbout;
  showModeless(aboutWindow, aboutWindow->cmdOK);
  return aboutWindow;
}

QString frmAbout::releaseNotes() {
  const QStringList lines = {
      QStringLiteral("- Ce programme a été réalisé par ") + author::name +
          QStringLiteral(" suivant"),
      QStringLiteral("une demande de son ami ") + author::friendName + QStringLiteral("  :)"),
      QStringLiteral("- Derniere mise à jour : 16/12/01"),
      QStringLiteral("- Optimisation du temps de traitement à venir prochainement"),
      QStringLiteral("- Merci à ") + author::itemListAuthor +
          QStringLiteral(" pour sa liste d'objets : ") + author::itemListSite,
  };
  return lines.join(QChar(13));
}

frmAbout::frmAbout() {
  setObjectName(QStringLiteral("frmAbout"));
  makeSecondaryWindow(this, QPoint(2340, 1935), QSize(5325, 3180));
  // Every way of leaving the window unloads it.
  setAttribute(Qt::WA_DeleteOnClose);
  buildLayout();
  Form_Load();
}

void frmAbout::buildLayout() {
  picIcon = makePictureBox(this, QPoint(120, 240));

  lblTitle = makeLabel(this, twipsRect(1050, 240, 3885, 240));
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  lblTitle->setFont(courierNew(12, true));
  useTextColour(lblTitle, TextColour::Plain);

  lblVersion = makeLabel(this, twipsRect(1050, 480, 3885, 225));
  lblVersion->setObjectName(QStringLiteral("lblVersion"));

  lblDescription = new CrLabel(this);
  lblDescription->setObjectName(QStringLiteral("lblDescription"));
  lblDescription->setGeometry(twipsRect(1050, 960, 4125, 1170));
  useTextColour(lblDescription, TextColour::Plain);

  // The separator: a 2-pixel white line with a 1-pixel grey line over its upper half, which
  // reads as an etched groove.
  Line1[0] = makeLine(this, 120, 5280, 2280, QColor(255, 255, 255), 2);
  nameArrayElement(Line1[0], "Line1", 0);
  Line1[1] = makeLine(this, 120, 5280, 2280, QColor(128, 128, 128), 1);
  nameArrayElement(Line1[1], "Line1", 1);
  Line1[1]->raise();

  Label1 = makeLabel(this, twipsRect(600, 2520, 615, 255));
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(msSansSerif(false));
  Label1->setText(QStringLiteral("Visitez"));

  Label2[0] = makeLabel(this, twipsRect(1320, 2520, 1815, 255));
  nameArrayElement(Label2[0], "Label2", 0);
  Label2[0]->setFont(msSansSerif(true));
  useTextColour(Label2[0], TextColour::WebAddress);
  Label2[0]->setText(author::webAddress);

  Label2[1] = makeLabel(this, twipsRect(600, 2760, 855, 255));
  nameArrayElement(Label2[1], "Label2", 1);
  Label2[1]->setFont(msSansSerif(false));
  Label2[1]->setText(QStringLiteral("Contact : "));

  Label3 = makeLabel(this, twipsRect(1440, 2760, 1575, 255));
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setFont(courierNew(9.75, false));
  useTextColour(Label3, TextColour::Address);
  Label3->setText(author::contactAddress);

  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setGeometry(twipsRect(3600, 2520, 1260, 345));
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);

  // Only the button and the picture take the focus; the button holds it when the window opens.
  setTabOrder(cmdOK, picIcon);
  cmdOK->setFocus();
}

void frmAbout::Form_Load() {
  setWindowTitle(QStringLiteral("A Propos de Sacotin"));
  lblVersion->setText(QStringLiteral("Version " SACOTIN_VERSION));
  lblTitle->setText(QStringLiteral("Sacotin"));
  lblDescription->setText(releaseNotes());
}

void frmAbout::cmdOK_Click() { close(); }

void frmAbout::keyPressEvent(QKeyEvent* event) {
  // The OK button is also the cancel button: Escape presses it. Enter presses it as the
  // default button (QDialog's own handling).
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    cmdOK->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace sacotin
