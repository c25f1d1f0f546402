// SPDX-License-Identifier: GPL-3.0-or-later
// The named mutex of the classic single-instance check: created, not owned,
// and merely held open while the process runs; nobody waits on it.
#include <windows.h>

#include <filesystem>

#include "platform/instance_guard.h"

namespace platform {

struct InstanceGuard::Impl {
  HANDLE mutex = nullptr;
  bool first = false;
};

// The mutex needs no folder; these name one only for what shows it.
std::string InstanceGuard::RuntimeFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  return error ? std::string() : folder.string();
}

std::string InstanceGuard::UserFolder(const std::string& /*runUserRoot*/,
                                      const std::string& /*tempRoot*/) {
  return RuntimeFolder();
}

InstanceGuard::InstanceGuard(const std::string& name, const std::string& /*folder*/)
    : impl_(std::make_unique<Impl>()) {
  impl_->mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
  impl_->first = impl_->mutex != nullptr && ::GetLastError() != ERROR_ALREADY_EXISTS;
}

InstanceGuard::~InstanceGuard() {
  if (impl_->mutex) ::CloseHandle(impl_->mutex);
}

bool InstanceGuard::Created() const { return impl_->mutex != nullptr; }
bool InstanceGuard::IsFirst() const { return impl_->first; }

}  // namespace platform
