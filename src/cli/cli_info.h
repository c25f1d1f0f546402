#pragma once
// The radio's information as "caption: value" lines, with the texts the
// information cells show.

#include <string>
#include <vector>

#include "radio/clone_man_info.h"

namespace cli {

std::vector<std::string> InformationLines(const cmcRadioInfo& info);

}  // namespace cli
