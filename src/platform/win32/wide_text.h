// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// UTF-8 texts of the program to and from the UTF-16 of the Windows calls
// that take them (the registry); paths go through std::filesystem::path.

#include <string>

namespace platform {

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

}  // namespace platform
