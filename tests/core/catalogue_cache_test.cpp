// Keeping liste.dat read between loads, and reading it again when it changes on disk.
#include "catalogue/catalogue_cache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>

namespace sacotin {
namespace {

namespace fs = std::filesystem;

class CatalogueCacheTest : public ::testing::Test {
 protected:
  CatalogueCacheTest() {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("sacotin-cache-" + std::to_string(random()));
    fs::create_directories(folder_);
    path_ = (folder_ / "liste.dat").string();
  }
  ~CatalogueCacheTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }
  // Sets the file's modification time to a fixed moment, as an editor restoring it would.
  void setModified(const std::string& path, int secondsAgo) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(1) +
                                  std::chrono::seconds(secondsAgo));
  }

  fs::path folder_;
  std::string path_;
  std::shared_ptr<const AnsiCodePage> codePage_ = makeAnsiCodePage(1252);
};

TEST_F(CatalogueCacheTest, AnUnchangedFileIsReadOnce) {
  write(path_, "1234\r\nNom=Epee\r\n");
  setModified(path_, 0);
  CatalogueCache cache(path_, codePage_);
  const auto first = cache.current();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->nameOf(1234), u"Epee");
  for (int load = 0; load < 5; ++load) EXPECT_EQ(cache.current(), first);
}

TEST_F(CatalogueCacheTest, AChangeOnDiskShowsAtTheNextLoad) {
  write(path_, "1234\r\nNom=Epee\r\n");
  setModified(path_, 0);
  CatalogueCache cache(path_, codePage_);
  EXPECT_EQ(cache.current()->nameOf(1234), u"Epee");

  // Another size.
  write(path_, "1234\r\nNom=Hache\r\n");
  setModified(path_, 0);
  EXPECT_EQ(cache.current()->nameOf(1234), u"Hache");

  // Same size, another modification time.
  write(path_, "1234\r\nNom=Pique\r\n");
  setModified(path_, 10);
  EXPECT_EQ(cache.current()->nameOf(1234), u"Pique");
}

TEST_F(CatalogueCacheTest, AQuickRewriteOfTheSameSizeIsNotMissed) {
  // Written twice within moments, the file may keep the same times: its contents tell.
  write(path_, "1234\r\nNom=Epee\r\n");
  CatalogueCache cache(path_, codePage_);
  EXPECT_EQ(cache.current()->nameOf(1234), u"Epee");
  write(path_, "1234\r\nNom=Arcs\r\n");
  EXPECT_EQ(cache.current()->nameOf(1234), u"Arcs");
  // Unchanged contents are not built again.
  const auto built = cache.current();
  EXPECT_EQ(cache.current(), built);
}

TEST_F(CatalogueCacheTest, AnotherFileMovedIntoPlaceIsRead) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows stamp has no file identity: size and write time only";
#endif
  // Same size and modification time: only the file's identity tells them apart.
  write(path_, "1234\r\nNom=Epee\r\n");
  setModified(path_, 0);
  CatalogueCache cache(path_, codePage_);
  EXPECT_EQ(cache.current()->nameOf(1234), u"Epee");

  const std::string other = (folder_ / "nouvelle.dat").string();
  write(other, "1234\r\nNom=Pelle\r\n");
  setModified(other, 0);
  fs::rename(other, path_);
  EXPECT_EQ(cache.current()->nameOf(1234), u"Pelle");
}

TEST_F(CatalogueCacheTest, AMissingFileGivesNothingUntilItAppears) {
  CatalogueCache cache(path_, codePage_);
  EXPECT_EQ(cache.current(), nullptr);
  EXPECT_EQ(cache.current(), nullptr);

  write(path_, "7\r\nNom=Cl\xE9\r\n");
  setModified(path_, 0);
  ASSERT_NE(cache.current(), nullptr);
  EXPECT_EQ(cache.current()->nameOf(7), u"Clé");

  fs::remove(path_);
  EXPECT_EQ(cache.current(), nullptr);
}

TEST_F(CatalogueCacheTest, AFolderInPlaceOfTheFileGivesNothing) {
  fs::create_directory(path_);
  CatalogueCache cache(path_, codePage_);
  EXPECT_EQ(cache.current(), nullptr);
}

}  // namespace
}  // namespace sacotin
