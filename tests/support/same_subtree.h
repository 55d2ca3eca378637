#pragma once

// Compares the same key in two parses of a user.reg, for the differential checks of the parse
// that passes over unrelated sections (parseWineRegistryAround).
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "registry/wine/wine_registry_file.h"
#include "wine_tree_queries.h"

namespace sacotin::testing {

// Whether the key at `path` (components separated by single backslashes) is the same in both
// parses: present in both or in neither, and then the same subkeys, spelled alike and in the
// same order, the same link marks, and the same values (name, type, bytes) in the same order,
// all the way down. `difference` says where they first differ.
// `treeB` is either kind of parse.
template <typename TreeB>
bool sameSubtree(const WineRegistryFile& a, TreeB& treeB, std::u16string_view path,
                 std::string* difference = nullptr) {
  const WineRegistryFile& b = treeOf(treeB);
  using KeyId = WineRegistryFile::KeyId;
  const auto fail = [difference](const std::string& what) {
    if (difference) *difference = what;
    return false;
  };
  if (a.isRegistry() != b.isRegistry()) return fail("one is no registry");
  KeyId keyA = WineRegistryFile::kRoot;
  KeyId keyB = WineRegistryFile::kRoot;
  bool inA = true;
  bool inB = true;
  while (!path.empty() && (inA || inB)) {
    const std::size_t end = std::min(path.find(u'\\'), path.size());
    const auto childA = inA ? a.findSubkey(keyA, path.substr(0, end)) : std::nullopt;
    const auto childB = inB ? b.findSubkey(keyB, path.substr(0, end)) : std::nullopt;
    inA = childA.has_value() && !a.isLink(*childA);
    inB = childB.has_value() && !b.isLink(*childB);
    if (inA) keyA = *childA;
    if (inB) keyB = *childB;
    path = end < path.size() ? path.substr(end + 1) : std::u16string_view();
  }
  if (inA != inB) return fail("the key is in one parse only");
  if (!inA) return true;

  std::vector<std::pair<KeyId, KeyId>> pending{{keyA, keyB}};
  while (!pending.empty()) {
    const auto [ka, kb] = pending.back();
    pending.pop_back();
    const std::string where = "key " + std::to_string(ka);
    if (a.keyName(ka) != b.keyName(kb)) return fail(where + ": spelling");
    if (a.isLink(ka) != b.isLink(kb)) return fail(where + ": link mark");
    if (a.subkeyCount(ka) != b.subkeyCount(kb)) return fail(where + ": subkey count");
    const std::vector<WineValue> valuesA = valuesOf(a, ka);
    const std::vector<WineValue> valuesB = valuesOf(treeB, kb);
    if (valuesA.size() != valuesB.size()) return fail(where + ": value count");
    for (std::size_t i = 0; i < valuesA.size(); ++i) {
      const WineValue& va = valuesA[i];
      const WineValue& vb = valuesB[i];
      if (va.name != vb.name || va.type != vb.type || va.data != vb.data) {
        return fail(where + ": value " + std::to_string(i));
      }
    }
    for (std::size_t i = 0; i < a.subkeyCount(ka); ++i) {
      pending.emplace_back(a.subkey(ka, i), b.subkey(kb, i));
    }
  }
  return true;
}

}  // namespace sacotin::testing
