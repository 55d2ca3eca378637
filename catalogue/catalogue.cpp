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

Catalogue::Catalogue(const std::vector<std::u16string>& lines)
    : Catalogue([&lines] {
        std::u16string text;
        for (const std::u16string& line : lines) text.append(line).push_back(u'\n');
        return text;
      }()) {}

Catalogue::Catalogue(std::u16string text)
    : text_(std::move(text)), nameLineOf_(65536, kNoNameLine) {
  for (std::size_t i = 0; i < text_.size();) {
    lineStarts_.push_back(static_cast<std::uint32_t>(i));
    while (i < text_.size() && text_[i] != u'\r' && text_[i] != u'\n') ++i;
    if (i < text_.size())
      i += text_[i] == u'\r' && i + 1 < text_.size() && text_[i + 1] == u'\n' ? 2 : 1;
  }
  // A lookup for text T walks runs of consecutive lines equal to T: in a run of k such lines
  // the 1st, 3rd, 5th... match and the line after each match is taken as its name line. So an
  // even run ends with T itself as name line, an odd run with the line after the run (none at
  // the end of the file). The last run in the file wins.
  for (std::size_t start = 0; start < lineCount();) {
    const std::u16string_view text = line(start);
    std::size_t end = start + 1;
    while (end < lineCount() && line(end) == text) ++end;
    if (const auto number = numberOfText(text)) {
      const std::size_t nameLine = (end - start) % 2 == 0 ? start : end;
      const bool named = nameLine < lineCount() && !line(nameLine).empty();
      nameLineOf_[*number] = named ? static_cast<std::uint32_t>(nameLine) : kNoNameLine;
    }
    start = end;
  }
}

std::u16string_view Catalogue::line(std::size_t index) const {
  const std::size_t start = lineStarts_[index];
  std::size_t end = index + 1 < lineStarts_.size() ? lineStarts_[index + 1] : text_.size();
  // Without its line end: a line holds no CR or LF of its own.
  if (end > start && text_[end - 1] == u'\n') --end;
  if (end > start && text_[end - 1] == u'\r') --end;
  return std::u16string_view(text_).substr(start, end - start);
}

std::vector<std::u16string> Catalogue::names() const {
  std::vector<std::u16string> names;
  for (std::size_t index = 0; index < lineCount(); ++index) {
    const std::u16string_view text = line(index);
    if (text.starts_with(kNamePrefix)) names.emplace_back(text.substr(kNamePrefix.size()));
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
  return nameFromLine(this->line(line));
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

}  // namespace sacotin
