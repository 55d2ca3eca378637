// Placeholder until the user.reg reader lands: every key fails to open.
#include "registry/registry_backend.h"

namespace sacotin {
namespace {
class NoRegistry final : public RegistryBackend {
 public:
  std::unique_ptr<OpenKey> openKey(std::u16string_view) override { return nullptr; }
};
}  // namespace

std::unique_ptr<RegistryBackend> makeCurrentUserRegistry() { return std::make_unique<NoRegistry>(); }

}  // namespace sacotin
