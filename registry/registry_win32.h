#pragma once

#include <memory>

#include "registry/registry_backend.h"

namespace sacotin {

// The current user's hive (HKEY_CURRENT_USER) through advapi32's wide functions: names and data
// whole, however long, string data converted to the ANSI code page as the ANSI functions do.
std::unique_ptr<RegistryBackend> makeAdvapi32Registry();

}  // namespace sacotin
