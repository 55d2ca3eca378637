#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "registry/wine/wine_wanted_keys.h"

namespace sacotin {

// Keeps, of a user.reg's text handed over in parts, what a parse around some keys reads
// (parseWineRegistryAround gives the same keys at, above and below them from the kept text
// as from the whole): the lines before the first section header, and every section but those
// whose header plainly names an unrelated key. Such a section is kept all the same where the
// line before its header, or before the next header, holds a backslash: there a hex value may
// take the next line as its continuation, which only the parse can tell. So a large prefix's
// user.reg is read through a small buffer instead of being held whole.
class WineSectionFilter {
 public:
  explicit WineSectionFilter(const std::vector<std::u16string_view>& keys);

  // Makes room for what is kept of a text of that size, so that it is not copied as it grows.
  void reserveFor(std::size_t textSize);

  // The next part of the text; parts may split lines anywhere.
  void append(std::string_view part);
  // The kept text, once the whole text has been appended.
  std::string finish();

 private:
  // Keeps or leaves out, section by section, the whole lines of a text that starts a line (all
  // of it at the end); how much of it that was.
  std::size_t filterLines(std::string_view text, bool atEnd);
  void addLines(std::string_view lines);
  void endSection(std::string_view tail);

  WantedKeys keys_;
  std::string kept_;
  std::string partialLine_;  // the start of a line that the next part goes on with
  std::string unrelated_;    // the section being read, from earlier texts, while it may be left out
  bool inUnrelated_ = false;        // the section being read plainly names an unrelated key
  bool lineHeldBackslash_ = false;  // the last line filtered holds a backslash
};

}  // namespace sacotin
