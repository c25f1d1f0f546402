// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A world for the tree, menu and tool bar builders: the shipped overlay with
// the small fixtures of tests/data/ui before it, an event bus on virtual
// time, and a command target that records every command and answers the
// Edit menu questions from a real main menu, as the main controller does.

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "support/eval_support.h"
#include "ui/menu.h"

namespace buildertest {

class MenuTarget : public evaltest::RecordingTarget {
 public:
  using RecordingTarget::RecordingTarget;
  const void* MainMenu() const override { return mainMenu; }
  int EditMenuItemCount() const override {
    const QAction* edit = mainMenu ? mainMenu->FindItem(CL_Menu_Edit_Top) : nullptr;
    if (!edit) return -1;
    return cuiMenu::MirroredItemCount(edit);
  }
  cuiMenu* mainMenu = nullptr;
};

class BuilderTest : public ::testing::Test {
 protected:
  BuilderTest() : target(&table, bus) {
    const std::string path = dir.filePath("TB58.OVL").toStdString();
    {
      std::ofstream out(path, std::ios::binary);
      for (const char* part :
           {SEACLONE_TEST_DATA "/ui/builders.ovl", SEACLONE_BIN_DIR "/TB58.OVL"}) {
        std::ifstream in(part, std::ios::binary);
        out << in.rdbuf();
      }
    }
    table.Bind(path);
    savedTable = gGTex;
    gGTex = &table;
    SetCommandTarget(&target.Commands());
  }
  ~BuilderTest() override {
    SetCommandTarget(nullptr);
    gGTex = savedTable;
  }

  // Delivers what was posted.
  void Deliver() { time.AdvanceBy(cmcEvMan::kTickMs * 2); }

  platform::ScopedVirtualTime time;
  QTemporaryDir dir;
  cmcGTex table;
  cmcEvMan bus;
  MenuTarget target;
  platform::RecordingResponder responder;
  testsupport::ScriptedQuestions questions{responder};

 private:
  cmcGTex* savedTable = nullptr;
};

}  // namespace buildertest
