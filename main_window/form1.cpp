// The main window: its layout, its status line, the start-up sequence and the inventory mode.
#include "main_window/form1.h"

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <filesystem>

#include "main_window/list_box_order.h"
#include "main_window/status_texts.h"
#include "widgets/cr_label.h"
#include "widgets/fonts.h"
#include "widgets/program_images.h"
#include "widgets/screen_readers.h"
#include "widgets/text_colours.h"
#include "widgets/twips.h"

namespace sacotin {
namespace {

// A frame without caption at a fixed place inside its container.
QFrame* makeFrame(QWidget* container, const QRect& geometry) {
  auto* frame = new QFrame(container);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame->setGeometry(geometry);
  return frame;
}

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Elements of a control array share the name and carry their index.
template <typename Object>
Object* namedElement(Object* object, const char* name, int index) {
  object->setObjectName(QString::fromLatin1(name));
  object->setProperty("index", index);
  return object;
}

// Fills a chooser with the names of one enumeration, in enumeration order, in one go, and
// indexes the row of the first entry of each text.
void fillChooser(QComboBox* chooser, QHash<QString, int>& rows, const QStringList& names) {
  chooser->addItems(names);
  rows.clear();
  rows.reserve(names.size());
  for (int row = 0; row < names.size(); ++row) {
    if (!rows.contains(names.at(row))) rows.insert(names.at(row), row);  // the first entry wins
  }
}

}  // namespace

Form1::Form1(Form1Sources sources, QWidget* parent)
    : QMainWindow(parent),
      gameData_(std::move(sources.registry)),
      catalogueCache_(sources.catalogue
                          ? std::move(sources.catalogue)
                          : std::make_shared<CatalogueCache>(
                                std::filesystem::path(sources.cataloguePath.toStdU16String()),
                                std::move(sources.codePage))) {
  buildLayout();
  buildMenus();
  Form_Load();
}

Form1::~Form1() = default;

// --- Layout ---

void Form1::buildLayout() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Sacotin"));
  useDialogFont(this);
  setWindowIcon(programWindowIcon());

  // Controls sit at fixed places: there is no layout, so resizing the window moves nothing.
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Form1_client"));
  setCentralWidget(client);

  Frame1[0] = namedElement(makeFrame(client, twipsRect(120, 0, 4575, 7695)), "Frame1", 0);
  QFrame* outer = Frame1[0];

  Frame2 = named(makeFrame(outer, twipsRect(120, 6600, 4335, 975)), "Frame2");
  Label1 = named(new CrLabel(Frame2), "Label1");
  Label1->setGeometry(twipsRect(360, 240, 3255, 615));
  Label1->setFont(msSansSerif(true));
  useTextColour(Label1, TextColour::Plain);

  // The inventory frame.
  Frame1[1] = namedElement(makeFrame(outer, twipsRect(120, 120, 4335, 5655)), "Frame1", 1);
  Combo1 = named(new QComboBox(Frame1[1]), "Combo1");
  Combo1->setGeometry(twipsRect(360, 480, 3615, 315));
  Combo2 = named(new QComboBox(Frame1[1]), "Combo2");
  Combo2->setGeometry(twipsRect(360, 840, 3615, 315));
  // Sorted: listInventory adds the names already in the list box's order (see there).
  List1 = named(new QListWidget(Frame1[1]), "List1");
  // Every entry is one line in the same font: the list lays out by the first entry's size
  // instead of measuring (shaping the text of) every name after each load.
  List1->setUniformItemSizes(true);
  List1->setGeometry(twipsRect(360, 1320, 3615, 3765));

  // The search frame: same place as the inventory frame, shown only in search mode.
  Frame5 = named(makeFrame(outer, twipsRect(120, 120, 4335, 5655)), "Frame5");
  Frame5->hide();
  Label5 =
      named(new QLabel(QStringLiteral("Choisissez dans la liste ou saisissez librement :"), Frame5),
            "Label5");
  Label5->setGeometry(twipsRect(360, 360, 3255, 255));
  Label5->setWordWrap(true);
  Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Combo3 = named(new QComboBox(Frame5), "Combo3");
  Combo3->setGeometry(twipsRect(360, 720, 3615, 315));
  Combo3->setEditable(true);
  // What the user types stays as typed and is never added as an entry.
  Combo3->setCompleter(nullptr);
  Combo3->setInsertPolicy(QComboBox::NoInsert);
  Text1 = named(new QLineEdit(QStringLiteral("mots libres : désactivé pour le moment"), Frame5),
                "Text1");
  Text1->setGeometry(twipsRect(360, 1080, 3615, 285));
  Text1->setEnabled(false);
  List2 = named(new QListWidget(Frame5), "List2");
  List2->setUniformItemSizes(true);
  List2->setGeometry(twipsRect(360, 1560, 3615, 3570));

