// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font of the output windows: the CellModel_BasicDialog definition.

#include <QFont>

class cmcGTex;

namespace output {

QFont DialogFont(cmcGTex& table);

}  // namespace output
