// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The undo and redo history of a document: whole copies of the working
// image, one per step that changed it. An image is small (a few kilobytes),
// so copies are simpler and safer than recording what each cell wrote, and
// a paste of many rows is naturally one step.
//
// The list is bounded: beyond kMaxSteps the oldest step is forgotten, which
// keeps the memory at about kMaxSteps images (under a megabyte).

#include <cstddef>
#include <deque>

#include "model/eeprom.h"

class cmcUndoHistory {
 public:
  static constexpr std::size_t kMaxSteps = 200;

  // Forgets every step; current is the state the history starts from.
  void Reset(const cmcEeprom& current);
  // A new step when current differs from the state last recorded or
  // restored; a new step drops whatever could have been redone. false
  // when nothing changed.
  bool Record(const cmcEeprom& current);
  // Replaces the state last recorded or restored without making a step,
  // for changes no user would undo on their own (normalisation on save).
  void Rebase(const cmcEeprom& current);

  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ + 1 < states_.size(); }
  // The state to restore, or nullptr when there is none.
  const cmcEeprom* Undo();
  const cmcEeprom* Redo();

 private:
  std::deque<cmcEeprom> states_;
  std::size_t position_ = 0;  // the state the working image is in
};
