// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/port_setting.h"

#include "base/events.h"
#include "base/evman.h"
#include "radio/clone_man.h"
#include "settings/environ.h"

namespace shell {

int PortSetting::CurrentPort() const { return gEnviron ? gEnviron->ComPort : 1; }

void PortSetting::SetPort(int port) {
  if (gEnviron) gEnviron->ComPort = port;
  if (follower_) follower_->SetPortNumber(port);
  bus_.Send(ev::CommandsChanged{});
}

}  // namespace shell
