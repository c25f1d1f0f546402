// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The recent-file list of the File menu: full paths, most recent first, at
// most a fixed number, never two that differ only in letter case.

#include <string>
#include <vector>

class cmcRecent {
 public:
  explicit cmcRecent(int capacity = 10) : capacity_(capacity) {}

  int Capacity() const { return capacity_; }
  void Clear() { entries_.clear(); }
  // The number of entries, after dropping any beyond the capacity.
  int Count();

  // Moves path to the top (after a successful open or save).
  void PutFirst(const std::string& path);
  // Moves path to the end, or adds it there (while loading).
  void Append(const std::string& path);

  // Entry n, or the empty text for n at or beyond Count.
  std::string Entry(int n);
  // Entry n as the menu shows it: only its file name when it lies in
  // directory (trailing separators and letter case do not matter), else the
  // full path. An empty directory gives the full path.
  std::string DisplayText(int n, const std::string& directory);

  // Equality of two paths as the list judges it: ignoring letter case.
  static bool SamePath(const std::string& a, const std::string& b);

 private:
  void RemoveAll(const std::string& path);
  void Trim();

  int capacity_;
  std::vector<std::string> entries_;
};
