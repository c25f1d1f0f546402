// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drop-down choice window: a borderless popup that shows a list sheet
// under the cell it was opened from. Enter, a double click or a left-button
// release on an item hands it to the cell evaluator as a popup choice on the
// opening cell (the list sheet does that) and hides the window; Escape, a
// click elsewhere, the owner grid going away (ev::SheetDestroyed) and
// ev::CommitEditor close it. Hidden or closed, it deletes itself later, so a
// caller never frees it and may keep only a QPointer.
//
// What NavigationRole::OpenChooser receives is all it needs:
//
//   void OpenChooser(const cmcCellCapsule& capsule, const std::string& list, int current) override
//   {
//     new cuiFlector(bus, capsule, Flex0, current, table, list, &images);
//   }
//
// The capsule is the one a sheet handed to the evaluator: its grid owns the
// window and its rectangle (in that grid's viewport) places it. The list's
// items are Flex0 cells numbered with their values, so (Flex0, current)
// puts the cursor on the current choice.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "model/capsule.h"

class cmcGTex;
class cuiGrid;
class cuiImageList;
class cuiSheet;
class cmcEvMan;

class cuiFlector : public QWidget {
 public:
  // Opens at once. images may be null (no marks).
  cuiFlector(cmcEvMan& bus, const cmcCellCapsule& capsule, std::uint32_t cell, int number,
             cmcGTex& table, const std::string& listKey, const cuiImageList* images);
  ~cuiFlector() override;
  cuiFlector(const cuiFlector&) = delete;
  cuiFlector& operator=(const cuiFlector&) = delete;

  cuiSheet& Sheet() { return *sheet_; }
  const std::string& ListKey() const { return listKey_; }
  // Hides the window; it is freed once control is back in the event loop.
  void Release();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void FitToList(const QRect& work);

  cmcEvMan& bus_;
  cuiGrid* owner_;
  cmcGTex& table_;
  std::string listKey_;
  const cuiImageList* images_;
  std::unique_ptr<cuiSheet> sheet_;
  bool released_ = false;
};
