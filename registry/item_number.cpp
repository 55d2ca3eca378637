#include "registry/item_number.h"

namespace sacotin {

std::uint16_t itemNumber(std::string_view slotData) {
  constexpr unsigned char kBlank = 32;
  const auto low = slotData.size() > 0 ? static_cast<unsigned char>(slotData[0]) : kBlank;
  const auto high = slotData.size() > 1 ? static_cast<unsigned char>(slotData[1]) : kBlank;
  return static_cast<std::uint16_t>(low + 256 * high);
}

}  // namespace sacotin
