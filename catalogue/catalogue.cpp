#include "catalogue/catalogue.h"

#include <optional>
#include <string>

namespace sacotin {
namespace {

constexpr std::u16string_view kNamePrefix = u"Nom=";
constexpr std::size_t kDroppedPrefixLength = 4;
constexpr std::u16string_view kPlaceholderStart = u"** Objet non connu **   (";
constexpr std::u16string_view kPlaceholderEnd = u")";

// The number whose item number text `text` is: decimal digits, no leading zero, at most 65535.
std::optional<std::uint16_t> numberOfText(std::u16string_view text) {
  if (text.empty() || text.size() > 5 || (text.size() > 1 && text[0] == u'0')) return std::nullopt;
  std::uint32_t number = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    number = number * 10 + static_cast<std::uint32_t>(c - u'0');
  }
  if (number > 65535) return std::nullopt;
  return static_cast<std::uint16_t>(number);
}

// An item's name from its name line: the line without its first four characters, whatever they
// are; a shorter line leaves nothing.
std::u16string_view nameFromLine(std::u16string_view nameLine) {
  return nameLine.size() <= kDroppedPrefixLength ? std::u16string_view()
                                                 : nameLine.substr(kDroppedPrefixLength);
}

}  // namespace

Catalogue::Catalogue() : nameLineOf_(65536, kNoNameLine) {}

Catalogue::Catalogue(std::vector<std::u16string> lines)
    : lines_(std::move(lines)), nameLineOf_(65536, kNoNameLine) {
  // A lookup for text T walks runs of consecutive lines equal to T: in a run of k such lines
  // the 1st, 3rd, 5th... match and the line after each match is taken as its name line. So an
  // even run ends with T itself as name line, an odd run with the line after the run (none at
  // the end of the file). The last run in the file wins.
  for (std::size_t start = 0; start < lines_.size();) {
    const std::u16string& text = lines_[start];
    std::size_t end = start + 1;
    while (end < lines_.size() && lines_[end] == text) ++end;
    if (const auto number = numberOfText(text)) {
      std::size_t nameLine = end - start;  // the run's length, for now
      nameLine = nameLine % 2 == 0 ? start : end;
      const bool named = nameLine < lines_.size() && !lines_[nameLine].empty();
      nameLineOf_[*number] = named ? static_cast<std::uint32_t>(nameLine) : kNoNameLine;
    }
    start = end;
  }
}

std::vector<std::u16string> Catalogue::names() const {
  std::vector<std::u16string> names;
  for (const auto& line : lines_) {
    if (line.starts_with(kNamePrefix)) names.push_back(line.substr(kNamePrefix.size()));
  }
  return names;
}

std::u16string Catalogue::placeholder(std::uint16_t number) {
  std::u16string name(kPlaceholderStart);
  name += itemNumberText(number);
  name += kPlaceholderEnd;
  return name;
}

std::optional<std::u16string_view> Catalogue::nameInFile(std::uint16_t number) const {
  const std::uint32_t line = nameLineOf_[number];
  if (line == kNoNameLine) return std::nullopt;
  return nameFromLine(lines_[line]);
}

std::u16string Catalogue::nameOf(std::uint16_t number) const {
  const auto name = nameInFile(number);
  return name ? std::u16string(*name) : placeholder(number);
}

std::vector<std::uint16_t> Catalogue::itemNumbersNamed(std::u16string_view name) const {
  std::optional<std::uint16_t> placeholderNumber;
  if (name.starts_with(kPlaceholderStart) && name.ends_with(kPlaceholderEnd)) {
    placeholderNumber = numberOfText(name.substr(
        kPlaceholderStart.size(), name.size() - kPlaceholderStart.size() - kPlaceholderEnd.size()));
  }
  std::vector<std::uint16_t> numbers;
  for (std::uint32_t number = 0; number < nameLineOf_.size(); ++number) {
    const auto inFile = nameInFile(static_cast<std::uint16_t>(number));
    if (inFile ? *inFile == name : placeholderNumber == number) {
      numbers.push_back(static_cast<std::uint16_t>(number));
    }
  }
  return numbers;
}

std::u16string itemNumberText(std::uint16_t number) {
  const std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
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

}  // namespace sacotin
