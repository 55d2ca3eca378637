#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sacotin {

// A text VDF document, as Steam writes its configuration ("key" "value", "key" { ... }): each
// node is a string or a list of keyed nodes, in file order. Keys are compared without regard to
// ASCII letter case, as Steam compares them.
class VdfNode {
 public:
  // Parses a document; none when it is cut short, unbalanced or nested too deep.
  static std::optional<VdfNode> parse(std::string_view text);

  bool isText() const { return isText_; }
  const std::string& text() const { return text_; }
  const std::vector<std::pair<std::string, VdfNode>>& children() const { return children_; }
  // The first child of that key; null when there is none.
  const VdfNode* child(std::string_view key) const;

 private:
  friend class VdfParser;
  bool isText_ = false;
  std::string text_;
  std::vector<std::pair<std::string, VdfNode>> children_;
};

// The Steam library folders a libraryfolders.vdf lists: the "path" of each numbered entry of
// "libraryfolders" (or, in the older form, the numbered entries' own text).
std::vector<std::string> steamLibraryFolders(std::string_view libraryFoldersVdf);

}  // namespace sacotin
