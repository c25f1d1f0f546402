// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own pages on a real widget, on an initial clone data file,
// through the real cell evaluator and a recording command target.

#include "model/clone_file.h"
#include "platform/settings_store.h"
#include "model/eval_support.h"
#include "model/normalise.h"
#include "ui/iui_sheet.h"
#include "ui/sheet_support.h"
#include "support/initial_image.h"

namespace uitest {

class RealPages : public ::testing::Test {
 protected:
  RealPages() : target(&table) {
    table.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
    savedTable = gGTex;
    gGTex = &table;
    savedBus = gEvMan;
    gEvMan = &bus;
    SetCommandTarget(&target.Commands());
    static int serial = 0;
    keyPath = "Software\\SeacloneReal" + std::to_string(++serial) + "\\K4T";
    host.resize(800, 600);
  }
  ~RealPages() override {
    sheet.reset();
    SetCommandTarget(nullptr);
    gEvMan = savedBus;
    gGTex = savedTable;
  }

  void UseModel(int model, bool usable) {
    ASSERT_EQ(testsupport::LoadInitialImage(table, model, target.image), CloneFileCode::kOk) << model;
    target.model = model;
    target.usable = usable;
  }

  iuiSheet& Open(const std::string& key) {
    sheet = std::make_unique<iuiSheet>(&host, nullptr, CL_NoCell, 0, table, key, nullptr);
    sheet->SetSettingsKeyPath(keyPath);
    sheet->Build();
    return *sheet;
  }

  platform::ScopedVirtualTime time;
  cmcEvMan bus;
  cmcEvMan* savedBus = nullptr;
  cmcGTex table;
  cmcGTex* savedTable = nullptr;
  evaltest::RecordingTarget target;
  std::string keyPath;
  QWidget host;
  std::unique_ptr<iuiSheet> sheet;
};

}  // namespace uitest
