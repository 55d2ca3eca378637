// The catalogue lies in the program's folder, which may have any name: on Windows a folder
// name the ANSI code page can't write must still lead to the file (the path stays UTF-16).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "catalogue/catalogue.h"
#include "encodings/ansi_code_page.h"
#include "tests/support/read_catalogue.h"

namespace sacotin {
namespace {

class CatalogueFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / std::filesystem::path(u"sacotin-Жук-été");
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::filesystem::path folder_;
};

TEST_F(CatalogueFolder, IsFoundBehindANameTheCodePageLacks) {
  const std::filesystem::path file = folder_ / u"liste.dat";
  std::ofstream(file, std::ios::binary) << "1234\r\nNom=\xc9p\xe9\x65\r\n";
  const auto catalogue = testing::readCatalogue(file, makeAnsiCodePage(1252));
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->nameOf(1234), u"Épée");
}

}  // namespace
}  // namespace sacotin
