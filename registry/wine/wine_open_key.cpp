// The registry interface over a parsed user.reg: opened keys and the paths that lead to them.
#include "registry/wine/wine_open_key.h"

#include <functional>
#include <utility>

#include "registry/wine/wine_registry_text.h"

namespace sacotin {
namespace {

using KeyId = WineRegistryFile::KeyId;

// Both kinds of parse give their tree; the values of a whole file's keys are in its tree.
const WineRegistryFile& treeOf(const WineRegistryFile& file) { return file; }
const WineRegistryFile& treeOf(const WineKeysAround& keys) { return keys.tree(); }

// `Tree` is a const WineRegistryFile or a WineKeysAround.
template <typename Tree>
class WineOpenKey final : public OpenKey {
 public:
  WineOpenKey(std::shared_ptr<Tree> tree, KeyId key, std::shared_ptr<const AnsiCodePage> codePage)
      : tree_(std::move(tree)), key_(key), codePage_(std::move(codePage)) {}

  void forEachSubkey(const std::function<void(const std::u16string& name)>& visit) override {
    const WineRegistryFile& keys = treeOf(*tree_);
    const std::size_t count = keys.subkeyCount(key_);
    for (std::size_t i = 0; i < count; ++i) {
      visit(std::u16string(keys.keyName(keys.subkey(key_, i))));
    }
  }

  void forEachValue(
      const std::function<void(std::u16string_view name, std::string_view data)>& visit) override {
    std::string converted;  // one buffer for every converted data
    tree_->forEachValue(key_, [&](const WineValue& value) {
      visit(value.name, ansiValueData(*codePage_, value.type, value.data, converted));
    });
  }

 private:
  std::shared_ptr<Tree> tree_;
  KeyId key_;
  std::shared_ptr<const AnsiCodePage> codePage_;
};

}  // namespace

std::unique_ptr<OpenKey> openWineKey(std::shared_ptr<const WineRegistryFile> file, KeyId key,
                                     std::shared_ptr<const AnsiCodePage> codePage) {
  return std::make_unique<WineOpenKey<const WineRegistryFile>>(std::move(file), key,
                                                               std::move(codePage));
}

std::unique_ptr<OpenKey> openWineKey(std::shared_ptr<WineKeysAround> keys, KeyId key,
                                     std::shared_ptr<const AnsiCodePage> codePage) {
  return std::make_unique<WineOpenKey<WineKeysAround>>(std::move(keys), key, std::move(codePage));
}

std::optional<WineRegistryFile::KeyId> resolveWinePath(const WineRegistryFile& file,
                                                       std::u16string_view path) {
  std::optional<WineRegistryFile::KeyId> key = WineRegistryFile::kRoot;
  if (path.starts_with(u'\\')) return std::nullopt;
  wine_text::forEachComponent(path, [&](std::u16string_view component) {
    const auto child = component.size() > WineRegistryFile::kMaxKeyNameLength
                           ? std::nullopt
                           : file.findSubkey(*key, component);
    // A symbolic link points outside this file (usually into HKEY_LOCAL_MACHINE).
    key = child && !file.isLink(*child) ? child : std::nullopt;
    return key.has_value();
  });
  return key;
}

std::string_view ansiValueData(const AnsiCodePage& codePage, std::uint32_t type,
                               std::string_view raw, std::string& converted) {
  if (type != kRegSz && type != kRegExpandSz && type != kRegMultiSz) return raw;
  std::u16string units(raw.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                     (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
  }
  converted = codePage.encode(units);
  return converted;
}

}  // namespace sacotin
