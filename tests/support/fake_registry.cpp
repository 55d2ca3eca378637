#include "support/fake_registry.h"

#include <algorithm>

namespace sacotin::testing {
namespace {

std::u16string u16(const QString& text) { return text.toStdU16String(); }

}  // namespace

// Reads the key's entries from the registry at each enumeration, like the platform does.
class FakeRegistry::FakeOpenKey final : public OpenKey {
 public:
  FakeOpenKey(const FakeRegistry& registry, std::u16string path, std::shared_ptr<int> openNow)
      : registry_(registry), path_(std::move(path)), openNow_(std::move(openNow)) {
    ++*openNow_;
  }
  ~FakeOpenKey() override { --*openNow_; }

  void forEachSubkey(const std::function<void(const std::u16string&)>& visit) override {
    const auto key = registry_.keys_.find(path_);
    if (key == registry_.keys_.end()) return;
    const auto subkeys = key->second.subkeys;  // a copy: the visitor may not change it
    for (const auto& name : subkeys) visit(name);
  }

  void forEachValue(
      const std::function<void(std::u16string_view, std::string_view)>& visit) override {
    const auto key = registry_.keys_.find(path_);
    if (key == registry_.keys_.end()) return;
    const auto values = key->second.values;
    for (const auto& [name, data] : values) visit(name, data);
  }

 private:
  const FakeRegistry& registry_;
  std::u16string path_;
  std::shared_ptr<int> openNow_;
};

FakeRegistry::FakeRegistry() = default;
FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Key& FakeRegistry::keyAt(const std::u16string& path) {
  const auto found = keys_.find(path);
  if (found != keys_.end()) return found->second;
  const auto separator = path.rfind(u'\\');
  if (separator != std::u16string::npos) {
    keyAt(path.substr(0, separator)).subkeys.push_back(path.substr(separator + 1));
  }
  return keys_[path];
}

void FakeRegistry::addKey(const QString& path) { keyAt(u16(path)); }

void FakeRegistry::addValue(const QString& keyPath, const QString& name, const QByteArray& data) {
  keyAt(u16(keyPath)).values.emplace_back(u16(name), data.toStdString());
}

void FakeRegistry::removeKey(const QString& path) {
  const std::u16string removed = u16(path);
  const std::u16string below = removed + u'\\';
  std::erase_if(keys_, [&](const auto& entry) {
    return entry.first == removed || entry.first.starts_with(below);
  });
  const auto separator = removed.rfind(u'\\');
  if (separator == std::u16string::npos) return;
  const auto parent = keys_.find(removed.substr(0, separator));
  if (parent != keys_.end()) std::erase(parent->second.subkeys, removed.substr(separator + 1));
}

void FakeRegistry::clearValues(const QString& keyPath) {
  const auto found = keys_.find(u16(keyPath));
  if (found != keys_.end()) found->second.values.clear();
}

QString FakeRegistry::accountsPath() { return QStringLiteral("Software\\Vircom\\T4C"); }

QString FakeRegistry::accountPath(const QString& account) {
  return accountsPath() + '\\' + account;
}

QString FakeRegistry::charactersPath(const QString& account) {
  return accountPath(account) + QStringLiteral("\\Characters");
}

QString FakeRegistry::inventoryPath(const QString& account, const QString& character) {
  return charactersPath(account) + '\\' + character + QStringLiteral("\\Inventory");
}

void FakeRegistry::addCharacter(const QString& account, const QString& character) {
  addKey(charactersPath(account) + '\\' + character);
}

void FakeRegistry::addItem(const QString& account, const QString& character, int itemNumber) {
  const QString path = inventoryPath(account, character);
  const auto slotCount = keyAt(u16(path)).values.size();
  QByteArray data;
  data.append(char(itemNumber & 0xFF));
  data.append(char((itemNumber >> 8) & 0xFF));
  addValue(path, QStringLiteral("ItemID") + QString::number(slotCount), data);
}

std::unique_ptr<OpenKey> FakeRegistry::openKey(std::u16string_view path) {
  ++opens_;
  const std::u16string wanted(path);
  if (onOpen) onOpen(QString::fromStdU16String(wanted));
  if (!keys_.contains(wanted)) return nullptr;
  return std::make_unique<FakeOpenKey>(*this, wanted, openNow_);
}

namespace {

class SharedRegistry final : public RegistryBackend {
 public:
  explicit SharedRegistry(std::shared_ptr<RegistryBackend> registry)
      : registry_(std::move(registry)) {}
  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override {
    return registry_->openKey(path);
  }
  void refresh() override { registry_->refresh(); }

 private:
  std::shared_ptr<RegistryBackend> registry_;
};

}  // namespace

std::unique_ptr<RegistryBackend> sharedWithTest(std::shared_ptr<RegistryBackend> registry) {
  return std::make_unique<SharedRegistry>(std::move(registry));
}

}  // namespace sacotin::testing
