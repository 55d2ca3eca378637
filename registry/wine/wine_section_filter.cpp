#include "registry/wine/wine_section_filter.h"

#include <algorithm>

#include "registry/wine/wine_registry_text.h"

namespace sacotin {
WineSectionFilter::WineSectionFilter(const std::vector<std::u16string_view>& keys) : keys_(keys) {}

void WineSectionFilter::reserveFor(std::size_t textSize) {
  // The game's sections are a small part of a lived-in prefix's file. Memory reserved is only
  // taken up as it is written.
  kept_.reserve(std::min(textSize / 8, std::size_t{64} << 20));
}

void WineSectionFilter::append(std::string_view part) {
  if (!partialLine_.empty()) {  // ends that line first
    const std::size_t newline = part.find('\n');
    partialLine_.append(
        part.substr(0, newline == std::string_view::npos ? part.size() : newline + 1));
    if (newline == std::string_view::npos) return;
    filterLines(partialLine_, true);
    partialLine_.clear();
    part.remove_prefix(newline + 1);
  }
  partialLine_.assign(part.substr(filterLines(part, false)));
}

std::string WineSectionFilter::finish() {
  filterLines(partialLine_, true);
  partialLine_.clear();
  endSection({});
  return std::move(kept_);
}

std::size_t WineSectionFilter::filterLines(std::string_view text, bool atEnd) {
  std::size_t end = text.size();
  if (!atEnd) {
    const std::size_t lastNewline = text.rfind('\n');
    if (lastNewline == std::string_view::npos) return 0;  // not one whole line yet
    end = lastNewline + 1;
  }
  std::size_t sectionStart = 0;  // where the section being read starts in this text
  for (std::size_t pos = 0; pos < end;) {
    const std::size_t header = wine_text::nextHeaderLine(text, pos, end);
    addLines(text.substr(pos, header - pos));
    if (header == end) break;
    endSection(text.substr(sectionStart, header - sectionStart));
    const wine_text::HeaderLine headerLine = wine_text::headerLineAt(text, header, end);
    // Left out only where this line is surely a header: no hex value before it can go on.
    const std::optional<WantedKeys::Place> place =
        keys_.placeOfPlainHeader(headerLine.afterBracket);
    inUnrelated_ = place && !place->related && !lineHeldBackslash_;
    sectionStart = header;
    addLines(headerLine.line);
    pos = header + headerLine.line.size();
  }
  // The section goes on in the next text: what may yet be left out is kept aside until then.
  if (inUnrelated_) unrelated_.append(text.substr(sectionStart, end - sectionStart));
  return end;
}

// Whole lines of the section being read: kept at once unless the section may be left out.
void WineSectionFilter::addLines(std::string_view lines) {
  if (lines.empty()) return;
  if (!inUnrelated_) kept_.append(lines);
  lineHeldBackslash_ = wine_text::lastLineHoldsBackslash(lines);
}

// The section being read ends; `tail` is its part in the text being filtered.
void WineSectionFilter::endSection(std::string_view tail) {
  // A section left out so far is kept where its last line holds a backslash (and so is the
  // next one, see filterLines).
  if (inUnrelated_ && lineHeldBackslash_) {
    kept_.append(unrelated_);
    kept_.append(tail);
  }
  unrelated_.clear();
  inUnrelated_ = false;
}

}  // namespace sacotin
