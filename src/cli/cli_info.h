// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The radio's information as "caption: value" lines: the texts of the
// information cells, exactly as the program's information dialog shows
// them, one line each; the status warnings only when the radio reports them.

#include <string>
#include <vector>

class cmcDocument;

namespace cli {

std::vector<std::string> InformationLines(cmcDocument& document);

}  // namespace cli
