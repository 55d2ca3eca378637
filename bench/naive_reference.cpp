#include "bench/naive_reference.h"

#include <fstream>

#include "catalogue/catalogue.h"
#include "registry/item_number.h"

namespace sacotin::bench {
namespace {

std::vector<std::u16string> subkeys(OpenKey* key) {
  std::vector<std::u16string> names;
  if (key) key->forEachSubkey([&names](const std::u16string& name) { names.push_back(name); });
  return names;
}

bool readLine(std::ifstream& file, std::string& line) {
  if (!std::getline(file, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

}  // namespace

NaiveInventoryReader::NaiveInventoryReader(RegistryBackend& registry,
                                           std::filesystem::path catalogue,
                                           const AnsiCodePage& codePage)
    : game_(registry), catalogue_(std::move(catalogue)), codePage_(codePage) {}

std::u16string NaiveInventoryReader::lookUp(std::string_view slotData) {
  const std::u16string number = itemNumberText(itemNumber(slotData));
  std::u16string nameLine;
  std::ifstream file(catalogue_, std::ios::binary);
  std::string line;
  while (readLine(file, line)) {
    if (codePage_.decode(line) != number) continue;
    nameLine = readLine(file, line) ? codePage_.decode(line) : std::u16string();
  }
  if (nameLine.empty()) return Catalogue::placeholder(itemNumber(slotData));
  return nameLine.size() <= 4 ? std::u16string() : nameLine.substr(4);
}

std::vector<std::u16string> NaiveInventoryReader::inventory(std::u16string_view account,
                                                            std::u16string_view character) {
  std::vector<std::u16string> names;
  auto key = game_.openInventory(account, character);
  if (!key) return names;
  GameRegistry::forEachInventorySlot(
      *key, [&](std::string_view slotData) { names.push_back(lookUp(slotData)); });
  return names;
}

std::vector<std::u16string> NaiveInventoryReader::search(std::u16string_view wanted) {
  std::vector<std::u16string> found;
  for (const std::u16string& account : subkeys(game_.openAccounts().get())) {
    for (const std::u16string& character : subkeys(game_.openCharacters(account).get())) {
      for (const std::u16string& name : inventory(account, character)) {
        if (name == wanted) found.push_back(account + u" : " + character);
      }
    }
  }
  return found;
}

}  // namespace sacotin::bench
