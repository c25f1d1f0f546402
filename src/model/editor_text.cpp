// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/editor_text.h"

#include <cctype>
#include <cstring>

namespace editor {

namespace {

bool Printable(std::uint8_t c) { return c >= 32 && c <= 126; }

}  // namespace

std::string TextShown(const std::vector<std::uint8_t>& bytes) {
  std::string s;
  for (std::uint8_t c : bytes) s.push_back(Printable(c) ? static_cast<char>(c) : ' ');
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

void EditText(std::vector<std::uint8_t>& bytes, const Input& in, Output& out) {
  if (in.inputMode == 1) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      const std::uint8_t c = i < in.text.size() ? static_cast<std::uint8_t>(in.text[i]) : ' ';
      bytes[i] = Printable(c) ? c : ' ';
    }
    out.changed = true;
  }
  if (KeyPresent(in)) {
    const int a = in.action;
    if (IsEnter(a) || a == kActBackspace || a == kActSpace) {
      StartEditSelected(out, TextShown(bytes));
      return;
    }
    if (a >= 33 && a <= 126) {
      StartEditWith(out, static_cast<char>(a));
      return;
    }
  }
  out.text = TextShown(bytes);
}

bool DigitsValid(const std::vector<std::uint8_t>& bytes) {
  for (std::uint8_t b : bytes) {
    if (b > 99) return false;
  }
  return true;
}

void EditDigits(std::vector<std::uint8_t>& bytes, const Input& in, Output& out) {
  const std::size_t n = bytes.size() * 2;
  if (in.inputMode == 1) {
    const std::string digits = Filter(in.text, "0123456789", in.text.size());
    if (digits.size() == n) {
      for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] =
            static_cast<std::uint8_t>((digits[2 * i] - '0') * 10 + (digits[2 * i + 1] - '0'));
      }
    } else {
      for (auto& b : bytes) b = 0xFF;
    }
    out.changed = true;
  }
  std::string shown;
  if (DigitsValid(bytes)) {
    for (std::uint8_t b : bytes) {
      shown.push_back(static_cast<char>('0' + b / 10));
      shown.push_back(static_cast<char>('0' + b % 10));
    }
  }
  if (KeyPresent(in)) {
    const int a = in.action;
    if (IsDigit(a)) {
      StartEditWith(out, static_cast<char>(a));
      return;
    }
    if (IsEnter(a) || a == '.' || a == kActBackspace || a == kActSpace) {
      StartEditSelected(out, shown);
      return;
    }
  }
  out.text = shown;
}

std::string FitChannelName(const std::string& name) {
  static const char* const kFirstTwo = "AabCcdEFGHhIiJLnOoPrStUuy-=0123456789 ";
  static const char* const kThird = "Ab ";
  std::string fitted = name;
  fitted.resize(3, ' ');
  for (int i = 0; i < 3; ++i) {
    const char* set = i < 2 ? kFirstTwo : kThird;
    const char c = fitted[i];
    auto inSet = [set](char ch) { return ch != '\0' && std::strchr(set, ch) != nullptr; };
    if (inSet(c)) continue;
    const unsigned char u = static_cast<unsigned char>(c);
    const char other = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
    fitted[i] = inSet(other) ? other : ' ';
  }
  return fitted;
}

}  // namespace editor
