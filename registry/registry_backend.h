#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace sacotin {

// A registry key opened for reading. Destroying it closes the key.
class OpenKey {
 public:
  virtual ~OpenKey() = default;

  // Every subkey name, whole and exact, in the platform's enumeration order.
  virtual void forEachSubkey(const std::function<void(const std::u16string& name)>& visit) = 0;

  // Every value, in the platform's enumeration order: its exact name and its data as the ANSI
  // registry functions hand it over (string types converted to the ANSI code page, with the
  // terminating NUL counted the way the platform counts it), whole, however long. Both are valid
  // during the call only.
  virtual void forEachValue(
      const std::function<void(std::u16string_view name, std::string_view data)>& visit) = 0;
};

// Read-only access to the current user's registry hive (HKEY_CURRENT_USER). A backend and the
// keys it opens are used by one thread at a time, whichever it is: a search run refreshes and
// reads it on a second thread while the window shows the accounts already read.
class RegistryBackend {
 public:
  virtual ~RegistryBackend() = default;

  // Opens a key by its full path relative to the hive, in one call. Null when it can't be
  // opened (missing key, missing or unreadable hive, ...).
  virtual std::unique_ptr<OpenKey> openKey(std::u16string_view path) = 0;

  // Reads again, if it changed, what the next opens of the game's keys answer from, where the
  // backend reads its storage ahead (a Wine prefix's file); others have nothing to do.
  virtual void refresh() {}
};

}  // namespace sacotin
