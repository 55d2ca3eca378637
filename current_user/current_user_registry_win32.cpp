#include "current_user/current_user_registry.h"
#include "registry/registry_win32.h"

namespace sacotin {

std::unique_ptr<RegistryBackend> makeCurrentUserRegistry() { return makeAdvapi32Registry(); }

}  // namespace sacotin
