#pragma once

#include <cstdint>
#include <string_view>

namespace sacotin {

// The item number of an inventory slot: first data byte + 256 x second data byte. A slot with a
// single data byte reads 32 (a blank) as its second byte, as the game's tools always have, so
// the byte 5 gives 8197; catalogue numbers rely on that.
std::uint16_t itemNumber(std::string_view slotData);

}  // namespace sacotin
