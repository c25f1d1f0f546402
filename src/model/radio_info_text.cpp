// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/radio_info_text.h"

#include <cstdio>
#include <vector>

#include "model/editor_text.h"
#include "model/memory_map.h"
#include "text/gtex.h"

namespace radioinfo {

std::string ModelText(int model) {
  return model >= 0 && model < memmap::kModelTypes ? gGTex->Line("GI_AppInd_Model", model)
                                                   : std::to_string(model);
}

std::string RevisionText(std::uint8_t revision) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d.%d", revision >> 4, revision & 0x0F);
  return buf;
}

std::string CommentText(const std::uint8_t* comment) {
  return editor::TextShown(std::vector<std::uint8_t>(comment, comment + 16));
}

}  // namespace radioinfo
