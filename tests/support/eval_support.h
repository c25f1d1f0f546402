// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small world for evaluating cells: a working image, the overlay's real
// option lists and messages, an event bus on virtual time that records what
// is published, a message responder that records and answers, and a
// command target that records every command it is asked to run.

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/evman.h"
#include "model/capsule.h"
#include "model/cell.h"
#include "model/clip.h"
#include "model/command_target.h"
#include "model/datch.h"
#include "model/eeprom.h"
#include "model/evaluator.h"
#include "model/fcache.h"
#include "model/memory_map.h"
#include "model/settings_cells.h"
#include "platform/canvas.h"
#include "platform/fatal.h"
#include "platform/recording_responder.h"
#include "platform/temporary_folder.h"
#include "platform/virtual_timer_service.h"
#include "support/event_recorder.h"
#include "support/initial_image.h"
#include "support/scripted_questions.h"
#include "text/gtex.h"

namespace evaltest {

class RecordingTarget : public DocumentRole,
                        public FileChoiceRole,
                        public TransferRole,
                        public ViewSettingsRole,
                        public PortRole,
                        public OutputHelpRole,
                        public NavigationRole {
 public:
  RecordingTarget(cmcGTex* table, cmcEvMan& bus)
      : cache(table), image(memmap::kImageSize), bus_(bus) {}

  // Every role present.
  CommandTarget& Commands() { return commands; }

  cmcEeprom& WorkingImage() override { return image; }
  cmcFCache& OptionCache() override { return cache; }
  datClipCh& Clipboard() override { return clip; }
  int ModelType() const override { return model; }
  bool UsableChannelsView() const override { return usable; }
  int CurrentPort() const override { return port; }
  int FontSize() const override { return fontSize; }
  bool ToolBarVisible() const override { return toolBar; }
  bool CanPrintCurrent() const override { return printable; }
  std::string RecentFile(int n) const override {
    return n < static_cast<int>(recent.size()) ? recent[static_cast<std::size_t>(n)]
                                               : std::string();
  }
  bool HasFileName() const override { return named; }
  std::array<std::uint8_t, 28> RadioInformation() const override { return info; }
  const void* MainMenu() const override { return &mainMenu; }
  int EditMenuItemCount() const override { return editItems; }

  void FileNew() override { Call("New"); }
  void FileOpen() override { Call("Open"); }
  void FileSave() override { Call("Save"); }
  void FileSaveAs() override { Call("SaveAs"); }
  void PrintCurrent() override { Call("PrintCurrent"); }
  void PrintAll() override { Call("PrintAll"); }
  void OpenRecent(int n) override { Call("Recent " + std::to_string(n)); }
  void CloseMainWindow() override { Call("Exit"); }
  void SetFontSize(int size) override { Call("FontSize " + std::to_string(size)); }
  void ToggleToolBar() override { Call("ToolBar"); }
  void SetPort(int p) override { Call("Port " + std::to_string(p)); }
  void OpenPortSelection(int mode) override { Call("PortSelection " + std::to_string(mode)); }
  void FindRadio() override { Call("FindRadio"); }
  void CloneRead() override { Call("CloneRead"); }
  void CloneWrite() override { Call("CloneWrite"); }
  void CloneInformation() override { Call("CloneInfo"); }
  bool VerifyAfterWrite() const override { return verify; }
  void ToggleVerifyAfterWrite() override { Call("Verify"); }
  void OpenBackupFolder() override { Call("BackupFolder"); }
  void ShowBackups() override { Call("Backups"); }
  void ExportCsv() override { Call("ExportCsv"); }
  void ImportCsv() override { Call("ImportCsv"); }
  void CompareWithFile() override { Call("CompareWithFile"); }
  void CompareWithRadio() override { Call("CompareWithRadio"); }
  void FleetProgramming() override { Call("FleetProgramming"); }
  void ChangeModel(int m) override { Call("Model " + std::to_string(m)); }
  void ShowHelpContents() override { Call("HelpContents"); }
  void ShowContextHelp(std::uint32_t cell) override { Call("ContextHelp " + std::to_string(cell)); }
  void OpenSheet(const std::string& reference) override { Call("Sheet " + reference); }
  void OpenChooser(const cmcCellCapsule&, const std::string& list, int current) override {
    Call("Chooser " + list + " " + std::to_string(current));
  }
  void NoteActivity() override { ++activity; }
  bool CanUndo() const override { return canUndo; }
  bool CanRedo() const override { return canRedo; }
  void Undo() override { Call("Undo"); }
  void Redo() override { Call("Redo"); }

  void Call(const std::string& what) { calls.push_back(what); }

  cmcFCache cache;
  cmcEeprom image;
  datClipCh clip;
  int model = 0;
  bool usable = false;
  int port = 1;
  int fontSize = 100;
  bool canUndo = false;
  bool canRedo = false;
  bool toolBar = true;
  bool verify = false;
  bool printable = true;
  std::vector<std::string> recent;
  bool named = false;
  std::array<std::uint8_t, 28> info{};
  int editItems = -1;
  std::vector<std::string> calls;
  int activity = 0;
  int mainMenu = 0;  // stands in for the main menu, which events name
  cmcEvMan& bus_;
  CommandTarget commands{*this,
                         {.files = this,
                          .transfer = this,
                          .view = this,
                          .ports = this,
                          .output = this,
                          .navigation = this,
                          .events = &bus_}};
};

// Records the calls a cell makes on its canvas.
class RecordingCanvas : public platform::Canvas {
 public:
  void SetFont(const platform::FontValue&) override {}
  void SetTextColor(std::uint32_t c) override { textColor = c; }
  void SetBrushColor(std::uint32_t c) override { brush = c; }
  void SetPenColor(std::uint32_t c) override { pen = c; }
  void FillRect(const platform::Rect& r) override { fills.push_back(r); }
  void TextAt(int, int, std::string_view) override {}
  void TextClipped(const platform::Rect&, int, int, std::string_view) override {}
  platform::Size TextExtent(std::string_view) override { return {}; }
  void Line(platform::Point a, platform::Point b) override { lines.push_back({a, b}); }
  void Polygon(const std::vector<platform::Point>&) override {}