  Frame3 = named(makeFrame(outer, twipsRect(120, 5760, 4335, 855)), "Frame3");
  Command1 = named(new QPushButton(QStringLiteral("Rafraichir"), Frame3), "Command1");
  Command1->setGeometry(twipsRect(360, 240, 3615, 495));

  nameForScreenReaders(Combo1, QStringLiteral("Compte"));
  nameForScreenReaders(Combo2, QStringLiteral("Personnage"));
  nameForScreenReaders(List1, QStringLiteral("Objets du personnage"));
  nameForScreenReaders(Combo3, Label5->text(), Label5);
  nameForScreenReaders(List2, QStringLiteral("Personnages qui portent l'objet"));
  for (QComboBox* chooser : {Combo1, Combo2, Combo3}) speakKeyboardChoices(chooser);
  exposeAsStatusLine(Label1);

  // Keyboard order: the inventory list first, the character chooser before the account chooser,
  // then the search controls and the action button.
  setTabOrder(List1, Combo2);
  setTabOrder(Combo2, Combo1);
  setTabOrder(Combo1, Combo3);
  setTabOrder(Combo3, Text1);
  setTabOrder(Text1, List2);
  setTabOrder(List2, Command1);
  List1->setFocus();

  connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
  connect(Combo2, &QComboBox::activated, this, [this] { Combo2_Click(); });
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void Form1::buildMenus() {
  QMenuBar* bar = menuBar();
  mnu_inv = named(bar->addAction(QStringLiteral("Inventaire")), "mnu_inv");
  mnu_inv->setVisible(false);
  mnu_recherche = named(bar->addAction(QStringLiteral("Recherche")), "mnu_recherche");
  mnu_help = named(bar->addMenu(QStringLiteral("?")), "mnu_help");
  mnu_help->menuAction()->setObjectName(QStringLiteral("mnu_help"));
  smnu_help[0] = namedElement(mnu_help->addAction(QStringLiteral("aide")), "smnu_help", 0);
  smnu_help[1] = namedElement(mnu_help->addAction(QStringLiteral("à propos")), "smnu_help", 1);

  connect(mnu_inv, &QAction::triggered, this, [this] { mnu_inv_Click(); });
  connect(mnu_recherche, &QAction::triggered, this, [this] { mnu_recherche_Click(); });
  for (int index = 0; index < 2; ++index) {
    connect(smnu_help[index], &QAction::triggered, this, [this, index] { smnu_help_Click(index); });
  }

  // The client area is 4770 x 7785 twips below the menu bar.
  const QRect client = twipsRect(0, 0, 4770, 7785);
  resize(client.width(), client.height() + bar->sizeHint().height());
}

// --- Status line ---

void Form1::setStatus(const QString& text) { Label1->setText(text); }

// Failures turn the status text red for the rest of the run: nothing sets it back.
void Form1::showFailure(const QString& text) {
  useTextColour(Label1, TextColour::Failure);
  setStatus(text);
}

// The window isn't repainted while a long step runs; the status line is, on request.
void Form1::repaintStatus() { Label1->repaint(); }

// --- Selection from code ---

// Setting a chooser's text from code selects the first entry with exactly that text, or no
// entry at all when none has it, and never runs the chooser's choice behaviour (Combo1_Click,
// Combo2_Click): those run only when the user chooses (the `activated` signal). Every step that
// needs the characters or the items loaded calls open_chars or see_inv itself, so running them
// again from the selection would only read the registry and the catalogue a second time for the
// same result, and a search run would load each inventory twice. Leaving search mode, which
// must show what the user's own choice would show, replays that choice by calling Combo1_Click
// and Combo2_Click after selecting.
void Form1::selectAccountText(const QString& text) {
  Combo1->setCurrentIndex(accountRows_.value(text, -1));
}

// As selectAccountText, for the character chooser.
void Form1::selectCharacterText(const QString& text) {
  Combo2->setCurrentIndex(characterRows_.value(text, -1));
}

// --- Start-up and inventory mode ---

void Form1::Form_Load() {
  mode_ = InventoryMode;
  setStatus(status_text::searchingRegistry());
  repaintStatus();
  open_compte();
}

void Form1::open_compte() {
  const std::optional<QStringList> accounts = gameData_.accountNames();
  if (!accounts) {
    showFailure(status_text::gameNeverInstalled());
    return;
  }
  fillChooser(Combo1, accountRows_, *accounts);
  selectAccountText(Combo1->itemText(0));
  open_chars(1);
}

void Form1::open_chars(int withInventory) {
  open_chars(withInventory, gameData_.characterNames(Combo1->currentText()));
}

void Form1::open_chars(int withInventory, const std::optional<QStringList>& characters) {
  Combo2->clear();
  characterRows_.clear();
  if (!characters) {
    showFailure(status_text::charactersUnreadable(Combo1->currentText()));
    return;
  }
  fillChooser(Combo2, characterRows_, *characters);
  selectCharacterText(Combo2->itemText(0));
  if (withInventory == 1) see_inv();
}

void Form1::see_inv() {
  setStatus(status_text::scanning());
  repaintStatus();
  List1->clear();  // emptied before the key is read
  const InventorySlots loaded = readShownInventory();
  // liste.dat is looked at only when there is an item to name.
  listInventory(loaded, loaded.itemNumbers.empty() ? LoadCatalogue{} : catalogueForLoad());
}

InventorySlots Form1::readShownInventory() {
  const QString character = Combo2->currentText();
  InventorySlots loaded = gameData_.inventory(Combo1->currentText(), character);
  takeInventory(loaded, character);
  return loaded;
}

void Form1::takeInventory(const InventorySlots& loaded, const QString& character) {
  if (!loaded.opened) {
    showFailure(status_text::inventoryUnreadable(character));
    return;
  }
  itemCount = static_cast<int>(loaded.itemNumbers.size());
}

QString Form1::open_file(std::uint16_t itemNumber, const Catalogue& catalogue) const {
  return QString::fromStdU16String(catalogue.nameOf(itemNumber));
}

// Taken once per inventory load or search run. The cache builds the catalogue again only when
// liste.dat changed on disk, so a search does not read the file once per character, and a change
// still shows at the next load.
Form1::LoadCatalogue Form1::catalogueForLoad() {
  LoadCatalogue taken{catalogueCache_->current()};
  if (!taken.catalogue) taken = {std::make_shared<const Catalogue>(), true};
  return taken;
}

// List1 is a sorted list: the names appear in alphabetical order whatever the order of the
// loaded. They are sorted once and added in one go rather than inserted one by one at their
// sorted place; the window isn't repainted during a load, so the user sees the same list and
// the same final count either way.
void Form1::listInventory(const InventorySlots& loaded, const LoadCatalogue& catalogue) {
  List1->clear();
  if (!loaded.opened) return;
  QStringList names;
  names.reserve(static_cast<qsizetype>(loaded.itemNumbers.size()));
  for (const std::uint16_t number : loaded.itemNumbers) {
    names.append(open_file(number, *catalogue.catalogue));
  }
  sortLikeListBox(names);
  List1->addItems(names);
  reportLoad(static_cast<int>(loaded.itemNumbers.size()), catalogue.unreadable);
}

void Form1::reportLoad(int count, bool catalogueUnreadable) {
  if (count == 0) return;  // the status stays "Scan le registre ..."
  if (catalogueUnreadable) {
    showFailure(status_text::inventoryLoadedWithoutCatalogue(count));
  } else {
    setStatus(status_text::inventoryLoaded(Combo2->currentText(), count));
  }
}

void Form1::repaintStatusIfChanged() {
  const QColor colour = Label1->palette().color(QPalette::WindowText);
  if (statusPaintedInRun_ && Label1->text() == paintedStatusText_ &&
      colour == paintedStatusColour_) {
    return;
  }
  repaintStatus();
  statusPaintedInRun_ = true;
  paintedStatusText_ = Label1->text();
  paintedStatusColour_ = colour;
}

// --- Event handlers ---

void Form1::Combo1_Click() { open_chars(1); }

void Form1::smnu_help_Click(int index) { emit helpRequested(index); }

void Form1::Combo2_Click() { see_inv(); }

void Form1::Command1_Click() {
  if (mode_ == InventoryMode) {
    setStatus(status_text::searchingRegistry());
    see_inv();
  }
  if (mode_ == SearchMode) {
    setStatus(status_text::searching());
    repaintStatus();
    search();
  }
}

}  // namespace sacotin
