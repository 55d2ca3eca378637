#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sacotin {

// The item catalogue, liste.dat: an item number line, then a "Nom=" line with its name.
//
//   1234
//   Nom=Epee
//
// Looking an item up reads the lines in order; a line equal to the item number text makes the
// line after it the name line (that line is not compared itself), so the last matching number
// line wins, and a match followed by an empty line (or by the end of the file) leaves the item
// without a name. An item's name is its name line without the first four characters.
class Catalogue {
 public:
  // Builds the catalogue from the file's decoded text: CR LF, a lone LF and a lone CR each end a
  // line; a last line without line end still counts.
  explicit Catalogue(std::u16string text);
  Catalogue();

  // The name shown for an item: its name in the catalogue, or the placeholder
  // "** Objet non connu **   (1234)" when the catalogue has no name line for it.
  std::u16string nameOf(std::uint16_t number) const;

  // Every item number (0 to 65535) shown under exactly `name`, placeholder names included, in
  // increasing order.
  std::vector<std::uint16_t> itemNumbersNamed(std::u16string_view name) const;

  // Every "Nom=" line's name, in file order, repetitions included.
  std::vector<std::u16string> names() const;

  static std::u16string placeholder(std::uint16_t number);

 private:
  static constexpr std::uint32_t kNoNameLine = 0xffffffff;

  // The item's name from its name line; nothing when it has none (the placeholder is shown).
  std::optional<std::u16string_view> nameInFile(std::uint16_t number) const;
  // Whether the name line that starts at `start` gives exactly `name`, which holds no line end;
  // only as much of the line is read as it takes to tell, as every name line is tried in a
  // search.
  bool nameLineShows(std::size_t start, std::u16string_view name) const;

  // The line that starts at `start` in the text, without its line end, and where the next one
  // starts (the text's size after the last).
  std::u16string_view lineAt(std::size_t start, std::size_t& next) const;

  // The text, held whole: the lines are found in it as they are needed, so that a catalogue takes
  // twice its file's size however its lines run.
  std::u16string text_;
  // For every item number: where the name line a lookup ends with starts in the text, or
  // kNoNameLine when it ends without one (no number line, or an empty line after it). Only
  // item number texts are ever looked up, so only lines that are one are indexed.
  std::vector<std::uint32_t> nameLineOf_;
};

// An item number's text, the key of the catalogue's number lines: decimal, without sign, blank or
// leading zero.
std::u16string itemNumberText(std::uint16_t number);

}  // namespace sacotin
