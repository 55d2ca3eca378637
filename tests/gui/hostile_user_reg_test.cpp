// A user.reg as it may really be found: cut off by a crash or a full disk, damaged by hand
// editing, full of garbage, huge, or not a file at all. The window must never crash or hang, and
// shows either what Wine itself would load from the file or the red "never installed" text.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdio>

#include "hostile_fixture.h"
#include "support/fifo_guard.h"

namespace sacotin::testing {
namespace {

class HostileUserRegTest : public HostileWindowTest {
 protected:
  // perso1 of compte1 carries Arc and Bouclier; the file then ends with `tail`.
  void openWithTail(const QByteArray& tail) {
    writeUserRegBytes(kHeader + inventorySection("compte1", "perso1", {100, 200}) + tail);
    openWineWindow();
  }
};

TEST_F(HostileUserRegTest, FileCutInsideAKeyLineLosesOnlyThatKey) {
  openWithTail("\n[Software\\\\Vircom\\\\T4C\\\\compte1\\\\Characters\\\\perso2\\\\Inven");
  EXPECT_EQ(entries(characters()), QStringList({"perso1"}));
  EXPECT_EQ(items(), QStringList({"Arc", "Bouclier"}));
  EXPECT_EQ(status(), countStatus("perso1", 2));
  EXPECT_FALSE(statusIsRed());
}

TEST_F(HostileUserRegTest, FileCutInsideAHexByteKeepsTheDigitsRead) {
  // "2c,0": the second byte reads 0, as Wine reads it: item 44, not in the catalogue.
  openWithTail("\"ItemID9\"=hex:2c,0");
  EXPECT_EQ(unordered(items()), unordered({"Arc", "Bouclier", "** Objet non connu **   (44)"}));
  EXPECT_EQ(status(), countStatus("perso1", 3));

  // Cut on the continuation line, after one digit: that digit is the third byte.
  openWithTail("\"ItemID9\"=hex:2c,01,\\\n  2");
  EXPECT_EQ(items(), QStringList({"Arc", "Bouclier", "Casque"}));
}

TEST_F(HostileUserRegTest, FileCutInsideAnEscapeOrAHexContinuationDropsThatSlot) {
  // Wine keeps such a value without data, and a slot without data is no slot.
  for (const QByteArray& tail :
       {QByteArray("\"ItemID9\"=\"ab\\"), QByteArray("\"ItemID9\"=\"\\x"),
        QByteArray("\"ItemID9\"=hex:2c,01,\\"), QByteArray("\"ItemID9\"=hex:2c,01,\\\n"),
        QByteArray("\"ItemID9\"=he")}) {
    SCOPED_TRACE(tail.toStdString());
    openWithTail(tail);
    EXPECT_EQ(items(), QStringList({"Arc", "Bouclier"}));
    EXPECT_EQ(status(), countStatus("perso1", 2));
  }
}

TEST_F(HostileUserRegTest, UnterminatedQuotesAndBracketsAreSkipped) {
  // A value name without its closing quote is no value; a key line without its closing bracket
  // is no key, and the values under it belong to no key until the next good key line.
  openWithTail(
      "\"ItemID8=hex:2c,01\n"
      "[Software\\\\Vircom\\\\T4C\\\\compte1\\\\Characters\\\\perso1\\\\Inventory\n"
      "\"ItemID9\"=hex:2c,01\n" +
      inventorySection("compte2", "perso3", {300}));
  EXPECT_EQ(entries(accounts()), QStringList({"compte1", "compte2"}));
  EXPECT_EQ(items(), QStringList({"Arc", "Bouclier"}));
  chooseAccount(1);
  EXPECT_EQ(items(), QStringList({"Casque"}));
}

TEST_F(HostileUserRegTest, BinaryGarbageIsANeverInstalledGame) {
  QByteArray garbage(256 * 1024, '\0');
  QRandomGenerator random(20261207);
  for (char& byte : garbage) byte = static_cast<char>(random.bounded(256));
  writeUserRegBytes(garbage);
  openWineWindow();
  EXPECT_EQ(status(), neverInstalled());
  EXPECT_TRUE(statusIsRed());
  EXPECT_EQ(accounts()->count(), 0);
  EXPECT_EQ(itemList()->count(), 0);
}

TEST_F(HostileUserRegTest, GarbageLinesBetweenSectionsAreSkipped) {
  QByteArray garbage(64 * 1024, '\0');
  QRandomGenerator random(7);
  for (char& byte : garbage) {
    // Garbage without the characters that start a key, a value or an option line.
    do {
      byte = static_cast<char>(random.bounded(256));
    } while (byte == '[' || byte == '"' || byte == '@' || byte == '#');
  }
  writeUserRegBytes(kHeader + garbage + "\n" + inventorySection("compte1", "perso1", {100}) +
                    garbage + "\n" + inventorySection("compte1", "perso2", {200}));
  openWineWindow();
  EXPECT_EQ(entries(characters()), QStringList({"perso1", "perso2"}));
  EXPECT_EQ(items(), QStringList({"Arc"}));
}

TEST_F(HostileUserRegTest, NulByteEndsItsLine) {
  // What follows a NUL on its line is ignored, as Wine ignores it.
  openWithTail(raw("\"ItemID7\"=hex:d2,04\0,ff,ff garbage\n") +
               raw("[Software\\\\Vircom\\\\T4C\\\\comp\0te9\\\\Characters]\n") +
               "\"ItemID8\"=hex:2c,01\n");
  EXPECT_EQ(entries(accounts()), QStringList({"compte1"}));
  EXPECT_EQ(items(), QStringList({"Arc", "Bouclier", "Epee"}));
}

TEST_F(HostileUserRegTest, ByteOrderMarkMakesWineLoadNothing) {
  writeUserRegBytes("\xEF\xBB\xBF" + kHeader + inventorySection("compte1", "perso1", {100}));
  openWineWindow();
  EXPECT_EQ(status(), neverInstalled());
  EXPECT_TRUE(statusIsRed());
  EXPECT_EQ(accounts()->count(), 0);
}

TEST_F(HostileUserRegTest, EscapeTakesAtMostFourHexDigits) {
  // \x00e9 is é; the digits after the fourth are ordinary characters of the name.
  writeUserRegBytes(kHeader + inventorySection("\\x00e9abcdef0123456789", "perso1", {100}) +
                    inventorySection("\\x41424344", "perso2", {200}));
  openWineWindow();
  EXPECT_EQ(entries(accounts()),
            QStringList({QString::fromUtf8("éabcdef0123456789"), QString(QChar(0x4142)) + "4344"}));
  EXPECT_EQ(items(), QStringList({"Arc"}));
  chooseAccount(1);
  EXPECT_EQ(characters()->currentText(), "perso2");
  EXPECT_EQ(items(), QStringList({"Bouclier"}));
}

TEST_F(HostileUserRegTest, HugeLinesAreReadThrough) {
  // A 50 MB line (a comment), then a 5 MB string slot: the slot's first two characters make its
  // number, 'x' + 256 x 'x' = 30840.
  openWithTail(";" + QByteArray(50 << 20, '#') + "\n\"ItemID9\"=\"" + QByteArray(5 << 20, 'x') +
               "\"\n");
  EXPECT_EQ(unordered(items()), unordered({"Arc", "Bouclier", "** Objet non connu **   (30840)"}));
  EXPECT_EQ(status(), countStatus("perso1", 3));
}

TEST_F(HostileUserRegTest, TenThousandNestedKeys) {
  QByteArray deep = "Software\\\\Vircom\\\\T4C\\\\compte1\\\\Characters\\\\perso1\\\\Inventory";
  deep.reserve(deep.size() + 10000 * 4);
  for (int level = 0; level < 10000; ++level) deep += "\\\\n";
  openWithTail("\n[" + deep + "]\n\"ItemID0\"=hex:2c,01\n");
  EXPECT_EQ(items(), QStringList({"Arc", "Bouclier"}));  // values of the deep key aren't slots
}

TEST_F(HostileUserRegTest, AHundredThousandAccounts) {
  QByteArray body = kHeader;
  body.reserve(100000 * 90);
  for (int account = 0; account < 100000; ++account) {
    body += inventorySection("c" + QByteArray::number(account).rightJustified(6, '0'), "p", {100});
  }
  writeUserRegBytes(body);
  openWineWindow();
  ASSERT_EQ(accounts()->count(), 100000);
  EXPECT_EQ(accounts()->currentText(), "c000000");
  EXPECT_EQ(items(), QStringList({"Arc"}));
  EXPECT_EQ(status(), countStatus("p", 1));
  EXPECT_FALSE(statusIsRed());
}

TEST_F(HostileUserRegTest, SectionRepeatedInOtherLetterCasesIsOneKey) {
  // Wine merges the sections: the first spelling names the key, the values add up, and a value
  // named again in another case takes the later data.
  writeUserRegBytes(
      kHeader + inventorySection("Compte1", "Perso1", {100, 200}) +
      "\n[SOFTWARE\\\\vircom\\\\t4c\\\\COMPTE1\\\\characters\\\\PERSO1\\\\inventory]\n"
      "\"itemid1\"=hex:2c,01\n\"ItemID5\"=hex:d2,04\n");
  openWineWindow();
  EXPECT_EQ(entries(accounts()), QStringList({"Compte1"}));
  EXPECT_EQ(entries(characters()), QStringList({"Perso1"}));
  EXPECT_EQ(items(), QStringList({"Arc", "Casque", "Epee"}));
}

TEST_F(HostileUserRegTest, UserRegThatIsAFolderIsANeverInstalledGame) {
  ASSERT_TRUE(QDir(files.path()).mkdir("user.reg"));
  openWineWindow();
  EXPECT_EQ(status(), neverInstalled());
  EXPECT_TRUE(statusIsRed());
}

TEST_F(HostileUserRegTest, UserRegThatIsANamedPipeDoesNotBlock) {
  FifoGuard fifo(userRegPath().toStdString(), std::chrono::seconds(5));
  ASSERT_TRUE(fifo.created());
  openWineWindow();
  EXPECT_FALSE(fifo.fired()) << "the window blocked on a named pipe";
  EXPECT_EQ(status(), neverInstalled());
  clickRefresh();
  EXPECT_FALSE(fifo.fired());
}

TEST_F(HostileUserRegTest, UserRegThatIsADeviceOrALinkLoopIsANeverInstalledGame) {
  // An endless device would never finish reading; a link to itself can't be opened.
  for (const QString& target : {QString("/dev/zero"), QString("/dev/urandom"), userRegPath()}) {
    SCOPED_TRACE(target.toStdString());
    QFile::remove(userRegPath());
    ASSERT_TRUE(QFile::link(target, userRegPath()));
    openWineWindow();
    EXPECT_EQ(status(), neverInstalled());
    EXPECT_TRUE(statusIsRed());
  }
}

TEST_F(HostileUserRegTest, UnreadableUserRegIsANeverInstalledGame) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not deny reading";
  writeUserRegBytes(kHeader + inventorySection("compte1", "perso1", {100}));
  ASSERT_TRUE(QFile::setPermissions(userRegPath(), {}));
  openWineWindow();
  EXPECT_EQ(status(), neverInstalled());
}

TEST_F(HostileUserRegTest, UserRegThatFailsToReadIsANeverInstalledGame) {
  // Reading /proc/self/mem from its start fails with an I/O error, also as root.
  if (!QFile::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc on this system";
  ASSERT_TRUE(QFile::link("/proc/self/mem", userRegPath()));
  openWineWindow();
  EXPECT_EQ(status(), neverInstalled());
  EXPECT_TRUE(statusIsRed());
}

TEST_F(HostileUserRegTest, UserRegReplacedTheWayWineSavesItShowsAtTheNextAction) {
  openWithTail("");
  EXPECT_EQ(items(), QStringList({"Arc", "Bouclier"}));

  // wineserver writes a new file beside the old one and renames it over. The new one has the
  // same size and, forced here, the same modification time: only the file itself differs.
  const QFileInfo before(userRegPath());
  const QString saved =
      files.write("reg1234.tmp", kHeader + inventorySection("compte1", "perso1", {300, 200}));
  ASSERT_EQ(QFileInfo(saved).size(), before.size());
  QFile savedFile(saved);
  ASSERT_TRUE(savedFile.open(QIODevice::ReadWrite));
  ASSERT_TRUE(savedFile.setFileTime(before.lastModified(), QFileDevice::FileModificationTime));
  savedFile.close();
  ASSERT_EQ(std::rename(saved.toLocal8Bit().constData(), userRegPath().toLocal8Bit().constData()),
            0);

  clickRefresh();
  EXPECT_EQ(items(), QStringList({"Bouclier", "Casque"}));
  EXPECT_EQ(status(), countStatus("perso1", 2));
}

}  // namespace
}  // namespace sacotin::testing
