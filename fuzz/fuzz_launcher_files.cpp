// Fuzzes the readers of Linux launchers' files with any bytes: as a Lutris game file or a Bottles
// file (YAML, through libyaml) and as Steam's libraryfolders.vdf. Whatever the bytes, the
// readers end, without crashing, with a value or with nothing.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "prefix_search/steam_vdf.h"
#include "prefix_search/yaml_value.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto prefix = sacotin::yamlValue(text, {"game", "prefix"})) {
    volatile std::size_t length = prefix->size();
    (void)length;
  }
  (void)sacotin::yamlValue(text, {"custom_bottles_path"});
  for (const std::string& folder : sacotin::steamLibraryFolders(text)) {
    volatile std::size_t length = folder.size();
    (void)length;
  }
  return 0;
}
