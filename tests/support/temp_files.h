#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace sacotin::testing {

// A scratch folder for one test: a Wine prefix (user.reg) and a catalogue (liste.dat).
class TempFiles {
 public:
  TempFiles();

  QString path() const { return dir_.path(); }
  QString filePath(const QString& name) const { return dir_.filePath(name); }

  // Writes bytes to a file of the folder and returns its path.
  QString write(const QString& name, const QByteArray& bytes) const;

  // A user.reg: the Wine header, then the given body (sections with their values).
  QString writeUserReg(const QByteArray& body) const;

  // A liste.dat: Windows-1252 bytes, lines joined by CR LF.
  QString writeCatalogue(const QStringList& lines) const;

 private:
  QTemporaryDir dir_;
};

// The folder of test data kept in the repository (copies of real Wine output, catalogues).
QString testDataPath(const QString& relativePath);

}  // namespace sacotin::testing
