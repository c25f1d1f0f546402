// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/undo_history.h"

void cmcUndoHistory::Reset(const cmcEeprom& current) {
  states_.clear();
  states_.push_back(current);
  position_ = 0;
}

bool cmcUndoHistory::Record(const cmcEeprom& current) {
  if (states_.empty()) {
    Reset(current);
    return false;
  }
  if (!current.Differs(states_[position_])) return false;
  states_.erase(states_.begin() + static_cast<std::ptrdiff_t>(position_) + 1, states_.end());
  states_.push_back(current);
  if (states_.size() > kMaxSteps + 1) states_.pop_front();
  position_ = states_.size() - 1;
  return true;
}

void cmcUndoHistory::Rebase(const cmcEeprom& current) {
  if (states_.empty()) return Reset(current);
  states_[position_] = current;
}

const cmcEeprom* cmcUndoHistory::Undo() {
  if (!CanUndo()) return nullptr;
  return &states_[--position_];
}

const cmcEeprom* cmcUndoHistory::Redo() {
  if (!CanRedo()) return nullptr;
  return &states_[++position_];
}
