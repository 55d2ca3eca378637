#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "encodings/ansi_code_page.h"
#include "registry/registry_backend.h"
#include "registry/wine/wine_keys_around.h"
#include "registry/wine/wine_registry_file.h"

namespace sacotin {

// A key of a parsed user.reg, opened: its subkeys, and its values as RegEnumValueA hands them
// over (see ansiValueData), names and data whole and exact.
std::unique_ptr<OpenKey> openWineKey(std::shared_ptr<const WineRegistryFile> file,
                                     WineRegistryFile::KeyId key,
                                     std::shared_ptr<const AnsiCodePage> codePage);
// The same for a key of the keys parsed around some keys, whose values are parsed as they are
// first enumerated.
std::unique_ptr<OpenKey> openWineKey(std::shared_ptr<WineKeysAround> keys,
                                     WineRegistryFile::KeyId key,
                                     std::shared_ptr<const AnsiCodePage> codePage);

// The key a path from the hive leads to, walked the way wineserver walks it: one component up
// to the next backslash, then the whole run of backslashes after it is skipped; an empty path is
// the hive itself. None on a leading backslash, a component longer than 256 units, a missing key
// or a path through a symbolic link (it leads outside this file).
std::optional<WineRegistryFile::KeyId> resolveWinePath(const WineRegistryFile& file,
                                                       std::u16string_view path);

// Value data as RegEnumValueA hands it over: for REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ the
// stored UTF-16 units (an odd last byte dropped) converted in full to the ANSI code page, NULs
// included, into `converted`; other types unchanged, without a copy.
std::string_view ansiValueData(const AnsiCodePage& codePage, std::uint32_t type,
                               std::string_view raw, std::string& converted);

}  // namespace sacotin
