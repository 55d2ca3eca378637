// liste.dat as players may really have it: saved by odd editors, damaged, huge, or not a file at
// all. The window must never crash or hang: items get their names where the file still gives
// them, the placeholder otherwise, and a catalogue that can't be read at all is reported in red.
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "catalogue/catalogue_cache.h"
#include "hostile_fixture.h"
#include "support/fifo_guard.h"

namespace sacotin::testing {
namespace {

class HostileListeDatTest : public HostileWindowTest {
 protected:
  // perso1 of compte1 carries the items 100 and 1234.
  void SetUp() override {
    HostileWindowTest::SetUp();
    writeUserRegBytes(kHeader + inventorySection("compte1", "perso1", {100, 1234}));
  }

  void writeListeDat(const QByteArray& bytes) { files.write("liste.dat", bytes); }

  QString unreadable(int count) const {
    return QString("Impossible de lire liste.dat") + CR + "Vous possedez " +
           QString::number(count) + " objets";
  }

  void enterSearchMode() { window->findChild<QAction*>("mnu_recherche")->trigger(); }
  QComboBox* searchChooser() const { return control<QComboBox>("Combo3"); }
};

TEST_F(HostileListeDatTest, Utf8FileWithByteOrderMarkNamesEveryItem) {
  // What a Linux editor or today's Notepad saves: the mark is dropped, names read as UTF-8.
  writeListeDat(
      "\xEF\xBB\xBF"
      "100\r\nNom=Arc\r\n1234\r\nNom=Ep\xC3\xA9\x65\r\n");
  openWineWindow();
  EXPECT_EQ(unordered(items()), unordered({"Arc", QString::fromUtf8("Epée")}));
  EXPECT_EQ(status(), countStatus("perso1", 2));
  EXPECT_FALSE(statusIsRed());
}

TEST_F(HostileListeDatTest, NulBytesSpoilOnlyTheirOwnLine) {
  writeListeDat(
      raw("1\0"
          "00\r\nNom=Arc\r\n1234\r\nNom=Epee\r\n"));
  openWineWindow();
  EXPECT_EQ(unordered(items()), unordered({"** Objet non connu **   (100)", "Epee"}));
}

TEST_F(HostileListeDatTest, OnlyCarriageReturnsEndLines) {
  writeListeDat("100\rNom=Arc\r1234\rNom=Epee");
  openWineWindow();
  EXPECT_EQ(items(), QStringList({"Arc", "Epee"}));
  EXPECT_EQ(status(), countStatus("perso1", 2));
}

TEST_F(HostileListeDatTest, NoLineEndAtAllNamesNothing) {
  writeListeDat("100Nom=Arc1234Nom=Epee");
  openWineWindow();
  EXPECT_EQ(unordered(items()),
            unordered({"** Objet non connu **   (100)", "** Objet non connu **   (1234)"}));
  EXPECT_EQ(status(), countStatus("perso1", 2));
}

TEST_F(HostileListeDatTest, FiveMillionLines) {
#if defined(__SANITIZE_ADDRESS__)
  constexpr int kEntries = 500'000;  // the sanitizer build is many times slower
#else
  constexpr int kEntries = 2'500'000;  // two lines each
#endif
  QByteArray bytes;
  bytes.reserve(kEntries * 10 + 64);
  for (int entry = 0; entry < kEntries; ++entry) {
    bytes += entry == kEntries / 2 ? "1234\r\nNom=Epee\r\n" : "7\r\nNom=a\r\n";
  }
  bytes += "100\r\nNom=Arc\r\n";
  writeListeDat(bytes);
  openWineWindow();
  EXPECT_EQ(items(), QStringList({"Arc", "Epee"}));
  EXPECT_EQ(status(), countStatus("perso1", 2));
}

TEST_F(HostileListeDatTest, FolderIsReportedInRed) {
  ASSERT_TRUE(QFile::remove(cataloguePath()));
  ASSERT_TRUE(QDir(files.path()).mkdir("liste.dat"));
  openWineWindow();
  EXPECT_EQ(unordered(items()),
            unordered({"** Objet non connu **   (100)", "** Objet non connu **   (1234)"}));
  EXPECT_EQ(status(), unreadable(2));
  EXPECT_TRUE(statusIsRed());

  enterSearchMode();
  EXPECT_EQ(searchChooser()->count(), 0);
  EXPECT_EQ(status(),
            QString("Impossible de lire liste.dat") + CR + "la liste des objets est vide");
}

TEST_F(HostileListeDatTest, FileOverTheSizeBoundIsReportedInRed) {
  QFile file(cataloguePath());
  ASSERT_TRUE(file.resize(CatalogueCache::kMaxFileSize + 1));  // sparse: refused before reading
  openWineWindow();
  EXPECT_EQ(status(), unreadable(2));
  EXPECT_TRUE(statusIsRed());
}

TEST_F(HostileListeDatTest, NamedPipeDoesNotBlockAndIsReportedInRed) {
  QFile::remove(cataloguePath());
  FifoGuard fifo(cataloguePath().toStdString(), std::chrono::seconds(5));
  ASSERT_TRUE(fifo.created());
  openWineWindow();
  EXPECT_EQ(status(), unreadable(2));
  EXPECT_TRUE(statusIsRed());
  enterSearchMode();
  EXPECT_EQ(searchChooser()->count(), 0);
  EXPECT_FALSE(fifo.fired()) << "the window blocked on a named pipe";
}

TEST_F(HostileListeDatTest, DeviceOrLinkLoopIsReportedInRed) {
  // An endless device would never finish reading; a link to itself can't be opened.
  for (const QString& target : {QString("/dev/zero"), QString("/dev/urandom"), cataloguePath()}) {
    SCOPED_TRACE(target.toStdString());
    QFile::remove(cataloguePath());
    ASSERT_TRUE(QFile::link(target, cataloguePath()));
    openWineWindow();
    EXPECT_EQ(status(), unreadable(2));
    EXPECT_TRUE(statusIsRed());
  }
}

TEST_F(HostileListeDatTest, FileSavedAsUtf16NamesNothing) {
  // Every other byte is NUL: no line equals a number any more.
  const QString text = "100\r\nNom=Arc\r\n1234\r\nNom=Epee\r\n";
  writeListeDat(
      QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2).prepend("\xFF\xFE"));
  openWineWindow();
  EXPECT_EQ(unordered(items()),
            unordered({"** Objet non connu **   (100)", "** Objet non connu **   (1234)"}));
  EXPECT_EQ(status(), countStatus("perso1", 2));
}

TEST_F(HostileListeDatTest, UnreadableFileIsReportedInRed) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not deny reading";
  ASSERT_TRUE(QFile::setPermissions(cataloguePath(), {}));
  openWineWindow();
  EXPECT_EQ(status(), unreadable(2));
}

