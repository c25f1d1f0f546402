// SPDX-License-Identifier: GPL-3.0-or-later
// An image from anywhere (a clone data file passes its format checks with
// any bytes at all), shown: every cell name is evaluated for display, as a
// sheet draws it, in each channel category and at a spread of numbers, on an
// image made of the input. Showing may say "error" but must never read or
// write outside the image or crash. A few cells keep the image consistent as
// they are shown (the ATIS identity's checksum, the international plan's
// switch), so a second drawing must find nothing more to change: the same
// texts and the same image.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "model/capsule.h"
#include "model/cell.h"
#include "model/cell_names.h"
#include "model/clip.h"
#include "model/command_target.h"
#include "model/eeprom.h"
#include "model/evaluator.h"
#include "model/fcache.h"
#include "model/memory_map.h"
#include "platform/canvas.h"
#include "platform/fatal.h"
#include "platform/virtual_timer_service.h"
#include "text/gtex.h"

namespace {

class Target : public DocumentRole,
               public FileChoiceRole,
               public TransferRole,
               public ViewSettingsRole,
               public PortRole,
               public OutputHelpRole,
               public NavigationRole {
 public:
  explicit Target(cmcGTex* table) : cache(table), image(memmap::kImageSize) {}
  cmcEeprom& WorkingImage() override { return image; }
  cmcFCache& OptionCache() override { return cache; }
  datClipCh& Clipboard() override { return clip; }
  int ModelType() const override { return model; }
  bool UsableChannelsView() const override { return usable; }
  int CurrentPort() const override { return 1; }
  int FontSize() const override { return 100; }
  bool ToolBarVisible() const override { return true; }
  bool CanPrintCurrent() const override { return true; }
  std::string RecentFile(int) const override { return {}; }
  bool HasFileName() const override { return false; }
  std::array<std::uint8_t, 28> RadioInformation() const override { return info; }
  const void* MainMenu() const override { return nullptr; }
  int EditMenuItemCount() const override { return -1; }
  // Showing runs no command; one that does is a finding.
  void FileNew() override { Ran(); }
  void FileOpen() override { Ran(); }
  void FileSave() override { Ran(); }
  void FileSaveAs() override { Ran(); }
  void PrintCurrent() override { Ran(); }
  void PrintAll() override { Ran(); }
  void OpenRecent(int) override { Ran(); }
  void CloseMainWindow() override { Ran(); }
  void SetFontSize(int) override { Ran(); }
  void ToggleToolBar() override { Ran(); }
  void SetPort(int) override { Ran(); }
  void OpenPortSelection(int) override { Ran(); }
  void CloneRead() override { Ran(); }
  void CloneWrite() override { Ran(); }
  void CloneInformation() override { Ran(); }
  void ChangeModel(int) override { Ran(); }
  bool VerifyAfterWrite() const override { return false; }
  void ToggleVerifyAfterWrite() override { Ran(); }
  void OpenBackupFolder() override { Ran(); }
  void ShowBackups() override { Ran(); }
  void ExportCsv() override { Ran(); }
  void ImportCsv() override { Ran(); }
  void CompareWithFile() override { Ran(); }
  void CompareWithRadio() override { Ran(); }
  void FleetProgramming() override { Ran(); }
  bool CanUndo() const override { return false; }
  bool CanRedo() const override { return false; }
  void Undo() override { Ran(); }
  void Redo() override { Ran(); }
  void ShowHelpContents() override { Ran(); }
  void ShowContextHelp(std::uint32_t) override { Ran(); }
  void OpenSheet(const std::string&) override { Ran(); }
  void OpenChooser(const cmcCellCapsule&, const std::string&, int) override { Ran(); }
  void NoteActivity() override {}

  static void Ran() { fuzz::Finding("showing a cell ran a command"); }

  cmcFCache cache;
  cmcEeprom image;
  datClipCh clip;
  int model = 0;
  bool usable = false;
  std::array<std::uint8_t, 28> info{};
  CommandTarget commands{*this,
                         {.files = this,
                          .transfer = this,
                          .view = this,
                          .ports = this,
                          .output = this,
                          .navigation = this}};
};

class NullCanvas : public platform::Canvas {
 public:
  void SetFont(const platform::FontValue&) override {}
  void SetTextColor(std::uint32_t) override {}
  void SetBrushColor(std::uint32_t) override {}
  void SetPenColor(std::uint32_t) override {}
  void FillRect(const platform::Rect&) override {}
  void TextAt(int, int, std::string_view) override {}
  void TextClipped(const platform::Rect&, int, int, std::string_view) override {}
  platform::Size TextExtent(std::string_view) override { return {}; }
  void Line(platform::Point, platform::Point) override {}
  void Polygon(const std::vector<platform::Point>&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Init();
  static cmcGTex& table = fuzz::MainOverlay();
  static Target target(&table);
  SetCommandTarget(&target.commands);
  platform::ScopedVirtualTime time;

  // The image is the input, zero beyond it; the model follows its model byte
  // as after an open, and the radio information is the input's tail.
  cmcEeprom image(memmap::kImageSize);
  const int n = static_cast<int>(std::min<size_t>(size, memmap::kImageSize));
  if (n > 0) image.WriteBlock(0, data, n);
  target.image.Assign(image);
  target.model = image.GetByte(0x9D1) % 13;
  target.usable = image.GetByte(0) & 1;
  target.info.fill(0);
  if (size > memmap::kImageSize) {
    std::memcpy(target.info.data(), data + memmap::kImageSize,
                std::min<size_t>(28, size - memmap::kImageSize));
  }

  static const int kCategories[] = {CT_NoCategory, CT_IntCh, CT_UsaCh, CT_CanCh,
                                    CT_SuvCh,      CT_WxCh,  CT_FreeCh};
  static const int kNumbers[] = {0, 1, 63, 255};
  NullCanvas canvas;
  int grid = 0;
  auto draw = [&] {
    std::vector<std::string> texts;
    for (std::uint32_t cell = 0; cell < kCellNameCount; ++cell) {
      for (int category : kCategories) {
        for (int number : kNumbers) {
          cmcCellObj c;
          c.SetCategory(category);
          c.SetCell(cell);
          c.SetNumber(number);
          cmcCellCapsule cap;
          cap.cell = &c;
          cap.grid = &grid;
          cap.canvas = &canvas;
          cap.action = 0;
          try {
            Evaluate(cap, false);
            texts.push_back(cap.outputText);
          } catch (const platform::FatalStop&) {
            // A binding no definition would make (an installation fault).
            texts.emplace_back("(stop)");
          }
        }
      }
    }
    return texts;
  };
  const std::vector<std::string> first = draw();
  const cmcEeprom afterFirst = target.image;
  if (draw() != first) fuzz::Finding("a second drawing shows other texts");
  if (!target.image.Equals(afterFirst)) fuzz::Finding("a second drawing changed the image");
  SetCommandTarget(nullptr);
  return 0;
}
