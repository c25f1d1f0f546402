// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/recent.h"

#include <QString>
#include <algorithm>

#include "platform/paths.h"

namespace {

std::string WithoutTrailingSeparators(std::string dir) {
  while (!dir.empty() && platform::IsPathSeparator(dir.back())) dir.pop_back();
  return dir;
}

}  // namespace

bool cmcRecent::SamePath(const std::string& a, const std::string& b) {
  // Through QString so that letters beyond ASCII compare without case too.
  return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

void cmcRecent::RemoveAll(const std::string& path) {
  std::erase_if(entries_, [&](const std::string& e) { return SamePath(e, path); });
}

void cmcRecent::Trim() {
  if (static_cast<int>(entries_.size()) > capacity_) entries_.resize(std::max(capacity_, 0));
}

int cmcRecent::Count() {
  Trim();
  return static_cast<int>(entries_.size());
}

void cmcRecent::PutFirst(const std::string& path) {
  RemoveAll(path);
  entries_.insert(entries_.begin(), path);
  Trim();
}

void cmcRecent::Append(const std::string& path) {
  RemoveAll(path);
  entries_.push_back(path);
  Trim();
}

std::string cmcRecent::Entry(int n) {
  if (n < 0 || n >= Count()) return {};
  return entries_[n];
}

std::string cmcRecent::DisplayText(int n, const std::string& directory) {
  if (n < 0 || n >= Count()) return {};
  const std::string& path = entries_[n];
  if (directory.empty()) return path;
  std::size_t cut = path.size();
  while (cut > 0 && !platform::IsPathSeparator(path[cut - 1])) --cut;
  if (cut == 0) return path;
  const std::string folder = WithoutTrailingSeparators(path.substr(0, cut));
  if (SamePath(folder, WithoutTrailingSeparators(directory))) return path.substr(cut);
  return path;
}
