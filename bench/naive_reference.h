#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "encodings/ansi_code_page.h"
#include "registry/game_registry.h"

namespace sacotin::bench {

// The straightforward way to list and search inventories, kept only as a baseline: every
// inventory slot opens liste.dat, reads it line by line to its end (converting each line from
// the code page and comparing it with the item number text) and closes it again. The registry
// is walked through the same reader the program uses.
class NaiveInventoryReader {
 public:
  NaiveInventoryReader(RegistryBackend& registry, std::filesystem::path catalogue,
                       const AnsiCodePage& codePage);

  // Display names of one character's slots, in slot order; empty when the key can't be opened.
  std::vector<std::u16string> inventory(std::u16string_view account, std::u16string_view character);

  // "account : character" for every slot of every character whose name equals wanted.
  std::vector<std::u16string> search(std::u16string_view wanted);

  // The display name of one slot, reading the whole catalogue.
  std::u16string lookUp(std::string_view slotData);

 private:
  GameRegistry game_;
  std::filesystem::path catalogue_;
  const AnsiCodePage& codePage_;
};

}  // namespace sacotin::bench
