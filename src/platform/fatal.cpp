// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fatal.h"

#include <cstdlib>

#include "platform/message_box.h"
#include "platform/paths.h"

namespace platform {
namespace {
FatalHandler& Handler() {
  static FatalHandler handler;
  return handler;
}
}  // namespace

void SetFatalHandler(FatalHandler handler) { Handler() = std::move(handler); }

void Fatal(const std::string& text) {
  if (Handler()) Handler()(text);
  ShowMessage(text, ExecutableFileName(), kMbOk | kMbIconStop);
  std::_Exit(3);
}

}  // namespace platform
