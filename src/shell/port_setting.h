// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The port every exchange of the window uses: the Port menu's setting. The
// clone manager of the working document follows a change at once.

#include "model/command_roles.h"

class cmcEvMan;
class indCloneMan;

namespace shell {

class PortSetting : public PortRole {
 public:
  explicit PortSetting(cmcEvMan& bus) : bus_(bus) {}

  // The clone manager that takes a new port at once (not owned; null: none).
  void Follow(indCloneMan* man) { follower_ = man; }

  int CurrentPort() const override;
  void SetPort(int port) override;

 private:
  cmcEvMan& bus_;
  indCloneMan* follower_ = nullptr;
};

}  // namespace shell
