// The current user's registry hive read through advapi32, read-only.
//
// Names and paths travel through the wide (UTF-16) functions, so a name keeps its exact text
// even when the ANSI code page has no character for some of its letters (the ANSI functions
// would hand back "???" or a best-fit look-alike, which then opens nothing or another key),
// and a path of any length opens in one call (the ANSI open converts paths through a fixed
// 260-character buffer). Value data is what RegEnumValueA hands over: string types converted
// to the ANSI code page by the system itself, with its own count of the terminating NUL.
//
// Every name and every data block is read whole: when a buffer is too small the call is
// repeated with a larger one, so nothing is ever taken from a blank, truncated or stale buffer.
#include <windows.h>

#include <vector>

#include "registry/registry_backend.h"

namespace sacotin {
namespace {

// Value names may hold 16383 characters; in a multi-byte code page each may take 3 bytes.
// Buffers stop growing past this size: a call still asking for more is treated as a failure.
constexpr DWORD kLargestName = 65536;

std::wstring toWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

std::u16string fromWide(const wchar_t* text, DWORD length) {
  return std::u16string(text, text + length);
}

// Buffers start at the size of the longest names Windows allows (255 characters plus NUL)
// and of ordinary item data; longer names and data make them grow.
constexpr std::size_t kFirstBufferSize = 256;

template <typename Char>
bool grow(std::vector<Char>& buffer) {
  if (buffer.size() >= kLargestName) return false;
  buffer.resize(buffer.size() * 2);
  return true;
}

class Win32Key final : public OpenKey {
 public:
  explicit Win32Key(HKEY key) : key_(key) {}
  ~Win32Key() override { RegCloseKey(key_); }
  Win32Key(const Win32Key&) = delete;
  Win32Key& operator=(const Win32Key&) = delete;

  void forEachSubkey(const std::function<void(const std::u16string& name)>& visit) override {
    std::vector<wchar_t> name(kFirstBufferSize);
    for (DWORD index = 0;;) {
      DWORD length = static_cast<DWORD>(name.size());
      const LSTATUS result =
          RegEnumKeyExW(key_, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_MORE_DATA && grow(name)) continue;
      // ERROR_NO_MORE_ITEMS ends the list; any other failure leaves no name to hand over and
      // no way to know how many entries remain, so the enumeration ends there too.
      if (result != ERROR_SUCCESS) return;
      visit(fromWide(name.data(), length));
      ++index;
    }
  }

  void forEachValue(
      const std::function<void(std::u16string_view name, std::string_view data)>& visit) override {
    std::vector<wchar_t> wideName(kFirstBufferSize);
    std::vector<char> ansiName(kFirstBufferSize);
    std::vector<BYTE> data(kFirstBufferSize);
    for (DWORD index = 0;; ++index) {
      DWORD nameLength = 0;
      if (!readValueName(index, wideName, nameLength)) return;
      DWORD dataLength = 0;
      if (!readAnsiData(index, ansiName, data, dataLength)) return;
      visit(fromWide(wideName.data(), nameLength),
            std::string_view(reinterpret_cast<const char*>(data.data()), dataLength));
    }
  }

 private:
  // The exact name of value `index`; false at the end of the list or on a failure.
  bool readValueName(DWORD index, std::vector<wchar_t>& name, DWORD& length) {
    for (;;) {
      length = static_cast<DWORD>(name.size());
      const LSTATUS result =
          RegEnumValueW(key_, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_MORE_DATA && grow(name)) continue;
      return result == ERROR_SUCCESS;
    }
  }

  // The data of value `index` as the ANSI enumeration hands it over. The ANSI call also
  // insists on writing the (ANSI) name, so that buffer must fit as well; after a data
  // overflow the call reports the size it needs, after a name overflow the buffer doubles.
  bool readAnsiData(DWORD index, std::vector<char>& name, std::vector<BYTE>& data, DWORD& length) {
    for (;;) {
      DWORD nameLength = static_cast<DWORD>(name.size());
      length = static_cast<DWORD>(data.size());
      const LSTATUS result = RegEnumValueA(key_, index, name.data(), &nameLength, nullptr, nullptr,
                                           data.data(), &length);
      if (result != ERROR_MORE_DATA) return result == ERROR_SUCCESS;
      if (length > data.size()) {
        data.resize(length);
      } else if (!grow(name)) {
        return false;
      }
    }
  }

  HKEY key_;
};

class Win32CurrentUserRegistry final : public RegistryBackend {
 public:
  std::unique_ptr<OpenKey> openKey(std::u16string_view path) override {
    // The wide call would stop at a NUL and open a shorter path: no key has such a name.
    if (path.find(u'\0') != std::u16string_view::npos) return nullptr;
    const std::wstring widePath = toWide(path);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, widePath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
      return nullptr;
    }
    return std::make_unique<Win32Key>(key);
  }
};

}  // namespace

std::unique_ptr<RegistryBackend> makeAdvapi32Registry() {
  return std::make_unique<Win32CurrentUserRegistry>();
}

}  // namespace sacotin
