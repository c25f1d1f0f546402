// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own pages on a real widget, on an initial clone data file,
// through the real cell evaluator and a recording command target.

#include "platform/qtcore/settings_store.h"
#include "support/eval_support.h"
#include "ui/iui_sheet.h"
#include "ui/sheet_support.h"

namespace uitest {

class RealPages : public evaltest::ShippedOverlayTest {
 protected:
  RealPages() {
    static int serial = 0;
    keyPath = "Software\\SeacloneReal" + std::to_string(++serial) + "\\K4T";
    host.resize(800, 600);
  }
  ~RealPages() override { sheet.reset(); }

  iuiSheet& Open(const std::string& key) {
    sheet = std::make_unique<iuiSheet>(bus, &host, nullptr, CL_NoCell, 0, table, key, nullptr);
    sheet->SetSettingsKeyPath(keyPath);
    sheet->Build();
    return *sheet;
  }

  std::string keyPath;
  QWidget host;
  std::unique_ptr<iuiSheet> sheet;
};

}  // namespace uitest
