#pragma once

#include <functional>
#include <future>
#include <memory>

#include "registry/registry_backend.h"

namespace sacotin {

// A registry made ready on a second thread: `prepare` makes it (and may read whatever else the
// program is about to need) while the caller goes on with other work, such as building its
// windows. The first key opened waits for it; from then on it is the registry `prepare` made.
class BackgroundRegistry final : public RegistryBackend {
 public:
  explicit BackgroundRegistry(std::function<std::unique_ptr<RegistryBackend>()> prepare);
  ~BackgroundRegistry() override;

  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override;
  void refresh() override;

 private:
  std::future<std::unique_ptr<RegistryBackend>> preparing_;
  std::unique_ptr<RegistryBackend> ready_;
};

}  // namespace sacotin
