// How the parser passes over the sections unrelated to the keys it is made around.
#include "registry/wine/wine_registry_parser.h"
#include "registry/wine/wine_registry_text.h"

namespace sacotin {

using namespace wine_text;

bool WineRegistryParser::isWanted(std::string_view header) const {
  return wantedKeys_.empty() || wantedKeys_.placeOfHeader(header).related;
}

void WineRegistryParser::skipSection(KeyId key) {
  while (pos_ < text_.size()) {
    const std::size_t header = nextHeaderLine(text_, pos_, text_.size());
    const bool mayLink =
        key != kNoKey && text_.substr(pos_, header - pos_).find("#link") != std::string_view::npos;
    if (!mayLink && !lastLineHoldsBackslash(text_.substr(pos_, header - pos_))) {
      pos_ = header;
      return;
    }
    while (pos_ <= header && pos_ < text_.size()) {
      const std::size_t lineStart = pos_;
      std::string_view line;
      nextLine(line);
      const std::size_t start = skipSpaces(line, 0);
      if (start == line.size()) continue;
      const std::string_view rest = line.substr(start);
      if (rest[0] == '[') {
        pos_ = lineStart;  // the next section: the main loop reads it
        return;
      }
      if (rest[0] == '"' || rest[0] == '@') dropValue(rest);
      if (key != kNoKey && startsWith(rest, "#link")) file_.keys_[key].link = true;
    }
  }
}

void WineRegistryParser::deferSection() {
  const std::size_t begin = pos_;
  skipSection(current_);
  deferred_.push_back(
      {current_, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(pos_ - begin)});
}

void WineRegistryParser::dropValue(std::string_view line) {
  const std::size_t names = file_.names_.size();
  const std::size_t data = file_.data_.size();
  const std::size_t values = file_.values_.size();
  const KeyId key = current_;
  current_ = WineRegistryFile::kRoot;
  dropping_ = true;
  loadValue(line);
  dropping_ = false;
  current_ = key;
  file_.names_.resize(names);
  file_.data_.resize(data);
  file_.values_.resize(values);
}

}  // namespace sacotin
