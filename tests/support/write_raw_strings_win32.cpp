// Adds to the registry conformance tree (tests/data/registry/conformance-tree.utf8.reg) the
// string values regedit can't write: REG_SZ and REG_MULTI_SZ data without a terminating NUL,
// of an odd byte length, or of no byte at all. tools/test-windows.sh builds it with MinGW-w64
// and runs it under Wine after the import; the registry functions of Wine write the values.
#include <windows.h>

#include <cstdio>

namespace {

// "AB" in UTF-16 without NUL. The character after it must not be NUL: the registry functions
// count a NUL that follows a string's data as part of it, "to help the caller".
const BYTE kAB[] = {'A', 0, 'B', 0, 'X', 0};
// "A" and half a character.
const BYTE kOdd[] = {'A', 0, 'B', 'X', 0};

struct RawString {
  const wchar_t* key;
  const wchar_t* name;
  DWORD type;
  const BYTE* data;
  DWORD size;
};

const RawString kValues[] = {
    {L"Software\\Vircom\\T4C\\odd\\Characters\\c\\Inventory", L"ApiSzNoNul", REG_SZ, kAB, 4},
    {L"Software\\Vircom\\T4C\\odd\\Characters\\c\\Inventory", L"ApiSzOddLen", REG_SZ, kOdd, 3},
    {L"Software\\Vircom\\T4C\\odd\\Characters\\c\\Inventory", L"ApiSzZeroLen", REG_SZ, nullptr, 0},
    {L"Software\\Vircom\\T4C\\odd\\Characters\\c\\Inventory", L"ApiMultiNoNul", REG_MULTI_SZ, kAB,
     4},
    {L"Software\\Vircom\\T4C\\odd\\Characters\\s\\Inventory", L"ItemIApiSzNoNul", REG_SZ, kAB, 4},
    {L"Software\\Vircom\\T4C\\odd\\Characters\\s\\Inventory", L"ItemIApiSzOddLen", REG_SZ, kOdd, 3},
};

}  // namespace

int main() {
  int failures = 0;
  for (const RawString& value : kValues) {
    HKEY key = nullptr;
    LSTATUS result = RegCreateKeyExW(HKEY_CURRENT_USER, value.key, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
      result = RegSetValueExW(key, value.name, 0, value.type, value.data, value.size);
      RegCloseKey(key);
    }
    if (result != ERROR_SUCCESS) {
      std::fprintf(stderr, "could not write %ls: error %ld\n", value.name, result);
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
