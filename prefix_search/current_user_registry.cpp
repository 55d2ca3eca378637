// On Linux the game runs under Wine: the current user's registry is the user.reg of the prefix
// the game runs in, read in the code page Wine would use.
#include "prefix_search/prefix_search.h"
#include "registry/registry_backend.h"
#include "registry/wine_user_registry.h"

namespace sacotin {

std::unique_ptr<RegistryBackend> makeCurrentUserRegistry() {
  GameUserReg found = findGameUserReg();
  return std::make_unique<WineUserRegistry>(std::move(found.path), systemAnsiCodePage(),
                                            std::move(found.sections));
}

}  // namespace sacotin
