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

Catalogue::Catalogue(std::u16string text)
    : text_(std::move(text)), nameLineOf_(65536, kNoNameLine) {
  // A lookup for text T walks runs of consecutive lines equal to T: in a run of k such lines
  // the 1st, 3rd, 5th... match and the line after each match is taken as its name line. So an
  // even run ends with T itself as name line, an odd run with the line after the run (none at
  // the end of the file). The last run in the file wins.
  std::size_t next = 0;
  std::size_t runStart = 0;
  std::u16string_view run = next < text_.size() ? lineAt(0, next) : std::u16string_view();
  while (runStart < text_.size()) {
    std::size_t runLength = 1;
    std::size_t after = next;  // the start of the line after the run
    std::u16string_view line;
    while (after < text_.size() && (line = lineAt(after, next)) == run) {
      ++runLength;
      after = next;
    }
    if (const auto number = numberOfText(run)) {
      const bool named = runLength % 2 == 0 || (after < text_.size() && !line.empty());
      const std::size_t nameLine = runLength % 2 == 0 ? runStart : after;
      nameLineOf_[*number] = named ? static_cast<std::uint32_t>(nameLine) : kNoNameLine;
    }
    runStart = after;
    run = line;
  }
}

std::u16string_view Catalogue::lineAt(std::size_t start, std::size_t& next) const {
  std::size_t end = start;
  while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n') ++end;
  next = end;
  if (next < text_.size()) {
    next += text_[next] == u'\r' && next + 1 < text_.size() && text_[next + 1] == u'\n' ? 2 : 1;
  }
  return std::u16string_view(text_).substr(start, end - start);
}

std::vector<std::u16string> Catalogue::names() const {
  std::vector<std::u16string> names;
  for (std::size_t start = 0, next = 0; start < text_.size(); start = next) {
    const std::u16string_view line = lineAt(start, next);
    if (line.starts_with(kNamePrefix)) names.emplace_back(line.substr(kNamePrefix.size()));
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
  std::size_t next = 0;
  return nameFromLine(lineAt(line, next));
}

std::u16string Catalogue::nameOf(std::uint16_t number) const {
  const auto name = nameInFile(number);
  return name ? std::u16string(*name) : placeholder(number);
}

bool Catalogue::nameLineShows(std::size_t start, std::u16string_view name) const {
  const std::u16string_view rest = std::u16string_view(text_).substr(start);
  const auto endsLine = [rest](std::size_t at) {
    return at == rest.size() || rest[at] == u'\r' || rest[at] == u'\n';
  };
  // A line of four characters or fewer shows an empty name.
  for (std::size_t at = 0; at <= kDroppedPrefixLength; ++at) {
    if (endsLine(at)) return name.empty();
  }
  return rest.substr(kDroppedPrefixLength, name.size()) == name &&
         endsLine(kDroppedPrefixLength + name.size());
}

std::vector<std::uint16_t> Catalogue::itemNumbersNamed(std::u16string_view name) const {
  std::optional<std::uint16_t> placeholderNumber;
  if (name.starts_with(kPlaceholderStart) && name.ends_with(kPlaceholderEnd)) {
    placeholderNumber = numberOfText(name.substr(
        kPlaceholderStart.size(), name.size() - kPlaceholderStart.size() - kPlaceholderEnd.size()));
  }
  // No name line shows a line end.
  const bool oneLine = name.find_first_of(u"\r\n") == std::u16string_view::npos;
  std::vector<std::uint16_t> numbers;
  for (std::uint32_t number = 0; number < nameLineOf_.size(); ++number) {
    const std::uint32_t line = nameLineOf_[number];
    if (line == kNoNameLine ? placeholderNumber == number : oneLine && nameLineShows(line, name)) {
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
