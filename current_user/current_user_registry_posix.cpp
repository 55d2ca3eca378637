// On Linux the game runs under Wine: the current user's registry is the user.reg of the prefix
// the game runs in, read in the code page Wine would use.
#include "current_user/current_user_registry.h"
#include "prefix_search/prefix_search.h"
#include "registry/wine/wine_user_registry.h"

namespace sacotin {

std::unique_ptr<RegistryBackend> makeCurrentUserRegistry() {
  GameUserReg found = findGameUserReg();
  return std::make_unique<WineUserRegistry>(std::move(found.path), systemAnsiCodePage(),
                                            std::move(found.sections));
}

}  // namespace sacotin
