// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tests compare result codes with their documented numbers.
#include <type_traits>

template <class E>
requires std::is_enum_v<E>
constexpr int Num(E e) { return static_cast<int>(e); }
