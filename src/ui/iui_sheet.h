// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sheet of every page of the program: the page conditions (plans
// switched on, model groups, clone information warnings) and the
// usable-channels view read the document the installed command target
// serves. The conditions themselves are the page layout's.

#include "ui/sheet.h"

class iuiSheet : public cuiSheet {
 public:
  using cuiSheet::cuiSheet;

 protected:
  layout::PageContext MakeContext() const override;
};
