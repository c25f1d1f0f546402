// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the evaluator's files: the state of one evaluation.

#include <cstdint>
#include <optional>
#include <string>

#include "model/capsule.h"
#include "model/datch.h"
#include "model/editor_common.h"
#include "model/editor_option.h"
#include "model/settings_cells.h"

class cmcCellObj;
class cmcEeprom;
class cmcFCache;
class CommandTarget;

namespace evaluator {

// An option list of the overlay, seen through the option-list cache.
class CachedList : public editor::OptionList {
 public:
  CachedList(cmcFCache& cache, std::string name) : cache_(cache), name_(std::move(name)) {}
  std::string TextFor(int value) override;
  int Step(int value, int d) override;

 private:
  cmcFCache& cache_;
  std::string name_;
};

class CachedLists : public settings::OptionSource {
 public:
  explicit CachedLists(cmcFCache& cache) : cache_(cache) {}
  editor::OptionList& List(const std::string& name) override;

 private:
  cmcFCache& cache_;
  std::optional<CachedList> list_;
};

struct Run {
  Run(cmcCellCapsule& capsule, CommandTarget& t, cmcEeprom& img)
      : cap(capsule), target(t), image(img), view(&img) {}

  cmcCellCapsule& cap;
  CommandTarget& target;
  cmcEeprom& image;
  datCh view;
  cmcCellObj* cell = nullptr;
  std::uint32_t id = 0;
  int category = 0;
  int valueCategory = 0;
  int number = 0;
  bool loaded = false;
  bool restricted = false;
  bool redrawAll = false;
  std::optional<std::uint32_t> color;
  EvalResult result = EvalResult::kDone;

  // The editors' view of the capsule's request.
  editor::Input Input() const;
  // Copies an editor's answer into the capsule.
  void Apply(const editor::Output& out);
  // Opens a chooser over list with current selected; Evaluate returns 1.
  void OpenChooser(const std::string& list, int current);
  void SetCellFlag(int flag, bool on);
  // Stores the loaded channel and loads it again.
  void StoreChannel();
};

// Each returns true when it owns the cell.
bool ChannelCell(Run& run);
bool DrawingCell(Run& run);
bool CommandCell(Run& run);
bool InformationCell(Run& run);
bool SettingsCell(Run& run);

// The plan channels' check: inhibited while P or C channel.
bool AttributeError(const datCh& view);

}  // namespace evaluator
