#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace sacotin {

// The scalar that a YAML document holds at a path of mapping keys from its top mapping, as YAML
// means it (plain values folded onto further lines, quoted values with their escapes), in UTF-8:
// yamlValue(text, {"game", "prefix"}) for "game:\n  prefix: /x\n". None when the text is not
// YAML, or holds no scalar there.
std::optional<std::string> yamlValue(std::string_view text,
                                     std::initializer_list<std::string_view> keys);

}  // namespace sacotin
