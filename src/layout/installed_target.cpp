// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/installed_target.h"

#include "model/command_roles.h"
#include "model/command_target.h"
#include "radio/document_target.h"

namespace layout {
namespace {

// The view settings without a window: the usable-channels view as asked,
// the rest as the program starts.
class PlainView : public ViewSettingsRole {
 public:
  explicit PlainView(bool usable) : usable_(usable) {}
  int FontSize() const override { return 100; }
  void SetFontSize(int) override {}
  bool ToolBarVisible() const override { return true; }
  void ToggleToolBar() override {}
  bool UsableChannelsView() const override { return usable_; }

 private:
  bool usable_;
};

}  // namespace

struct InstalledTarget::Parts {
  Parts(cmcDocument& document, bool usable, NavigationRole* navigation)
      : target(document),
        view(usable),
        commands(target, {.view = &view, .ports = &target, .navigation = navigation}),
        previous(GetCommandTarget()) {}

  cmcDocumentTarget target;
  PlainView view;
  CommandTarget commands;
  CommandTarget* previous;
};

InstalledTarget::InstalledTarget(cmcDocument& document, bool usable, NavigationRole* navigation)
    : parts_(std::make_unique<Parts>(document, usable, navigation)) {
  SetCommandTarget(&parts_->commands);
}

InstalledTarget::~InstalledTarget() { SetCommandTarget(parts_->previous); }

}  // namespace layout
