// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/navigation.h"

#include <QMainWindow>
#include <QTreeWidget>
#include <algorithm>

#include "base/events.h"
#include "base/evman.h"
#include "model/cell.h"
#include "model/cell_names.h"
#include "radio/document_warning.h"
#include "shell/deferred_check.h"
#include "shell/document_commands.h"
#include "shell/help_key.h"
#include "shell/status_line.h"
#include "shell/window_builder.h"
#include "shell/window_context.h"
#include "text/gtex.h"
#include "ui/flector.h"
#include "ui/grid.h"
#include "ui/menu.h"
#include "ui/port_dialog.h"
#include "ui/sheet.h"
#include "ui/tree.h"

namespace shell {
namespace {

constexpr int kTickMs = 50;

}  // namespace

Navigation::Navigation(WindowContext& context, WindowBuilder& window, DocumentCommands& documents,
                       StatusLine& status, DeferredCheck& refresh, PortRole& ports,
                       CreateSheetFn createSheet)
    : context_(context),
      window_(window),
      documents_(documents),
      status_(status),
      refresh_(refresh),
      ports_(ports),
      createSheet_(std::move(createSheet)),
      timer_(MakeTask()) {}

Navigation::~Navigation() { Release(); }

void Navigation::StartTicking(std::function<void()> onHelpKey) {
  helpKey_ = std::make_unique<cuiHelpKey>(std::move(onHelpKey));
  timer_->SetCallback([this](cmcTask*) { Tick(); });
  timer_->SetInterval(kTickMs);
}

void Navigation::Release() {
  timer_->Stop();
  sheet_.reset();
  tree_.reset();
}

layout::TreeState Navigation::TreeState() const {
  return layout::TreeState{&documents_.Document().Working(), documents_.ModelType(),
                           context_.maker};
}

void Navigation::BuildTree() {
  tree_.reset();
  QWidget* panel = window_.TreePanel();
  if (!panel) return;
  cmcGTex& table = WindowContext::Table();
  tree_ =
      std::make_unique<cuiTree>(context_.bus, panel, table, "GI_Tree_Main", context_.treeImages);
  QTreeWidget* widget = tree_->Widget();
  widget->hide();
  tree_->Load();
  QObject::connect(widget, &QTreeWidget::itemExpanded, [this] { WarningCheck(); });
  QObject::connect(widget, &QTreeWidget::itemCollapsed, [this] { WarningCheck(); });
  std::string delay;
  const int delayMs =
      table.TryLine("GI_Sys_TreeChangeDelay", 0, &delay) ? std::atoi(delay.c_str()) : 0;
  tree_->SetChangeHandler(delayMs, [this](QTreeWidgetItem*) { SelectedNodeChanged(); });
  WarningCheck();
  CloseSheet();
  widget->show();
  context_.bus.Send(ev::RebuildChannelNodes{});
  const auto nodes = tree_->Nodes();
  if (!nodes.empty()) widget->setCurrentItem(nodes.front());
}

void Navigation::SelectedNodeChanged() {
  if (!tree_) return;
  cmcCellObj* cell = tree_->SelectedCell();
  if (!cell) return;
  // Selecting the node of the page already shown keeps the page as it is.
  if (sheet_ && SheetKeyOf(sheet_->PageReference()) == SheetKeyOf(cell->Parameter())) return;
  tree_->Run(tree_->Widget()->currentItem());
}

std::string Navigation::SheetKeyOf(const std::string& reference) {
  const auto bracket = reference.find(']');
  std::string key = reference.rfind('[', 0) == 0 && bracket != std::string::npos
                        ? reference.substr(bracket + 1)
                        : reference;
  const auto comma = key.find(',');
  return comma == std::string::npos ? key : key.substr(0, comma);
}

void Navigation::OpenSheet(const std::string& reference) {
  CloseSheet();
  QWidget* panel = window_.SheetPanel();
  if (!panel) return;
  const std::string key = SheetKeyOf(reference);
  sheet_.reset(createSheet_(panel, key));
  sheet_->SetPageName(reference);
  const auto comma = reference.find(',');
  if (comma != std::string::npos) sheet_->SetExtraText(reference.substr(comma + 1));
  const auto remembered = std::find_if(history_.begin(), history_.end(),
                                       [&](const HistoryEntry& e) { return e.key == key; });
  if (remembered != history_.end())
    sheet_->SetInitialPosition(remembered->column, remembered->row, remembered->leftCol,
                               remembered->topRow);
  sheet_->SetForgetWidths(forgetWidths_);
  forgetWidths_ = false;
  sheet_->Build();
  cuiGrid* grid = sheet_->Grid();
  if (grid && helpKey_) grid->installEventFilter(helpKey_.get());
  // The cursor was scrolled into view before the panel gave the grid its
  // size; the remembered scroll position is what the user saw.
  if (remembered != history_.end() && grid)
    grid->SetTopLeft(remembered->leftCol, remembered->topRow);
  if (focusOnSheet_ && grid && grid->focusPolicy() != Qt::NoFocus && grid->isEnabled()) {
    grid->setFocus();
  } else if (tree_ && tree_->Widget()) {
    tree_->Widget()->setFocus();
  }
}

void Navigation::RememberSheet() {
  cuiGrid* grid = sheet_->Grid();
  if (!grid || !grid->isVisibleTo(window_.SheetPanel())) return;
  const std::string key = SheetKeyOf(sheet_->PageReference());
  history_.remove_if([&](const HistoryEntry& e) { return e.key == key; });
  history_.push_front({key, grid->Col(), grid->Row(), grid->LeftCol(), grid->TopRow()});
}

void Navigation::CloseSheet() {
  if (!sheet_) return;
  RememberSheet();
  const QWidget* treeWidget = tree_ ? tree_->Widget() : nullptr;
  focusOnSheet_ = !treeWidget || !context_.form || context_.form->focusWidget() != treeWidget;
  sheet_.reset();
}

void Navigation::OpenCell(const std::string& reference, int row, int column) {
  if (!tree_ || !tree_->Widget()) return;
  QTreeWidgetItem* node = tree_->FindNode(reference);
  if (!node) return;  // a page only the other image shows
  CloseSheet();
  // The page opens where its history says, so the cell goes there first.
  const std::string key = SheetKeyOf(reference);
  history_.remove_if([&](const HistoryEntry& e) { return e.key == key; });
  history_.push_front({key, column, row, 0, row > 3 ? row - 3 : 0});
  tree_->Widget()->setCurrentItem(node);
  if (context_.form) context_.form->activateWindow();
}

void Navigation::Tick() {
  if (!sheet_ && context_.form && context_.form->isVisible()) {
    // The page comes back by itself, not by the user's move.
    const bool quiet = status_.Quiet();
    status_.SetQuiet(true);
    if (tree_ && tree_->Widget()) {
      if (QTreeWidgetItem* node = tree_->Widget()->currentItem()) tree_->Run(node);
    } else if (!history_.empty()) {
      OpenSheet(history_.front().key);
    }
    status_.SetQuiet(quiet);
  }
  if (refresh_.TakeDue()) WarningCheck();
}

Navigation::Counts Navigation::WarningCheck() {
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  for (const clsWarningMark& mark : WarningMarks(documents_.Document()))
    (mark.error ? errors : warnings).push_back(mark.sheet);
  Counts counts;
  if (tree_ && tree_->Widget()) {
    const cuiTree::MarkCounts marked = tree_->MarkAll(errors, warnings);
    counts = {marked.errors, marked.warnings};
  } else {
    counts = {static_cast<int>(errors.size()), static_cast<int>(warnings.size())};
  }
  return counts;
}

void Navigation::ForgetWidths() {
  forgetWidths_ = true;
  CloseSheet();
}

const void* Navigation::MainMenu() const { return window_.Menu(); }

int Navigation::EditMenuItemCount() const {
  cuiMenu* menu = window_.Menu();
  QAction* item = menu ? menu->FindItem(CL_Menu_Edit_Top) : nullptr;
  if (!item) return -1;
  // Undo and Redo head the Edit menu; the count is of the cell menu's items.
  return cuiMenu::MirroredItemCount(item);
}

void Navigation::OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey,
                             int current) {
  if (chooser_) {
    chooser_(capsule, listKey, current);
    return;
  }
  // The list's items are Flex0 cells numbered with their values; the
  // window frees itself once it closes.
  new cuiFlector(context_.bus, capsule, Flex0, current, WindowContext::Table(), listKey,
                 context_.treeImages);
}

void Navigation::OpenPortSelection(int mode) {
  if (portSelection_) {
    portSelection_(mode);
    return;
  }
  cuiPortDialog::Choose(context_.form, WindowContext::Table(), mode, ports_);
}

void Navigation::CloseMainWindow() {
  if (context_.form) context_.form->close();
}

}  // namespace shell
