// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store is the registry key HKCU\<key path>; a group is a
// subkey of it, a value a REG_SZ value of the subkey.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/settings_group.h"
#include "platform/win32/wide_text.h"

namespace platform {
namespace {

std::wstring GroupKey(const std::string& keyPath, const std::string& group) {
  return WideFromUtf8(keyPath + "\\" + group);
}

// Closes the key on every way out.
struct Key {
  HKEY handle = nullptr;
  ~Key() {
    if (handle) ::RegCloseKey(handle);
  }
};

}  // namespace

std::vector<SettingsValue> ReadSettingsGroup(const std::string& group, const std::string& keyPath) {
  std::vector<SettingsValue> values;
  Key key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, GroupKey(keyPath, group).c_str(), 0, KEY_READ,
                      &key.handle) != ERROR_SUCCESS)
    return values;
  DWORD longestName = 0;
  DWORD longestData = 0;
  if (::RegQueryInfoKeyW(key.handle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS)
    return values;
  std::wstring name(longestName + 1, L'\0');
  std::wstring data(longestData / sizeof(wchar_t) + 1, L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    DWORD type = 0;
    const LONG result = ::RegEnumValueW(key.handle, i, name.data(), &nameSize, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data.data()), &dataSize);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) continue;
    std::wstring text(data.data(), dataSize / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    values.push_back({Utf8FromWide(std::wstring(name.data(), nameSize)), Utf8FromWide(text)});
  }
  return values;
}

bool WriteSettingsValue(const std::string& group, const std::string& name, const std::string& value,
                        const std::string& keyPath) {
  Key key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, GroupKey(keyPath, group).c_str(), 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key.handle, nullptr) != ERROR_SUCCESS)
    return false;
  const std::wstring data = WideFromUtf8(value);
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(key.handle, WideFromUtf8(name).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool RemoveSettingsGroup(const std::string& group, const std::string& keyPath) {
  const LONG result = ::RegDeleteTreeW(HKEY_CURRENT_USER, GroupKey(keyPath, group).c_str());
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

}  // namespace platform
