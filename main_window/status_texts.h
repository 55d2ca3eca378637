#pragma once

#include <QString>

// Every text the main window's status line shows. A text of two lines has a carriage return
// between them.
namespace sacotin::status_text {

QString searchingRegistry();                           // "Searching Registery"
QString gameNeverInstalled();                          // no game key
QString charactersUnreadable(const QString& account);  // an account's characters
QString inventoryUnreadable(const QString& character);
QString scanning();  // before each inventory load
// After a load: the character and its item count; with liste.dat unreadable, that reason first.
QString inventoryLoaded(const QString& character, int itemCount);
QString inventoryLoadedWithoutCatalogue(int itemCount);

QString readyToSearch();
QString searchChooserEmpty();  // liste.dat unreadable when entering search mode
QString nothingToSearch();
QString searching();
QString searchDone(bool found);

}  // namespace sacotin::status_text
