// SPDX-License-Identifier: GPL-3.0-or-later
// Port > Find the Radio in the main window, and the offer to search after a
// clone command whose radio did not answer.
#include "shell/find_radio_command.h"

#include <QMainWindow>

#include "platform/message_box.h"
#include "radio/radio_finder.h"
#include "shell/navigation.h"
#include "shell/status_line.h"
#include "shell/window_context.h"
#include "text/gtex.h"
#include "ui/find_radio_dialog.h"

int cuiFindRadioOffer::Ask(const std::string& key, unsigned style) {
  Flush();
  return user_.Ask(key, style);
}

void cuiFindRadioOffer::Report(Kind kind, const std::string& text) {
  Flush();
  if (kind == Kind::kError) {
    held_ = text;
  } else {
    user_.Report(kind, text);
  }
}

void cuiFindRadioOffer::Flush() {
  if (!held_) return;
  const std::string text = std::move(*held_);
  held_.reset();
  user_.Report(Kind::kError, text);
}

bool cuiFindRadioOffer::Finish(bool offer) {
  if (!held_ || !offer || !gGTex) {
    Flush();
    return false;
  }
  const std::string text = std::move(*held_) + "\n\n" + gGTex->Block("GI_Mess_FindRadio_Offer");
  held_.reset();
  return platform::ShowMessage(text, gGTex->Text("GI_Sys_AppTitle"),
                               platform::kMbYesNo | platform::kMbIconStop) == platform::kIdYes;
}

namespace shell {

void Navigation::FindRadio() {
  // A running exchange holds its port; the window is disabled meanwhile.
  if (!context_.form || context_.Busy()) return;
  new cuiFindRadioDialog(context_.form, WindowContext::Table(), &radiofind::SystemPorts,
                         [this](int port, const std::string& status) {
                           ports_.SetPort(port);
                           status_.Show(status);
                         });
}

}  // namespace shell
