#pragma once

#include <QColor>
#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

#include "catalogue/catalogue.h"
#include "catalogue/catalogue_cache.h"
#include "encodings/ansi_code_page.h"
#include "game_data/account_read.h"
#include "game_data/game_data.h"
#include "registry/registry_backend.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace sacotin {

class CrLabel;

// Where the main window reads its data from: the window is given the registry.
struct Form1Sources {
  std::unique_ptr<RegistryBackend> registry;
  std::shared_ptr<const AnsiCodePage> codePage;
  QString cataloguePath;  // liste.dat
  // liste.dat as already read (or being read); null: the window reads cataloguePath itself.
  std::shared_ptr<CatalogueCache> catalogue = nullptr;
};

// The main window. In inventory mode it lists the accounts, the characters of the chosen account
// and the items of the chosen character; in search mode it finds every character carrying one
// item. Creating it runs the start-up sequence (accounts, first account, first character).
class Form1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit Form1(Form1Sources sources, QWidget* parent = nullptr);
  ~Form1() override;

  enum Mode { InventoryMode = 1, SearchMode = 2 };
  Mode mode() const { return mode_; }

  // --- The window's behaviour, one method per step ---
  void Form_Load();
  void open_compte();
  // Lists the characters of the account shown in Combo1, read from the registry or, in a search
  // run, already read on its second thread.
  void open_chars(int withInventory);
  void open_chars(int withInventory, const std::optional<QStringList>& characters);
  void see_inv();
  QString open_file(std::uint16_t itemNumber, const Catalogue& catalogue) const;
  // Fills the search chooser; false when liste.dat can't be read (the chooser is then empty).
  bool load_search();
  void search();

  // --- Event handlers ---
  void Combo1_Click();  // the user chose an account
  void Combo2_Click();  // the user chose a character
  void Command1_Click();
  void mnu_recherche_Click();
  void mnu_inv_Click();
  void smnu_help_Click(int index);

 signals:
  // The "?" menu's item `index` was chosen: 0 asks for the Help window, 1 for the About window.
  void helpRequested(int index);

 private:
  void buildLayout();
  void buildMenus();
  void setStatus(const QString& text);
  void showFailure(const QString& text);
  void repaintStatus();
  // Selecting an entry from code (setting a chooser's text) never runs the chooser's choice
  // behaviour; see the definitions for why.
  void selectAccountText(const QString& text);
  void selectCharacterText(const QString& text);

  // --- One inventory load, as a choice and a search run both make it ---
  // An inventory read for the shown character: its item count kept, or a red status line when
  // its key couldn't be opened.
  void takeInventory(const InventorySlots& loaded, const QString& character);
  // Reads and takes the shown character's inventory (of the account shown in Combo1).
  InventorySlots readShownInventory();
  // The catalogue a load or a search run names items with: liste.dat as it is now, or an empty
  // catalogue (every item gets its placeholder name) when it can't be read.
  struct LoadCatalogue {
    std::shared_ptr<const Catalogue> catalogue;
    bool unreadable = false;
  };
  LoadCatalogue catalogueForLoad();
  // Lists the loaded slots' names in List1 and reports the load in the status line.
  void listInventory(const InventorySlots& loaded, const LoadCatalogue& catalogue);
  // The status line after a load of `count` slots (an empty inventory leaves it as it was).
  void reportLoad(int count, bool catalogueUnreadable);

  // The registry the window reads; lent to a search run's second thread for the run.
  GameData gameData_;

  // Main window state
  Mode mode_ = InventoryMode;
  int itemCount = 0;
  QString savedAccount;
  QString savedCharacter;
  // liste.dat, read again only when it changes on disk.
  std::shared_ptr<CatalogueCache> catalogueCache_;
  // Row of the first entry with a given text in Combo1 / Combo2, kept with their lists so that
  // selecting by text stays quick with tens of thousands of entries.
  QHash<QString, int> accountRows_;
  QHash<QString, int> characterRows_;

  // --- Search mode helpers (search_mode.cpp) ---
  // During a search run nothing else paints the window: the status line is painted only when
  // its text or colour differs from what the run painted last.
  void repaintStatusIfChanged();
  bool statusPaintedInRun_ = false;
  QString paintedStatusText_;
  QColor paintedStatusColour_;

 public:
  // --- Controls, named as the tests and the layout name them ---
  QFrame* Frame1[2] = {};
  QFrame* Frame2 = nullptr;
  QFrame* Frame3 = nullptr;
  QFrame* Frame5 = nullptr;
  QComboBox* Combo1 = nullptr;
  QComboBox* Combo2 = nullptr;
  QListWidget* List1 = nullptr;
  CrLabel* Label1 = nullptr;
  QPushButton* Command1 = nullptr;
  QLabel* Label5 = nullptr;
  QComboBox* Combo3 = nullptr;
  QLineEdit* Text1 = nullptr;
  QListWidget* List2 = nullptr;
  QAction* mnu_inv = nullptr;
  QAction* mnu_recherche = nullptr;
  QMenu* mnu_help = nullptr;
  QAction* smnu_help[2] = {};
};

}  // namespace sacotin
