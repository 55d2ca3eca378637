#include "main_window/status_texts.h"

namespace sacotin::status_text {
namespace {

QString twoLines(const QString& first, const QString& second) { return first + QChar(13) + second; }

QString itemCountLine(int count) {
  return QStringLiteral("Vous possedez ") + QString::number(count) + QStringLiteral(" objets");
}

const QString kCatalogueUnreadable = QStringLiteral("Impossible de lire liste.dat");

}  // namespace

QString searchingRegistry() { return QStringLiteral("Searching Registery"); }

QString gameNeverInstalled() {
  return twoLines(QStringLiteral("Vous n'avez jamais installé T4c"),
                  QStringLiteral("ou ne l'avez jamais lancé"));
}

QString charactersUnreadable(const QString& account) {
  return twoLines(QStringLiteral("Impossible d'acceder aux personnages"),
                  QStringLiteral("du compte ") + account);
}

QString inventoryUnreadable(const QString& character) {
  return twoLines(QStringLiteral("Impossible d'ouvrir l'inventaire"),
                  QStringLiteral("de ") + character);
}

QString scanning() { return QStringLiteral("Scan le registre ..."); }

QString inventoryLoaded(const QString& character, int itemCount) {
  return twoLines(character, itemCountLine(itemCount));
}

QString inventoryLoadedWithoutCatalogue(int itemCount) {
  return twoLines(kCatalogueUnreadable, itemCountLine(itemCount));
}

QString readyToSearch() { return QStringLiteral("Ready to search"); }

QString searchChooserEmpty() {
  return twoLines(kCatalogueUnreadable, QStringLiteral("la liste des objets est vide"));
}

QString nothingToSearch() {
  return twoLines(QStringLiteral("Rien a chercher ..."),
                  QStringLiteral("Choisissez dans la liste"));
}

QString searching() {
  return twoLines(QStringLiteral("Recherche ..."), QStringLiteral("Patientez ..."));
}

QString searchDone(bool found) {
  const QString done = QStringLiteral("Recherche terminée");
  return found ? done : twoLines(done, QStringLiteral("Objet non trouvé"));
}

}  // namespace sacotin::status_text
