// liste.dat as users really have it: saved by odd editors, damaged, huge, or not a file at all.
// The catalogue reader must never crash or hang; what it yields is checked here.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/catalogue.h"
#include "encodings/ansi_code_page.h"
#include "tests/support/read_catalogue.h"
#include "tests/support/scratch_folder.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/fifo_guard.h"
#endif

namespace sacotin {
namespace {

using namespace std::string_literals;
using sacotin::testing::readCatalogue;
using sacotin::testing::ScratchFolder;

class HostileCatalogue : public ::testing::Test {
 protected:
  std::shared_ptr<const Catalogue> read(std::string_view bytes) {
    return readCatalogue(folder.write("liste.dat", bytes), cp1252);
  }

  ScratchFolder folder;
  std::shared_ptr<const AnsiCodePage> cp1252 = makeAnsiCodePage(1252);
};

TEST_F(HostileCatalogue, NulBytesStayInsideTheirLineAndTheRestReadsOn) {
  const auto catalogue = read(
      "12\0"
      "34\r\nNom=Cach\xE9\r\n1235\r\nNom=Ep\0ee\r\n1236\r\nNom=Hache\r\n"s);
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->nameOf(1234), Catalogue::placeholder(1234));
  EXPECT_EQ(catalogue->nameOf(1235), u"Ep\0ee"s);
  EXPECT_EQ(catalogue->nameOf(1236), u"Hache");
  EXPECT_EQ(catalogue->names().size(), 3u);
}

TEST_F(HostileCatalogue, OnlyCarriageReturnsEndLines) {
  const auto catalogue = read("1234\rNom=Ep\xE9\x65\r1235\rNom=Hache");
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->nameOf(1234), u"Ep\u00e9e");
  EXPECT_EQ(catalogue->nameOf(1235), u"Hache");
}

TEST_F(HostileCatalogue, NoLineEndAtAllIsOneLine) {
  // A number with nothing after it has no name line: the placeholder.
  EXPECT_EQ(read("1234")->nameOf(1234), Catalogue::placeholder(1234));

  const std::string oneLine = "Nom=" + std::string(4 << 20, 'x');
  const auto catalogue = read(oneLine);
  ASSERT_TRUE(catalogue);
  ASSERT_EQ(catalogue->names().size(), 1u);
  EXPECT_EQ(catalogue->names()[0].size(), std::size_t{4 << 20});
}

TEST_F(HostileCatalogue, EmptyFileNamesNothing) {
  const auto catalogue = read("");
  ASSERT_TRUE(catalogue);
  EXPECT_TRUE(catalogue->names().empty());
  EXPECT_EQ(catalogue->nameOf(0), Catalogue::placeholder(0));
}

// The sanitizer build is many times slower; it reads the same shape with fewer lines.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kHugeCatalogueEntries = 500'000;
#else
constexpr int kHugeCatalogueEntries = 2'500'000;
#endif

TEST_F(HostileCatalogue, FiveMillionLinesAreAllRead) {
  constexpr int kEntries = kHugeCatalogueEntries;  // two lines each
  const std::string entry = "7\r\nNom=a\r\n";
  std::string bytes;
  bytes.reserve(entry.size() * kEntries + 32);
  for (int i = 0; i < kEntries; ++i) {
    bytes += (i == kEntries / 2) ? "1234\r\nNom=b\r\n" : entry;
  }
  const auto catalogue = read(bytes);
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->names().size(), std::size_t{kEntries});
  EXPECT_EQ(catalogue->nameOf(1234), u"b");
  EXPECT_EQ(catalogue->nameOf(7), u"a");
}

TEST_F(HostileCatalogue, TruncatedDoubleByteCharacterDoesNotBreakTheRest) {
  const auto catalogue = readCatalogue(
      folder.write("liste.dat", "1234\r\nNom=\x82\xA0\r\n1235\r\nNom=\x82"), makeAnsiCodePage(932));
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->names().size(), 2u);
  EXPECT_FALSE(catalogue->nameOf(1234).empty());
}

TEST_F(HostileCatalogue, FolderNamedLikeTheCatalogueIsNoCatalogue) {
  std::filesystem::create_directory(folder.path() / "liste.dat");
  EXPECT_FALSE(readCatalogue(folder.path() / "liste.dat", cp1252));
}

TEST_F(HostileCatalogue, MissingFileIsNoCatalogue) {
  EXPECT_FALSE(readCatalogue(folder.path() / "liste.dat", cp1252));
}

TEST_F(HostileCatalogue, ReplacedFileIsReadAfresh) {
  // Editors and installers write a new file and rename it over the old one.
  const auto path = folder.write("liste.dat", "1234\r\nNom=Epee\r\n");
  EXPECT_EQ(readCatalogue(path, cp1252)->nameOf(1234), u"Epee");
  std::filesystem::rename(folder.write("liste.tmp", "1234\r\nNom=Hache\r\n"), path);
  EXPECT_EQ(readCatalogue(path, cp1252)->nameOf(1234), u"Hache");
}

#ifndef _WIN32
TEST_F(HostileCatalogue, NamedPipeDoesNotBlock) {
  const auto path = folder.path() / "liste.dat";
  sacotin::testing::FifoGuard fifo(path, std::chrono::seconds(5));
  ASSERT_TRUE(fifo.created());
  EXPECT_FALSE(readCatalogue(path, cp1252));
  EXPECT_FALSE(fifo.fired()) << "the reader blocked on a named pipe";
}

TEST_F(HostileCatalogue, UnreadableFileIsNoCatalogue) {
  if (geteuid() == 0) GTEST_SKIP() << "running as root: file permissions do not deny reading";
  const auto path = folder.write("liste.dat", "1234\r\nNom=Epee\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  EXPECT_FALSE(readCatalogue(path, cp1252));
}

TEST_F(HostileCatalogue, ReadErrorIsNoCatalogueAndNoCrash) {
  // Reading /proc/self/mem from its start fails with an I/O error, as a failing disk or a lost
  // network share does; unlike permissions, that also holds when the tests run as root.
  if (!std::filesystem::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc on this system";
  const auto path = folder.path() / "liste.dat";
  std::filesystem::create_symlink("/proc/self/mem", path);
  EXPECT_FALSE(readCatalogue(path, cp1252));
}
#endif

}  // namespace
}  // namespace sacotin