  std::uint32_t textColor = 0xFFFFFFFF;
  std::uint32_t brush = 0;
  std::uint32_t pen = 0;
  std::vector<platform::Rect> fills;
  std::vector<std::pair<platform::Point, platform::Point>> lines;
};

// The overlay of these tests: the evaluator's own fragment as it ships,
// after a few keys that other parts of the program own.
inline std::string BuildOverlay(const platform::TemporaryFolder& dir) {
  const std::string path = dir.Path() + "/TB58.OVL";
  std::ofstream out(path, std::ios::binary);
  for (const char* part : {SEACLONE_TEST_DATA "/eval/base.ovl",
                           SEACLONE_SOURCE_DIR "/data/overlay/main/40-eval.ovl"}) {
    std::ifstream in(part, std::ios::binary);
    out << in.rdbuf();
  }
  out << "#End_Of_Ovl\n";
  return path;
}

class EvalTest : public ::testing::Test {
 protected:
  EvalTest() : target(&table, bus) {
    table.Bind(BuildOverlay(dir));
    savedTable = gGTex;
    gGTex = &table;
    SetCommandTarget(&target.Commands());
  }
  ~EvalTest() override {
    SetCommandTarget(nullptr);
    gGTex = savedTable;
  }

  // Delivers what was posted.
  void Deliver() { time.AdvanceBy(cmcEvMan::kTickMs * 2); }

  template <class E>
  std::vector<E> EventsOf() const {
    return events.Of<E>();
  }

  static cmcCellObj Cell(int category, std::uint32_t cell, int number = 0) {
    cmcCellObj c;
    c.SetCategory(category);
    c.SetCell(cell);
    c.SetNumber(number);
    return c;
  }

  // A capsule as a sheet fills it: the grid is set, so actions are keys.
  cmcCellCapsule SheetCapsule(cmcCellObj& cell, int action = 0) {
    cmcCellCapsule cap;
    cap.cell = &cell;
    cap.grid = &grid;
    cap.action = action;
    cap.canvas = &canvas;
    return cap;
  }

  EvalResult Run(cmcCellCapsule& cap, bool notify = false) { return Evaluate(cap, notify); }

  std::string Show(cmcCellObj& cell) {
    auto cap = SheetCapsule(cell);
    Run(cap);
    return cap.outputText;
  }
  cmcCellCapsule Key(cmcCellObj& cell, int action) {
    auto cap = SheetCapsule(cell, action);
    Run(cap);
    return cap;
  }
  cmcCellCapsule Type(cmcCellObj& cell, const std::string& text) {
    auto cap = SheetCapsule(cell);
    cap.inputMode = cmcCellCapsule::kInputText;
    cap.inputText = text;
    Run(cap);
    return cap;
  }
  // A pick from a chooser: the cell's capsule again, with the chosen item.
  cmcCellCapsule Pick(cmcCellObj& cell, int value) {
    picked = Cell(CT_NoCategory, Flex0, value);
    pickCapsule = cmcCellCapsule();
    pickCapsule.cell = &picked;
    auto cap = SheetCapsule(cell);
    cap.related = &pickCapsule;
    cap.inputMode = cmcCellCapsule::kInputChoice;
    Run(cap);
    return cap;
  }

  datCh Channel(unsigned category, int index) {
    datCh v(&target.image);
    v.Load(category, index);
    return v;
  }

  platform::ScopedVirtualTime time;
  platform::TemporaryFolder dir{"seaclone-test"};
  cmcGTex table;
  cmcEvMan bus;
  RecordingTarget target;
  platform::RecordingResponder responder;
  testsupport::ScriptedQuestions questions{responder};
  RecordingCanvas canvas;
  testsupport::EventRecorder events{bus};
  int grid = 0;
  cmcCellObj picked;
  cmcCellCapsule pickCapsule;

 private:
  cmcGTex* savedTable = nullptr;
};

// The program's own overlay as it ships (build/bin/TB58.OVL) with a bus of
// its own on virtual time and the recording target installed; UseModel
// puts a model's initial image into the target, as the program starts.
class ShippedOverlayTest : public ::testing::Test {
 protected:
  ShippedOverlayTest() : target(&table, bus) {
    table.Bind(SEACLONE_BIN_DIR "/TB58.OVL");
    savedTable = gGTex;
    gGTex = &table;
    SetCommandTarget(&target.Commands());
  }
  ~ShippedOverlayTest() override {
    SetCommandTarget(nullptr);
    gGTex = savedTable;
  }

  void UseModel(int model, bool usable) {
    ASSERT_EQ(testsupport::LoadInitialImage(table, model, target.image), CloneFileCode::kOk)
        << model;
    target.model = model;
    target.usable = usable;
  }

  platform::ScopedVirtualTime time;
  cmcGTex table;
  cmcEvMan bus;
  RecordingTarget target;
  cmcGTex* savedTable = nullptr;
};

}  // namespace evaltest
