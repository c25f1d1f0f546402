// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/iui_sheet.h"

#include "model/command_target.h"

namespace {

// Byte of the clone information payload that holds the radio's status flags.
constexpr std::size_t kInfoStatusByte = 19;

}  // namespace

layout::PageContext iuiSheet::MakeContext() const {
  layout::PageContext context = cuiSheet::MakeContext();
  if (CommandTarget* target = GetCommandTarget()) {
    context.image = &target->WorkingImage();
    context.modelType = target->ModelType();
    context.usableView = target->UsableChannelsView();
    context.infoStatus = target->RadioInformation()[kInfoStatusByte];
  }
  return context;
}
