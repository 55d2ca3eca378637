// Search mode: find every character of every account that carries one item.
//
// The search frame (Frame5) takes the place of the inventory frame (Frame1(1)). A run selects
// each account and each character in the inventory choosers in turn, takes that character's
// inventory as the inventory load does (same keys, status texts and colour) and counts the
// entries shown under the chosen text. The keys are read ahead of that, account by account, on a
// second thread (AccountsReader), to which the window lends its registry for the run.
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QListWidget>
#include <QPushButton>

#include "game_data/accounts_reader.h"
#include "main_window/form1.h"
#include "main_window/list_box_order.h"
#include "main_window/status_texts.h"

namespace sacotin {
namespace {

// Whether selecting `text` from code found an entry of the chooser with exactly that text.
bool isSelected(const QComboBox* chooser, const QString& text) {
  return chooser->currentIndex() >= 0 && chooser->currentText() == text;
}

}  // namespace

void Form1::mnu_recherche_Click() {
  savedAccount = Combo1->currentText();
  savedCharacter = Combo2->currentText();
  const bool namesListed = load_search();
  Frame1[1]->hide();
  Frame5->show();
  // When liste.dat could not be read, load_search has already put its red message in the status
  // line; it stays there instead of "Ready to search", so the user sees why the chooser is empty.
  if (namesListed) setStatus(status_text::readyToSearch());
  Command1->setText(QStringLiteral("Rechercher"));
  mode_ = SearchMode;
  mnu_recherche->setVisible(false);
  mnu_inv->setVisible(true);
  Combo3->setFocus();  // the first control of the search view
}

void Form1::mnu_inv_Click() {
  Frame1[1]->show();
  Frame5->hide();
  // A run has left other accounts and characters in the choosers: leaving replays the user's own
  // choice of the saved account, then of the saved character (see selectAccountText). A text that
  // is no entry of its chooser (nothing was shown on entering) is none the user could choose.
  selectAccountText(savedAccount);
  if (isSelected(Combo1, savedAccount)) Combo1_Click();
  selectCharacterText(savedCharacter);
  if (isSelected(Combo2, savedCharacter)) Combo2_Click();
  setStatus(status_text::inventoryLoaded(Combo2->currentText(), itemCount));
  Command1->setText(QStringLiteral("Rafraichir"));
  mode_ = InventoryMode;
  mnu_recherche->setVisible(true);
  mnu_inv->setVisible(false);
  List1->setFocus();  // the first control of the inventory view
}

// Fills the search chooser with every name of liste.dat, read once. The counter is a plain int:
// a catalogue of more than 32,767 names is listed whole. When liste.dat is missing or can't be
// read, the chooser stays empty and the status line says so in red (the user can still type a
// name, for instance a placeholder name, and search for it).
bool Form1::load_search() {
  Combo3->clear();
  Combo3->clearEditText();
  const std::shared_ptr<const Catalogue> catalogue = catalogueCache_->current();
  if (!catalogue) {
    showFailure(status_text::searchChooserEmpty());
    return false;
  }
  const std::vector<std::u16string> catalogueNames = catalogue->names();
  QStringList names;
  names.reserve(static_cast<qsizetype>(catalogueNames.size()));
  for (const std::u16string& name : catalogueNames) names.append(QString::fromStdU16String(name));
  // Alphabetical like the inventory list; equal names stay, each as often as the file has it.
  sortLikeListBox(names);
  // One insertion for the whole list: the chooser lays itself out once, not once per name.
  Combo3->addItems(names);
  // Adding to an empty chooser selects its first entry; the chooser starts without a text.
  Combo3->setCurrentIndex(-1);
  Combo3->clearEditText();
  return true;
}

// Loads every character of every account and lists one line "account : character" per
// inventory entry whose name is exactly the chosen text. The names are compared through their
// item numbers: the catalogue gives, once for the run, every item number shown under the chosen
// text (placeholder names included), and each inventory is read for its item numbers only. Only
// the last character visited is listed in the (hidden) inventory list, as the run leaves it; the
// others would only be listed to be cleared again, unseen. The counters are plain ints, so
// choosers and lists longer than 32,767 entries are walked whole.
void Form1::search() {
  const QString wanted = Combo3->currentText();
  if (wanted.isEmpty()) {
    setStatus(status_text::nothingToSearch());
    return;
  }
  List2->clear();
  // Both files may have changed since the last action. A second thread brings the registry up to
  // date and reads the accounts one after the other, while this one reads liste.dat, then shows
  // each account as soon as it is read, as the inventory choosers would show it.
  QStringList accounts;
  const int accountCount = Combo1->count();
  accounts.reserve(accountCount);
  for (int account = 0; account < accountCount; ++account) accounts << Combo1->itemText(account);
  AccountsReader reader(std::move(gameData_), accounts);
  const LoadCatalogue catalogue = catalogueForLoad();
  std::vector<bool> wantedNumbers(65536, false);
  for (const std::uint16_t number :
       catalogue.catalogue->itemNumbersNamed(wanted.toStdU16String())) {
    wantedNumbers[number] = true;
  }

  statusPaintedInRun_ = false;
  QStringList results;
  std::optional<InventorySlots> lastVisited;
  for (const QString& account : accounts) {
    AccountRead read = reader.next();
    selectAccountText(account);
    open_chars(2, read.characters);
    const int characterCount = Combo2->count();
    for (int character = 0; character < characterCount; ++character) {
      selectCharacterText(Combo2->itemText(character));
      setStatus(status_text::scanning());
      repaintStatusIfChanged();
      lastVisited = std::move(read.inventories[static_cast<std::size_t>(character)]);
      takeInventory(*lastVisited, Combo2->currentText());
      // Only a failure shows in the status line before the run ends.
      if (lastVisited->opened && catalogue.unreadable) reportLoad(itemCount, true);
      for (const std::uint16_t number : lastVisited->itemNumbers) {
        if (wantedNumbers[number]) {
          results.append(Combo1->currentText() + QStringLiteral(" : ") + Combo2->currentText());
        }
      }
    }
  }
  gameData_ = reader.finish();
  List2->addItems(results);
  if (lastVisited) listInventory(*lastVisited, catalogue);
  setStatus(status_text::searchDone(List2->count() > 0));
}

}  // namespace sacotin
