// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/view_commands.h"

#include <QCursor>
#include <QMainWindow>

#include "base/events.h"
#include "base/evman.h"
#include "model/cell_names.h"
#include "output/html_help.h"
#include "output/printer.h"
#include "platform/paths.h"
#include "settings/environ.h"
#include "shell/navigation.h"
#include "shell/window_builder.h"
#include "shell/window_context.h"
#include "text/gtex.h"
#include "ui/grid.h"
#include "ui/sheet.h"
#include "ui/tool_bar.h"

namespace shell {

ViewCommands::ViewCommands(WindowContext& context, WindowBuilder& window, Navigation& navigation)
    : context_(context), window_(window), navigation_(navigation) {}

ViewCommands::~ViewCommands() = default;

void ViewCommands::Release() {
  help_.reset();
  printer_.reset();
}

// --- Settings the cells read and change.

int ViewCommands::FontSize() const { return gEnviron ? gEnviron->FontSizePercentage : 100; }

void ViewCommands::SetFontSize(int size) {
  if (!gEnviron || gEnviron->FontSizePercentage == size) return;
  gEnviron->FontSizePercentage = size;
  navigation_.ForgetWidths();
}

bool ViewCommands::ToolBarVisible() const { return !gEnviron || gEnviron->ToolbarVisible != 0; }

void ViewCommands::ToggleToolBar() {
  if (gEnviron) gEnviron->ToolbarVisible = gEnviron->ToolbarVisible ? 0 : 1;
  if (cuiToolBar* bar = window_.ToolBar()) bar->SetVisible(ToolBarVisible());
}

bool ViewCommands::UsableChannelsView() const { return gEnviron && gEnviron->ChListType != 0; }

// --- Printing and help.

int ViewCommands::HelpContext(std::uint32_t cell) {
  if (!gHelpGTex || cell >= CL_NoCell) return 0;
  return cuiHtmlHelp::ContextNumber(*gHelpGTex, std::string(CellName(cell)));
}

cuiPrinter* ViewCommands::Printer() {
  if (!printer_ && context_.form) {
    // The printout reads the column widths the user left on screen.
    output::PrintSource source;
    source.table = &WindowContext::Table();
    source.images = context_.treeImages;
    if (gEnviron) source.settingsKeyPath = gEnviron->KeyPath();
    source.bus = &context_.bus;
    printer_ = std::make_unique<cuiPrinter>(context_.form, source,
                                            gEnviron ? gEnviron->FontSizePrinter : printFontPoints_,
                                            context_.barImages);
  }
  return printer_.get();
}

cuiHtmlHelp* ViewCommands::Help() {
  if (!help_ && context_.form && gHelpGTex)
    help_ = std::make_unique<cuiHtmlHelp>(*gHelpGTex, context_.form);
  return help_.get();
}

bool ViewCommands::PrintJobActive() const { return printer_ && printer_->JobActive(); }

bool ViewCommands::CanPrintCurrent() const {
  return context_.form && navigation_.Sheet() && !PrintJobActive();
}

void ViewCommands::PrintCurrent() {
  context_.bus.Send(ev::CommitEditor{});
  if (!CanPrintCurrent() || !Printer()) return;
  const std::string& reference = navigation_.Sheet()->PageReference();
  printer_->PrintSheet(layout::TreePage{reference, Navigation::SheetKeyOf(reference), {}, 0});
}

void ViewCommands::PrintAll() {
  context_.bus.Send(ev::CommitEditor{});
  if (!Printer() || printer_->JobActive()) return;
  printer_->PrintAll(layout::ShownTreePages(WindowContext::Table(), navigation_.TreeState()));
}

std::string ViewCommands::HelpFile() {
  return gHelpGTex ? cuiHtmlHelp::HelpFilePath(*gHelpGTex, platform::DataDir()) : std::string();
}

void ViewCommands::ShowHelpContents() {
  if (Help()) help_->ShowContents(HelpFile());
}

void ViewCommands::ShowContextHelp(std::uint32_t cell) {
  if (Help()) help_->ShowContext(HelpFile(), HelpContext(cell), QCursor::pos());
}

void ViewCommands::HelpOnCursorCell() {
  cuiSheet* sheet = navigation_.Sheet();
  cuiGrid* grid = sheet ? sheet->Grid() : nullptr;
  const int number = grid ? HelpContext(sheet->CellAt(grid->Col(), grid->Row()).Cell()) : 0;
  if (number == 0 || !Help()) {
    ShowHelpContents();
    return;
  }
  help_->ShowTopic(HelpFile(), number);
}

}  // namespace shell
