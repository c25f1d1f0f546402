// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/port_choice.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>

namespace portchoice {
namespace {

std::string Trim(const std::string& text) {
  const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
  auto first = std::find_if(text.begin(), text.end(), notSpace);
  auto last = std::find_if(text.rbegin(), text.rend(), notSpace).base();
  return first < last ? std::string(first, last) : std::string();
}

// Leading optional sign and digits; 0 when there are no digits or the value
// does not fit.
int LeadingNumber(const std::string& text, std::size_t from, bool wholeText) {
  const char* begin = text.data() + std::min(from, text.size());
  const char* end = text.data() + text.size();
  if (begin < end && *begin == '+') ++begin;
  int value = 0;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc()) return 0;
  if (wholeText && ptr != end) return 0;
  return value;
}

}  // namespace

int ParseTypedNumber(const std::string& text) { return LeadingNumber(Trim(text), 0, true); }

int ParseListedNumber(const std::string& text) {
  const bool com = text.rfind("COM", 0) == 0;
  return LeadingNumber(text, com ? 3 : 0, false);
}

int NumberFromDeviceName(const std::string& name) {
  std::string kept;
  for (char c : name) {
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-') kept += c;
  }
  if (kept.empty()) return 0;
  char* end = nullptr;
  const double value = std::strtod(kept.c_str(), &end);
  if (end == kept.c_str() || !std::isfinite(value) || std::fabs(value) > 1e9) return 0;
  return static_cast<int>(std::trunc(value + 0.5));
}

std::vector<std::string> NumberList(std::vector<int> numbers) {
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  std::vector<std::string> list;
  for (int n : numbers) list.push_back(std::to_string(n));
  return list;
}

std::vector<std::string> NameList(const std::vector<PortDevice>& devices,
                                  const std::vector<int>& presentNumbers) {
  std::multimap<int, std::string> ordered;
  for (const PortDevice& d : devices) {
    if (d.friendlyName.empty() || d.portName.rfind("COM", 0) != 0) continue;
    const int n = ParseListedNumber(d.portName);
    if (std::find(presentNumbers.begin(), presentNumbers.end(), n) == presentNumbers.end()) {
      continue;
    }
    ordered.emplace(n, d.portName.substr(3) + ": " + d.friendlyName);
  }
  std::vector<std::string> list;
  for (auto& [n, text] : ordered) list.push_back(text);
  return list;
}

int IndexOfPort(const std::vector<std::string>& list, int port) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (ParseListedNumber(list[i]) == port) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace portchoice
