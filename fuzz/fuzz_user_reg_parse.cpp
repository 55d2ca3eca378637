// Fuzzes the user.reg parser alone with any bytes: the whole file's parse, whose key tree must
// keep what the rest of the program relies on (see user_reg_checks.h). Quick, so that a minute
// covers tens of thousands of inputs; fuzz_user_reg_differential holds the faster paths to it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/user_reg_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  sacotin::fuzzing::checkTree(sacotin::parseWineRegistry(bytes));
  return 0;
}
