// SPDX-License-Identifier: GPL-3.0-or-later
// The SERIALCOMM list of the registry: one value per port the drivers have
// announced, named after the driver's device, holding the port's name.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/serial_ports.h"
#include "platform/win32/wide_text.h"

namespace platform {

std::vector<SerialPortEntry> AvailableSerialPorts() {
  std::vector<SerialPortEntry> ports;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return ports;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    wchar_t data[256];
    DWORD nameSize = sizeof name / sizeof name[0];
    DWORD dataSize = sizeof data - sizeof data[0];
    DWORD type = 0;
    const LONG result = ::RegEnumValueW(key, i, name, &nameSize, nullptr, &type,
                                        reinterpret_cast<BYTE*>(data), &dataSize);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS || type != REG_SZ) continue;
    std::wstring port(data, dataSize / sizeof(wchar_t));
    while (!port.empty() && port.back() == L'\0') port.pop_back();
    if (!port.empty()) ports.push_back({Utf8FromWide(port), {}});
  }
  ::RegCloseKey(key);
  return ports;
}

}  // namespace platform
