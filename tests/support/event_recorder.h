// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records every event a bus carries, in delivery order, each as its own
// struct, so that a test checks what was said without subscribing to it.

#include <any>
#include <vector>

#include "base/evman.h"

namespace testsupport {

class EventRecorder {
 public:
  explicit EventRecorder(cmcEvMan& bus) : bus_(bus) {
    Record<ev::SheetDestroyed>();
    Record<ev::CommandsChanged>();
    Record<ev::ShowAbout>();
    Record<ev::StatusText>();
    Record<ev::RefreshMenus>();
    Record<ev::ClearCellMenu>();
    Record<ev::FillCellMenu>();
    Record<ev::AskCellDefinition>();
    Record<ev::RedrawAllCells>();
    Record<ev::RedrawCellsOfCell>();
    Record<ev::RedrawCellsOfNumber>();
    Record<ev::RefreshToolBar>();
    Record<ev::CommitEditor>();
    Record<ev::RebuildChannelNodes>();
    Record<ev::AttributeChosen>();
  }
  ~EventRecorder() { bus_.Unsubscribe(this); }
  EventRecorder(const EventRecorder&) = delete;
  EventRecorder& operator=(const EventRecorder&) = delete;

  // The events of type E delivered so far.
  template <class E>
  std::vector<E> Of() const {
    std::vector<E> found;
    for (const std::any& event : log_)
      if (const E* e = std::any_cast<E>(&event)) found.push_back(*e);
    return found;
  }
  // The numbers of every event delivered so far.
  std::vector<int> Numbers() const { return numbers_; }
  void Clear() {
    log_.clear();
    numbers_.clear();
  }

 private:
  template <class E>
  void Record() {
    bus_.Subscribe<E>(this, [this](const E& e) {
      log_.emplace_back(e);
      numbers_.push_back(E::kNumber);
    });
  }

  cmcEvMan& bus_;
  std::vector<std::any> log_;
  std::vector<int> numbers_;
};

}  // namespace testsupport
