#include "registry/background_registry.h"

namespace sacotin {

BackgroundRegistry::BackgroundRegistry(std::function<std::unique_ptr<RegistryBackend>()> prepare)
    : preparing_(std::async(std::launch::async, std::move(prepare))) {}

// Never leaves the second thread running on what it reads.
BackgroundRegistry::~BackgroundRegistry() {
  if (preparing_.valid()) preparing_.wait();
}

std::unique_ptr<OpenKey> BackgroundRegistry::openKey(std::u16string_view path) {
  if (preparing_.valid()) ready_ = preparing_.get();
  return ready_ ? ready_->openKey(path) : nullptr;
}

void BackgroundRegistry::refresh() {
  if (preparing_.valid()) ready_ = preparing_.get();
  if (ready_) ready_->refresh();
}

}  // namespace sacotin
