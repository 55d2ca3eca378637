#include "prefix_search/yaml_value.h"

#include <yaml.h>

#include <vector>

namespace sacotin {
namespace {

// One open mapping or sequence while the events are walked.
struct Collection {
  bool mapping = false;
  std::size_t depth = 0;    // how many keys of the path lead to it; kOffPath when none do
  bool atKey = true;        // a mapping's next node is a key
  bool keyMatched = false;  // the last key read is the path's next key
};

constexpr std::size_t kOffPath = static_cast<std::size_t>(-1);

// Owns a libyaml parser over a text.
class Parser {
 public:
  explicit Parser(std::string_view text) {
    ready_ = yaml_parser_initialize(&parser_) != 0;
    if (ready_) {
      yaml_parser_set_input_string(&parser_, reinterpret_cast<const unsigned char*>(text.data()),
                                   text.size());
    }
  }
  ~Parser() {
    if (ready_) yaml_parser_delete(&parser_);
  }
  Parser(const Parser&) = delete;
  Parser& operator=(const Parser&) = delete;

  bool next(yaml_event_t& event) { return ready_ && yaml_parser_parse(&parser_, &event) != 0; }

 private:
  yaml_parser_t parser_{};
  bool ready_ = false;
};

}  // namespace

std::optional<std::string> yamlValue(std::string_view text,
                                     std::initializer_list<std::string_view> keys) {
  const std::vector<std::string_view> path(keys);
  Parser parser(text);
  std::vector<Collection> open;
  // Where a node that starts now stands: how many keys lead to it (kOffPath: off the path).
  const auto depthOfNextNode = [&open, &path]() -> std::size_t {
    if (open.empty()) return 0;  // the document's top node
    const Collection& parent = open.back();
    if (!parent.mapping || parent.atKey || parent.depth == kOffPath || !parent.keyMatched) {
      return kOffPath;
    }
    return parent.depth + 1;
  };
  // After a whole node: the parent mapping expects a key again, or a value.
  const auto nodeDone = [&open] {
    if (!open.empty() && open.back().mapping) open.back().atKey = !open.back().atKey;
  };

  yaml_event_t event;
  while (parser.next(event)) {
    const yaml_event_type_t type = event.type;
    std::optional<std::string> found;
    if (type == YAML_SCALAR_EVENT) {
      const std::string value(reinterpret_cast<const char*>(event.data.scalar.value),
                              event.data.scalar.length);
      const std::size_t depth = depthOfNextNode();
      if (!open.empty() && open.back().mapping && open.back().atKey) {
        Collection& mapping = open.back();
        mapping.keyMatched = mapping.depth != kOffPath && mapping.depth < path.size() &&
                             value == path[mapping.depth];
      } else if (depth == path.size()) {
        found = value;
      }
      nodeDone();
    } else if (type == YAML_MAPPING_START_EVENT || type == YAML_SEQUENCE_START_EVENT) {
      const std::size_t depth = depthOfNextNode();
      const bool onPath = type == YAML_MAPPING_START_EVENT && depth < path.size();
      open.push_back(Collection{type == YAML_MAPPING_START_EVENT, onPath ? depth : kOffPath});
    } else if (type == YAML_MAPPING_END_EVENT || type == YAML_SEQUENCE_END_EVENT) {
      if (!open.empty()) open.pop_back();
      nodeDone();
    } else if (type == YAML_ALIAS_EVENT) {
      if (!open.empty() && open.back().mapping && open.back().atKey) open.back().keyMatched = false;
      nodeDone();
    }
    // Only the first document counts.
    const bool end = type == YAML_STREAM_END_EVENT || type == YAML_DOCUMENT_END_EVENT;
    yaml_event_delete(&event);
    if (found) return found;
    if (end) break;
  }
  return std::nullopt;
}

}  // namespace sacotin