TEST_F(HostileListeDatTest, ReadErrorIsReportedInRed) {
  // Reading /proc/self/mem from its start fails with an I/O error, as a failing disk or a lost
  // network share does; unlike permissions, that also holds when the tests run as root.
  if (!QFile::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc on this system";
  QFile::remove(cataloguePath());
  ASSERT_TRUE(QFile::link("/proc/self/mem", cataloguePath()));
  openWineWindow();
  EXPECT_EQ(status(), unreadable(2));
  EXPECT_TRUE(statusIsRed());
  enterSearchMode();
  EXPECT_EQ(searchChooser()->count(), 0);
}

TEST_F(HostileListeDatTest, FileReplacedByARenameShowsAtTheNextAction) {
  openWineWindow();
  EXPECT_EQ(items(), QStringList({"Arc", "Epee"}));

  // Same size, same modification time: only the file itself differs.
  const QFileInfo before(cataloguePath());
  const QString edited = files.write(
      "liste.tmp",
      QByteArray(
          "100\r\nNom=Arc\r\n200\r\nNom=Bouclier\r\n300\r\nNom=Casque\r\n1234\r\nNom=Dard\r\n"));
  ASSERT_EQ(QFileInfo(edited).size(), before.size());
  QFile editedFile(edited);
  ASSERT_TRUE(editedFile.open(QIODevice::ReadWrite));
  ASSERT_TRUE(editedFile.setFileTime(before.lastModified(), QFileDevice::FileModificationTime));
  editedFile.close();
  ASSERT_EQ(
      std::rename(edited.toLocal8Bit().constData(), cataloguePath().toLocal8Bit().constData()), 0);

  clickRefresh();
  EXPECT_EQ(items(), QStringList({"Arc", "Dard"}));
  enterSearchMode();
  EXPECT_NE(searchChooser()->findText("Dard"), -1);
  EXPECT_EQ(searchChooser()->findText("Epee"), -1);
}

}  // namespace
}  // namespace sacotin::testing
