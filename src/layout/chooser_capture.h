// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A navigation role that opens nothing: it remembers the chooser a cell
// asks for, where the window would open it. The import picks a value from
// that list, and the export names the list's values as the cell's allowed
// ones.

#include <cstdint>
#include <optional>
#include <string>

#include "model/capsule.h"
#include "model/command_roles.h"

namespace layout {

class ChooserCapture : public NavigationRole {
 public:
  void OpenSheet(const std::string&) override {}
  void OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey, int) override;
  const void* MainMenu() const override { return nullptr; }
  int EditMenuItemCount() const override { return -1; }
  void OpenPortSelection(int) override {}
  void CloseMainWindow() override {}

  std::optional<std::string> list;
  cmcCellCapsule opener;
};

}  // namespace layout
