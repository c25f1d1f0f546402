// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel clipboard: whole channels copied out of the image and pasted
// back, inside the program (not the system clipboard). Records go through
// the channel record view, so a pasted channel keeps its attributes and its
// P/C flags, and rows are independent of the image they came from.

#include <vector>

#include "model/datch.h"

class cmcEeprom;

class cmcClipCh {
 public:
  cmcClipCh() = default;
  virtual ~cmcClipCh() = default;
  cmcClipCh(const cmcClipCh&) = default;
  cmcClipCh& operator=(const cmcClipCh&) = default;

  // Frees the records and zeroes every field.
  virtual void Clear();
  // Clears, then loads count channels first .. first + count - 1.
  virtual void CopyFromImage(cmcEeprom& image, int category, int first, int count);
  virtual void LoadRecord(cmcEeprom& image, int category, int index, datCh& record);
  // True when the clipboard holds rows of this (non-zero) category.
  virtual bool HasRowsOf(int category) const;
  // Stores records 0 .. min(count, Count()) - 1 at first, first + 1, ...
  // when the clipboard holds rows of the category; else nothing.
  virtual void PasteIntoImage(cmcEeprom& image, int category, int first, int count);
  // Binds the record to the image and stores it as (category, index).
  virtual void StoreRecord(cmcEeprom& image, int category, int index, datCh& record);

  int Category() const { return category_; }
  int First() const { return first_; }
  int Count() const { return static_cast<int>(records_.size()); }
  const std::vector<datCh>& Records() const { return records_; }

 private:
  std::vector<datCh> records_;
  int category_ = 0;
  int first_ = 0;
};

// The clipboard the main controller owns, one for the whole program.
class datClipCh : public cmcClipCh {};
