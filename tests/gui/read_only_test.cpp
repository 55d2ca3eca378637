// Sacotin writes nothing, anywhere. A player's whole session (start-up, every account and
// character, a search, the Help and About windows) runs in a separate process with empty home,
// XDG, runtime and temporary folders; afterwards the Wine prefix, the program's folder and all
// those folders must hold exactly what they held before, byte for byte.
//
// Qt itself writes in two cases the session avoids the way a desktop session does: without
// XDG_RUNTIME_DIR it creates $TMPDIR/runtime-<user> at start-up (so the session gets a private
// runtime folder, watched like the others), and fontconfig fills ~/.cache/fontconfig when the
// system's font caches are out of date (they are kept current by the system's packages; the
// cache folder is watched too, so a machine where that happens fails here and says so).
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

namespace sacotin::testing {
namespace {

// What a folder holds: for every entry below it, its kind, permissions, size, modification
// time and (for files) a hash of its bytes.
QMap<QString, QString> snapshot(const QString& folder) {
  QMap<QString, QString> entries;
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QFileInfo info(path);
    QString description = info.isDir() ? "folder" : info.isSymLink() ? "link" : "file";
    description += QString(" perms=%1 size=%2 mtime=%3")
                       .arg(int(info.permissions()))
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch());
    if (info.isFile()) {
      QFile file(path);
      if (file.open(QIODevice::ReadOnly)) {
        description += " sha256=" +
                       QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
      }
    }
    entries.insert(QDir(folder).relativeFilePath(path), description);
  }
  return entries;
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Accounts and characters the prefix's user.reg holds, counted from its section lines.
std::pair<int, int> accountsAndCharacters(const QByteArray& userReg) {
  // A name runs to the next separator (two backslashes) or the closing bracket; a backslash
  // followed by another character is an escape inside the name.
  const QString name = R"(((?:\\[^\\]|[^\]\\])+))";
  const QRegularExpression section(
      R"(^\[Software\\\\Vircom\\\\T4C\\\\)" + name + R"((\\\\Characters\\\\)" + name + ")?",
      QRegularExpression::MultilineOption);
  QSet<QByteArray> accounts;
  QSet<QByteArray> characters;
  for (auto it = section.globalMatch(QString::fromLatin1(userReg)); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    accounts.insert(match.captured(1).toLatin1());
    if (!match.captured(3).isEmpty())
      characters.insert((match.captured(1) + "/" + match.captured(3)).toLatin1());
  }
  return {int(accounts.size()), int(characters.size())};
}

// The counts the driver printed ("accounts 3" ...).
QMap<QString, int> countsPrinted(const QByteArray& output) {
  QMap<QString, int> counts;
  for (const QByteArray& line : output.split('\n')) {
    const QList<QByteArray> words = line.split(' ');
    if (words.size() == 2) counts.insert(QString::fromLatin1(words[0]), words[1].toInt());
  }
  return counts;
}

class ReadOnlyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    for (const char* name : {"prefix/drive_c/windows", "program", "home", "config", "cache", "data",
                             "state", "runtime", "tmp"}) {
      ASSERT_TRUE(QDir(root.path()).mkpath(name));
    }
    // Qt checks that the runtime folder is private to the user, as a session's is.
    QFile::setPermissions(folder("runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // The demo prefix and catalogue, and the program copied into a folder of its own, so that
    // its folder holds nothing but itself and liste.dat.
    const QString demo = QDir::cleanPath(QString(SACOTIN_TEST_DATA) + "/../../demo");
    ASSERT_TRUE(QFile::copy(demo + "/wine-prefix/user.reg", folder("prefix") + "/user.reg"));
    ASSERT_TRUE(QFile::copy(demo + "/liste.dat", folder("program") + "/liste.dat"));
    QFile(folder("prefix") + "/system.reg").open(QIODevice::WriteOnly);
#ifdef SACOTIN_READ_ONLY_DRIVER
    program = folder("program") + "/Sacotin";
    ASSERT_TRUE(QFile::copy(SACOTIN_READ_ONLY_DRIVER, program));
#endif
  }

  QString folder(const QString& name) const { return root.filePath(name); }

  QProcessEnvironment playerEnvironment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS",
                                 "LC_ALL", "LC_CTYPE", "QT_LOGGING_CONF"}) {
      environment.remove(variable);
    }
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LANG", "fr_FR.UTF-8");
    environment.insert("WINEPREFIX", folder("prefix"));
    environment.insert("HOME", folder("home"));
    environment.insert("XDG_CONFIG_HOME", folder("config"));
    environment.insert("XDG_CACHE_HOME", folder("cache"));
    environment.insert("XDG_DATA_HOME", folder("data"));
    environment.insert("XDG_STATE_HOME", folder("state"));
    environment.insert("XDG_RUNTIME_DIR", folder("runtime"));
    environment.insert("TMPDIR", folder("tmp"));
    return environment;
  }

  QTemporaryDir root;
  QString program;
};

TEST_F(ReadOnlyTest, AWholeSessionChangesNoFileAnywhere) {
#ifndef SACOTIN_READ_ONLY_DRIVER
  GTEST_SKIP() << "the session driver is not part of this build";
#else
  const QMap<QString, QString> before = snapshot(root.path());
  const QByteArray userRegBefore = contents(folder("prefix") + "/user.reg");
  const QByteArray catalogueBefore = contents(folder("program") + "/liste.dat");

  QProcess session;
  session.setProcessEnvironment(playerEnvironment());
  session.setWorkingDirectory(folder("home"));
  session.start(program, {});
  ASSERT_TRUE(session.waitForStarted(10000)) << session.errorString().toStdString();
  const bool finished = session.waitForFinished(60000);
  if (!finished) session.kill();
  ASSERT_TRUE(finished) << "the session did not end";
  ASSERT_EQ(session.exitStatus(), QProcess::NormalExit)
      << session.readAllStandardError().toStdString();
  ASSERT_EQ(session.exitCode(), 0) << session.readAllStandardError().toStdString();

  // The session really went through every step.
  const QMap<QString, int> counts = countsPrinted(session.readAllStandardOutput());
  const auto [accounts, characters] = accountsAndCharacters(userRegBefore);
  ASSERT_GT(accounts, 1);
  EXPECT_EQ(counts.value("accounts"), accounts);
  EXPECT_EQ(counts.value("characters"), characters);
  EXPECT_GT(counts.value("items"), 0);
  EXPECT_GT(counts.value("names"), 0);
  EXPECT_EQ(counts.value("dialogs"), 2);

  EXPECT_EQ(contents(folder("prefix") + "/user.reg"), userRegBefore);
  EXPECT_EQ(contents(folder("program") + "/liste.dat"), catalogueBefore);
  const QMap<QString, QString> after = snapshot(root.path());
  for (auto it = after.cbegin(); it != after.cend(); ++it) {
    EXPECT_EQ(before.value(it.key(), "(absent)"), it.value()) << it.key().toStdString();
  }
  for (auto it = before.cbegin(); it != before.cend(); ++it) {
    EXPECT_TRUE(after.contains(it.key())) << "removed: " << it.key().toStdString();
  }
#endif
}

}  // namespace
}  // namespace sacotin::testing
