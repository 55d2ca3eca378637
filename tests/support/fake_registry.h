#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "registry/registry_backend.h"

namespace sacotin::testing {

// An in-memory registry hive for tests. Keys are addressed by their full path below the hive
// ("Software\Vircom\T4C\compte1"); subkeys and values enumerate in the order they were added.
// openKey matches the path exactly. Opening snapshots nothing: an open key reads the key's
// current contents.
class FakeRegistry final : public RegistryBackend {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

  // --- Any key ---
  // Creates the key and its missing parents (each new key is appended to its parent's
  // subkeys). Adding an existing key changes nothing.
  void addKey(const QString& path);
  // Appends a value (creating the key if needed); data is the raw bytes the ANSI registry
  // functions hand over.
  void addValue(const QString& keyPath, const QString& name, const QByteArray& data);
  // Removes the key, its subtree and its entry among its parent's subkeys.
  void removeKey(const QString& path);
  // Removes every value of a key.
  void clearValues(const QString& keyPath);

  // --- The game's layout: Software\Vircom\T4C\<account>\Characters\<character>\Inventory ---
  static QString accountsPath();
  static QString accountPath(const QString& account);
  static QString charactersPath(const QString& account);
  static QString inventoryPath(const QString& account, const QString& character);

  void addAccountsKey() { addKey(accountsPath()); }
  void addAccount(const QString& account) { addKey(accountPath(account)); }  // no Characters
  void addCharacter(const QString& account, const QString& character);       // no Inventory
  void addInventory(const QString& account, const QString& character) {
    addKey(inventoryPath(account, character));
  }
  // One inventory slot "ItemID<n>" (n = slots so far) holding the item number in two bytes.
  void addItem(const QString& account, const QString& character, int itemNumber);

  // --- What the program did ---
  int openCount() const { return opens_; }       // successful and failed opens
  int openKeysNow() const { return *openNow_; }  // keys opened and not yet closed
  // Called with the path of every open, before it is answered: lets a test look at the window
  // at that moment.
  std::function<void(const QString& path)> onOpen;

  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override;

 private:
  struct Key {
    std::vector<std::u16string> subkeys;  // names, in the order added
    std::vector<std::pair<std::u16string, std::string>> values;
  };
  class FakeOpenKey;

  Key& keyAt(const std::u16string& path);  // creates it and its parents

  std::map<std::u16string, Key> keys_;
  int opens_ = 0;
  std::shared_ptr<int> openNow_ = std::make_shared<int>(0);
};

// A registry to give a window: it reads `registry`, which the test keeps, to change it between
// the window's steps.
std::unique_ptr<RegistryBackend> sharedWithTest(std::shared_ptr<RegistryBackend> registry);

}  // namespace sacotin::testing
