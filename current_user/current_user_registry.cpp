#include "current_user/current_user_registry.h"

#include "registry/background_registry.h"
#include "registry/game_registry.h"

namespace sacotin {

std::unique_ptr<RegistryBackend> readCurrentUserRegistryInBackground() {
  return std::make_unique<BackgroundRegistry>([] {
    std::unique_ptr<RegistryBackend> registry = makeCurrentUserRegistry();
    // Opening the game's key reads it (its two places are read together).
    registry->openKey(GameRegistry::kKeyPath);
    return registry;
  });
}

}  // namespace sacotin
