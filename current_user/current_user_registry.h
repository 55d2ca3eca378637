#pragma once

#include <memory>

#include "registry/registry_backend.h"

namespace sacotin {

// The registry of the machine the program runs on: the real one on Windows
// (current_user_registry_win32.cpp); elsewhere the user.reg of the Wine prefix the game runs in
// (current_user_registry_posix.cpp).
std::unique_ptr<RegistryBackend> makeCurrentUserRegistry();

// The same, with the game's keys already being read on a second thread.
std::unique_ptr<RegistryBackend> readCurrentUserRegistryInBackground();

}  // namespace sacotin
