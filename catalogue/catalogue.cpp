#include "catalogue/catalogue.h"

#include <filesystem>
#include <fstream>
#include <ios>
#include <iterator>
#include <system_error>

namespace sacotin {
namespace {

constexpr std::u16string_view kNamePrefix = u"Nom=";
constexpr std::size_t kDroppedPrefixLength = 4;

}  // namespace

Catalogue::Catalogue(const std::vector<std::u16string>& lines) {
  // A lookup for text T walks runs of consecutive lines equal to T: in a run of k such lines
  // the 1st, 3rd, 5th... match and the line after each match is taken as its name line. So an
  // even run ends with T itself as name line, an odd run with the line after the run (none at
  // the end of the file). The last run in the file wins.
  for (std::size_t start = 0; start < lines.size();) {
    const std::u16string& text = lines[start];
    std::size_t end = start + 1;
    while (end < lines.size() && lines[end] == text) ++end;
    const std::size_t runLength = end - start;
    if (runLength % 2 == 0) {
      nameLines_[text] = text;
    } else {
      nameLines_[text] = end < lines.size() ? lines[end] : std::u16string();
    }
    start = end;
  }
  for (const auto& line : lines) {
    if (line.starts_with(kNamePrefix)) names_.push_back(line.substr(kNamePrefix.size()));
  }
}

std::u16string Catalogue::placeholder(std::u16string_view itemNumberText) {
  std::u16string name = u"** Objet non connu **   (";
  name += itemNumberText;
  name += u")";
  return name;
}

std::u16string Catalogue::displayName(std::u16string_view itemNumberText) const {
  const auto found = nameLines_.find(std::u16string(itemNumberText));
  if (found == nameLines_.end() || found->second.empty()) return placeholder(itemNumberText);
  const std::u16string& nameLine = found->second;
  // The first four characters are dropped whatever they are; a shorter line leaves nothing.
  if (nameLine.size() <= kDroppedPrefixLength) return {};
  return nameLine.substr(kDroppedPrefixLength);
}

std::vector<std::u16string> splitCatalogueLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c != u'\r' && c != u'\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::optional<Catalogue> Catalogue::readFile(const std::filesystem::path& path,
                                             const AnsiCodePage& codePage) {
  // Only a regular file is opened: a FIFO or a device would block or never end.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::string bytes;
  try {
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    // A read error (a failing disk, a lost network share) is thrown by the stream buffer itself,
    // past the stream's error state.
    return std::nullopt;
  }
  if (file.bad()) return std::nullopt;
  return Catalogue(splitCatalogueLines(decodeTextFile(bytes, codePage)));
}

}  // namespace sacotin
