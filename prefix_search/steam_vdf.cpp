#include "prefix_search/steam_vdf.h"

#include <algorithm>
#include <cctype>

namespace sacotin {
namespace {

bool sameKey(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

bool isNumber(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

}  // namespace

// Reads tokens: quoted strings (with Steam's escapes \\ \" \n \t), bare words, braces; "//"
// comments and "[$CONDITION]" tags are passed over.
class VdfParser {
 public:
  explicit VdfParser(std::string_view text) : text_(text) {}

  // The keyed nodes up to the closing brace (or the end of the text, at the top).
  bool parseList(VdfNode& list, int depth) {
    if (depth > kMaxDepth) return false;
    std::string key;
    while (nextToken(key)) {
      if (kind_ == Kind::Close) return depth > 0;
      if (kind_ != Kind::String) return false;
      std::string value;
      if (!nextToken(value)) return false;
      VdfNode node;
      if (kind_ == Kind::Open) {
        if (!parseList(node, depth + 1)) return false;
      } else if (kind_ == Kind::String) {
        node.isText_ = true;
        node.text_ = std::move(value);
      } else {
        return false;
      }
      list.children_.emplace_back(std::move(key), std::move(node));
    }
    return depth == 0 && !broken_;  // the top list ends with the text, a nested one must not
  }

 private:
  enum class Kind { String, Open, Close };
  static constexpr int kMaxDepth = 64;

  bool nextToken(std::string& token) {
    token.clear();
    for (;;) {
      skipBlanksAndComments();
      if (pos_ >= text_.size()) return false;
      const char c = text_[pos_];
      if (c == '[') {  // a platform condition after a value: not part of the data
        const std::size_t end = text_.find(']', pos_);
        if (end == std::string_view::npos) return broken(), false;
        pos_ = end + 1;
        continue;
      }
      if (c == '{' || c == '}') {
        kind_ = c == '{' ? Kind::Open : Kind::Close;
        ++pos_;
        return true;
      }
      kind_ = Kind::String;
      return c == '"' ? quoted(token) : bare(token);
    }
  }

  void skipBlanksAndComments() {
    while (pos_ < text_.size()) {
      if (std::isspace(static_cast<unsigned char>(text_[pos_]))) {
        ++pos_;
      } else if (text_.substr(pos_, 2) == "//") {
        const std::size_t end = text_.find('\n', pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
      } else {
        break;
      }
    }
  }

  bool quoted(std::string& token) {
    for (++pos_; pos_ < text_.size(); ++pos_) {
      char c = text_[pos_];
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c == '\\' && pos_ + 1 < text_.size()) {
        c = text_[++pos_];
        if (c == 'n') c = '\n';
        if (c == 't') c = '\t';
      }
      token.push_back(c);
    }
    broken();  // cut short inside a string
    return false;
  }

  bool bare(std::string& token) {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (std::isspace(static_cast<unsigned char>(c)) || c == '"' || c == '{' || c == '}') break;
      token.push_back(c);
      ++pos_;
    }
    return true;
  }

  void broken() { broken_ = true; }

  std::string_view text_;
  std::size_t pos_ = 0;
  Kind kind_ = Kind::String;
  bool broken_ = false;
};

std::optional<VdfNode> VdfNode::parse(std::string_view text) {
  VdfNode root;
  VdfParser parser(text);
  if (!parser.parseList(root, 0)) return std::nullopt;
  return root;
}

const VdfNode* VdfNode::child(std::string_view key) const {
  for (const auto& [name, node] : children_) {
    if (sameKey(name, key)) return &node;
  }
  return nullptr;
}

std::vector<std::string> steamLibraryFolders(std::string_view libraryFoldersVdf) {
  std::vector<std::string> folders;
  const std::optional<VdfNode> document = VdfNode::parse(libraryFoldersVdf);
  const VdfNode* list = document ? document->child("libraryfolders") : nullptr;
  if (!list || list->isText()) return folders;
  for (const auto& [key, entry] : list->children()) {
    if (!isNumber(key)) continue;  // "contentstatsid" and the like
    if (entry.isText()) {
      folders.push_back(entry.text());
    } else if (const VdfNode* path = entry.child("path"); path && path->isText()) {
      folders.push_back(path->text());
    }
  }
  return folders;
}

}  // namespace sacotin
