// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/clip.h"

#include <algorithm>

#include "model/eeprom.h"

void cmcClipCh::Clear() {
  records_.clear();
  category_ = 0;
  first_ = 0;
}

void cmcClipCh::CopyFromImage(cmcEeprom& image, int category, int first, int count) {
  Clear();
  if (count < 1) return;
  records_.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    LoadRecord(image, category, first + i, records_[static_cast<std::size_t>(i)]);
  category_ = category;
  first_ = first;
}

void cmcClipCh::LoadRecord(cmcEeprom& image, int category, int index, datCh& record) {
  record.Bind(&image);
  record.Load(static_cast<unsigned>(category), index);
}

bool cmcClipCh::HasRowsOf(int category) const { return category_ != 0 && category_ == category; }

void cmcClipCh::PasteIntoImage(cmcEeprom& image, int category, int first, int count) {
  if (!HasRowsOf(category)) return;
  const int n = std::min(count, Count());
  for (int i = 0; i < n; ++i) {
    // A copy, so the clipboard keeps its rows for the next paste.
    datCh record = records_[static_cast<std::size_t>(i)];
    StoreRecord(image, category, first + i, record);
  }
}

void cmcClipCh::StoreRecord(cmcEeprom& image, int category, int index, datCh& record) {
  record.Bind(&image);
  record.category = static_cast<unsigned>(category);
  record.index = index;
  record.Store();
}
