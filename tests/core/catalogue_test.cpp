// Looking items up in liste.dat and scanning its names.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "encodings/ansi_code_page.h"
#include "tests/support/read_catalogue.h"

namespace sacotin {
namespace {

const std::u16string kUnknown1234 = u"** Objet non connu **   (1234)";

// The catalogue of a file with these lines, each ended by a line feed.
Catalogue catalogueOf(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (const std::u16string& line : lines) text.append(line).push_back(u'\n');
  return Catalogue(std::move(text));
}

std::u16string nameIn(const std::vector<std::u16string>& lines, std::uint16_t number) {
  return catalogueOf(lines).nameOf(number);
}

TEST(CatalogueLookup, NameLineAfterTheNumberLine) {
  EXPECT_EQ(nameIn({u"1234", u"Nom=Epee"}, 1234), u"Epee");
  // The first four characters are dropped whatever they are.
  EXPECT_EQ(nameIn({u"1234", u"Name=Epee"}, 1234), u"=Epee");
  EXPECT_EQ(nameIn({u"1233", u"Nom=Arc", u"1234", u"Nom=Epee", u"1235", u"Nom=Casque"}, 1234),
            u"Epee");
}

TEST(CatalogueLookup, TheLastMatchWins) {
  EXPECT_EQ(nameIn({u"1234", u"Nom=Epee", u"1234", u"Nom=Hache"}, 1234), u"Hache");
  // A later match followed by an empty line takes the name away again.
  EXPECT_EQ(nameIn({u"1234", u"Nom=Epee", u"1234", u""}, 1234), kUnknown1234);
  // ... and a still later one gives it back.
  EXPECT_EQ(nameIn({u"1234", u"", u"1234", u"Nom=Hache"}, 1234), u"Hache");
}

TEST(CatalogueLookup, TheNameLineIsNeverComparedItself) {
  // The second 1234 is the first one's name line; the third is a new match.
  EXPECT_EQ(nameIn({u"1234", u"1234"}, 1234), u"");  // "1234" minus four characters
  EXPECT_EQ(nameIn({u"1234", u"1234", u"Nom=Epee"}, 1234), u"");
  EXPECT_EQ(nameIn({u"1234", u"1234", u"1234", u"Nom=Epee"}, 1234), u"Epee");
  EXPECT_EQ(nameIn({u"1234", u"123456", u"1234", u"Nom=Epee"}, 1234), u"Epee");
  EXPECT_EQ(nameIn({u"7", u"1234", u"Nom=Epee"}, 7), u"");  // "1234" minus four characters
}

TEST(CatalogueLookup, OnlyTheExactNumberTextMatches) {
  EXPECT_EQ(nameIn({u"01234", u"Nom=Epee"}, 1234), kUnknown1234);
  EXPECT_EQ(nameIn({u" 1234", u"Nom=Epee"}, 1234), kUnknown1234);
  EXPECT_EQ(nameIn({u"1234 ", u"Nom=Epee"}, 1234), kUnknown1234);
  EXPECT_EQ(nameIn({u"Nom=Epee"}, 1234), kUnknown1234);
}

TEST(CatalogueLookup, ItemsWithoutNameGetThePlaceholder) {
  EXPECT_EQ(nameIn({}, 1234), kUnknown1234);
  EXPECT_EQ(nameIn({u"1235", u"Nom=Arc"}, 1234), kUnknown1234);
  EXPECT_EQ(nameIn({u"1234", u""}, 1234), kUnknown1234);
  EXPECT_EQ(Catalogue::placeholder(0), u"** Objet non connu **   (0)");
}

TEST(CatalogueLookup, AMatchOnTheLastLineHasNoNameLine) {
  EXPECT_EQ(nameIn({u"1234"}, 1234), kUnknown1234);
  EXPECT_EQ(nameIn({u"1234", u"Nom=Epee", u"1234"}, 1234), kUnknown1234);
}

TEST(CatalogueLookup, ShortNameLinesGiveAnEmptyName) {
  EXPECT_EQ(nameIn({u"1234", u"Nom="}, 1234), u"");
  EXPECT_EQ(nameIn({u"1234", u"No"}, 1234), u"");
  EXPECT_EQ(nameIn({u"1234", u"N"}, 1234), u"");
  EXPECT_EQ(nameIn({u"1234", u"Nom=x"}, 1234), u"x");
}

TEST(CatalogueLookup, ItemNumbersShownUnderAName) {
  const Catalogue catalogue = catalogueOf(
      {u"1", u"Nom=Arc",   u"2",     u"Nom=Arc",   u"01", u"Nom=Hache",
       u"3", u"Nom=Hache", u"3",     u"Nom=Epee",  u"4",  u"",
       u"5", u"Nom",       u"65536", u"Nom=Arc",   u"6",  u"Nom=** Objet non connu **   (7)",
       u"8", u"Nom=",      u"9",     u"Nom=Arcade"});
  struct Case {
    std::u16string name;
    std::vector<std::uint16_t> numbers;
  };
  const Case cases[] = {
      {u"Arc", {1, 2}},  // "65536" is no item number text
      {u"Hache", {}},    // "01" never matches, and 3's last name line wins
      {u"Epee", {3}},
      {u"", {5, 8}},  // name lines of three and of four characters
      {u"Ar", {}},    // names are whole lines: neither the start of one...
      {u"Arcades", {}},
      {u"Arc\n2", {}},                           // ... nor one across a line end
      {u"** Objet non connu **   (4)", {4}},     // a number line followed by an empty line
      {u"** Objet non connu **   (1)", {}},      // 1 has a name
      {u"** Objet non connu **   (7)", {6, 7}},  // a name line that reads like a placeholder
      {u"** Objet non connu **   (65535)", {65535}},
      {u"** Objet non connu **   (07)", {}},
      {u"** Objet non connu **   (65536)", {}},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(catalogue.itemNumbersNamed(test.name), test.numbers)
        << std::string(test.name.begin(), test.name.end());
  }
}

TEST(CatalogueNames, NameLinesInFileOrderWithRepetitions) {
  const Catalogue catalogue =
      catalogueOf({u"2", u"Nom=Zebre", u"1", u"Nom=Arc", u"3", u"Nom=Zebre", u"Nom=",
                   u"nom=minuscule", u"NOM=Majuscule", u"Name=Autre", u"Nom", u"4", u"Nom=Épée"});
  EXPECT_EQ(catalogue.names(),
            (std::vector<std::u16string>{u"Zebre", u"Arc", u"Zebre", u"", u"Épée"}));
}

TEST(CatalogueLines, CrLfLfAndCrEndLines) {
  const auto namesIn = [](std::u16string text) { return Catalogue(std::move(text)).names(); };
  using Names = std::vector<std::u16string>;
  EXPECT_EQ(namesIn(u"Nom=a\r\nNom=b\nNom=c\rNom=d"), (Names{u"a", u"b", u"c", u"d"}));
  EXPECT_EQ(Catalogue(u"1\r\n\r\nNom=b\r\n").nameOf(1), Catalogue::placeholder(1));
  EXPECT_EQ(Catalogue(u"1\n\rNom=b").nameOf(1), Catalogue::placeholder(1));
  EXPECT_EQ(Catalogue(u"1\r\r\nNom=b").nameOf(1), Catalogue::placeholder(1));
  EXPECT_EQ(Catalogue(u"1\r\nNom=b\r").nameOf(1), u"b");
  EXPECT_TRUE(namesIn(u"").empty());
}

class CatalogueFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() /
        ("sacotin-catalogue-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::filesystem::path write(const std::string& bytes) {
    const auto path = folder_ / "liste.dat";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  std::shared_ptr<const Catalogue> read(const std::filesystem::path& path) {
    return testing::readCatalogue(path, codePage_);
  }

  std::filesystem::path folder_;
  std::shared_ptr<const AnsiCodePage> codePage_ = makeAnsiCodePage(1252);
};

TEST_F(CatalogueFileTest, ReadsWindows1252WithAnyLineEnd) {
  for (const std::string lineEnd : {"\r\n", "\n", "\r"}) {
    const auto catalogue = read(write("1234" + lineEnd +
                                      "Nom=\xC9p\xE9"
                                      "e" +
                                      lineEnd + "1235" + lineEnd + "Nom=C\x9Cur"));
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(catalogue->nameOf(1234), u"Épée");
    EXPECT_EQ(catalogue->nameOf(1235), u"Cœur");
  }
}

TEST_F(CatalogueFileTest, Utf8FilesReadAsUtf8AndEveryOtherFileInTheAnsiCodePage) {
  const std::shared_ptr<const AnsiCodePage> cp1251 = makeAnsiCodePage(1251);
  struct Case {
    const char* what;
    std::string bytes;
    std::shared_ptr<const AnsiCodePage> codePage;
    std::u16string name100;  // the name of item 100
  };
  const Case cases[] = {
      {"Windows-1252", "100\r\nNom=\xC9p\xE9\x65\r\n", codePage_, u"Épée"},
      {"UTF-8", "100\nNom=\xC3\x89p\xC3\xA9\x65\n", codePage_, u"Épée"},
      {"UTF-8 whatever the code page", "100\nNom=\xD0\x96\xD1\x83\xD0\xBA\n", cp1251, u"Жук"},
      {"mark, then ASCII: the first number still matches",
       "\xEF\xBB\xBF"
       "100\nNom=Arc\n",
       codePage_, u"Arc"},
      {"mark, then UTF-8",
       "\xEF\xBB\xBF"
       "100\r\nNom=\xC3\x89p\xC3\xA9\x65\r\n",
       codePage_, u"Épée"},
      {"mark, then a byte that is no UTF-8",
       "\xEF\xBB\xBF"
       "100\nNom=Ep\xE9\x65\n",
       codePage_, u"Ep\uFFFDe"},
      {"one byte that is no UTF-8 makes it all Windows-1252",
       "100\nNom=\xC3\x89p\xC3\xA9\x65\n200\nNom=\xE9\n", codePage_, u"\u00C3\u2030p\u00C3\u00A9e"},
      {"a sequence cut at the end of the file", "100\nNom=Arc\n\xC3", codePage_, u"Arc"},
      {"Windows-1251", "100\nNom=\xC6\xF3\xEA\n", cp1251, u"Жук"},
  };
  for (const Case& test : cases) {
    const auto catalogue = testing::readCatalogue(write(test.bytes), test.codePage);
    ASSERT_TRUE(catalogue) << test.what;
    EXPECT_EQ(catalogue->nameOf(100), test.name100) << test.what;
  }
}

TEST_F(CatalogueFileTest, AnEmptyLineAfterTheNumberIsKept) {
  const auto catalogue = read(write("1234\r\n\r\nNom=Epee\r\n"));
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->nameOf(1234), kUnknown1234);
  EXPECT_EQ(catalogue->names(), std::vector<std::u16string>{u"Epee"});
}

TEST_F(CatalogueFileTest, MissingFileOrFolderIsUnreadable) {
  EXPECT_FALSE(read(folder_ / "absent.dat"));
  std::filesystem::create_directory(folder_ / "liste.dat");
  EXPECT_FALSE(read(folder_ / "liste.dat"));
}

TEST_F(CatalogueFileTest, AnEmptyFileIsReadable) {
  const auto catalogue = read(write(""));
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->nameOf(1234), kUnknown1234);
  EXPECT_TRUE(catalogue->names().empty());
}

}  // namespace
}  // namespace sacotin
