#include "support/temp_files.h"

#include <QFile>
#include <QStringList>

#include "encodings/ansi_code_page.h"

namespace sacotin::testing {

TempFiles::TempFiles() { dir_.setAutoRemove(true); }

QString TempFiles::write(const QString& name, const QByteArray& bytes) const {
  const QString path = dir_.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

QString TempFiles::writeUserReg(const QByteArray& body) const {
  return write("user.reg",
               "WINE REGISTRY Version 2\n;; All keys relative to "
               "\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win32\n" +
                   body);
}

QString TempFiles::writeCatalogue(const QStringList& lines) const {
  // The program's own converter: Qt for Windows has no named code pages.
  const std::string bytes =
      makeAnsiCodePage(1252)->encode((lines.join("\r\n") + "\r\n").toStdU16String());
  return write("liste.dat", QByteArray::fromStdString(bytes));
}

QString testDataPath(const QString& relativePath) {
  return QString(SACOTIN_TEST_DATA) + "/" + relativePath;
}

}  // namespace sacotin::testing
