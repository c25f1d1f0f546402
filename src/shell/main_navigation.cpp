// SPDX-License-Identifier: GPL-3.0-or-later
// The main controller's window: building it, the tree, opening and closing
// sheets with the memory of where the user was, the 50 ms tick, the
// warning marks, the status bar and closing.
#include <QApplication>
#include <QFrame>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QTreeWidget>
#include <algorithm>

#include "base/events.h"
#include "base/evman.h"
#include "model/evaluator.h"
#include "model/memory_map.h"
#include "output/html_help.h"
#include "output/printer.h"
#include "platform/fatal.h"
#include "platform/message_box.h"
#include "platform/qt/qt_colour.h"
#include "radio/document_warning.h"
#include "settings/environ.h"
#include "shell/help_key.h"
#include "shell/main_controller.h"
#include "shell/status_bar.h"
#include "text/gtex.h"
#include "ui/grid.h"
#include "ui/image_list.h"
#include "ui/menu.h"
#include "ui/progress_window.h"
#include "ui/sheet.h"
#include "ui/tool_bar.h"
#include "ui/tree.h"

namespace {

constexpr int kTickMs = 50;
constexpr int kRefreshDelayMs = 250;
constexpr int kMinTreeWidth = 8;

QFrame* BevelledPanel(QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  return panel;
}

}  // namespace

void cuiMain::BuildWindow(QMainWindow* form, cuiImageList* treeImages, cuiImageList* barImages) {
  // 1. The document on the initial image of a known model.
  int model = gEnviron ? gEnviron->ModelType : 0;
  if (model < 0 || model >= memmap::kModelTypes) model = 0;
  if (gEnviron) gEnviron->ModelType = model;
  doc_ = std::make_unique<cmcDocument>(model, this);
  doc_->SetWarningCheck([this] {
    const Counts counts = WarningCheck();
    return cmcDocument::WarningCounts{counts.errors, counts.warnings};
  });
  form_ = form;
  if (!progress_) SetProgressSink(nullptr);
  doc_->CloneMan().SetProgressSink(progress_);
  doc_->CloneMan().SetPortNumber(CurrentPort());
  CloseSheet();

  // 2. Menu and tool bar.
  treeImages_ = treeImages;
  barImages_ = barImages;
  menu_ = std::make_unique<cuiMenu>(bus_, form, form->menuBar(), Table(), "GI_Menu_Main");
  menu_->SetImages(barImages);
  menu_->Build();
  toolBar_ = std::make_unique<cuiToolBar>(bus_, form, Table(), "GI_ToolBar_Main", barImages);
  toolBar_->Build();
  toolBar_->AddTo(form);
  toolBar_->SetVisible(ToolBarVisible());
  bus_.Send(ev::CommandsChanged{});

  // 3. Tree panel, splitter and sheet panel.
  splitter_ = new QSplitter(Qt::Horizontal, form);
  splitter_->setHandleWidth(3);
  splitter_->setOpaqueResize(true);
  splitter_->setChildrenCollapsible(false);
  treePanel_ = BevelledPanel(splitter_);
  treePanel_->setMinimumWidth(kMinTreeWidth);
  sheetPanel_ = BevelledPanel(splitter_);
  splitter_->addWidget(treePanel_);
  splitter_->addWidget(sheetPanel_);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  form->setCentralWidget(splitter_);

  // 4. The tree, as wide as the user left it.
  BuildTree();
  // A width the user left is kept; without one (the first start) the tree
  // shows its names whole, as long as the page keeps half the window.
  const int saved = gEnviron ? gEnviron->SplitterV : 0;
  const int treeWidth =
      std::max(kMinTreeWidth, saved > 0 ? saved : std::min(tree_->NamesWidth(), form->width() / 2));
  splitter_->setSizes({treeWidth, std::max(1, form->width() - treeWidth)});

  // 5. Status bar: the message panel, then a square one.
  status_ = new cuiStatusBar(form);
  form->setStatusBar(status_);
  status_->AddPanel(100);
  status_->AddPanel(status_->sizeHint().height());
  status_->SetDraw(
      [this](QPainter& p, int panel, const QRect& r) { DrawStatusPanel(p, panel, r); });
  status_->SetOnResize([this] {
    status_->SetPanelWidth(status_->PanelCount() - 1, status_->height());
    LayoutStatusBar();
  });

  // 6. Title.
  UpdateTitle();

  // 7. The memory map must fit the image.
  if (imageSize_ < memmap::kImageSize) {
    form->show();
    platform::Fatal("Self Check Error.\nEEPROM Map is too large.");
  }

  // 8. The tick that opens sheets and runs the deferred warning check. The
  // printer and the help are made when first asked for: the printer asks
  // the print system for its printers and the help opens a database, and
  // neither should hold up the first page.
  helpKey_ = std::make_unique<cuiHelpKey>([this] { HelpOnCursorCell(); });
  timer_->SetCallback([this](cmcTask*) { Tick(); });
  timer_->SetInterval(kTickMs);
  form->show();
}

void cuiMain::BuildTree() {
  tree_.reset();
  if (!treePanel_) return;
  tree_ = std::make_unique<cuiTree>(bus_, treePanel_, Table(), "GI_Tree_Main", treeImages_);
  QTreeWidget* widget = tree_->Widget();
  widget->hide();
  tree_->Load();
  QObject::connect(widget, &QTreeWidget::itemExpanded, [this] { WarningCheck(); });
  QObject::connect(widget, &QTreeWidget::itemCollapsed, [this] { WarningCheck(); });
  std::string delay;
  const int delayMs =
      Table().TryLine("GI_Sys_TreeChangeDelay", 0, &delay) ? std::atoi(delay.c_str()) : 0;
  tree_->SetChangeHandler(delayMs, [this](QTreeWidgetItem*) { SelectedNodeChanged(); });
  WarningCheck();
  CloseSheet();
  widget->show();
  bus_.Send(ev::RebuildChannelNodes{});
  const auto nodes = tree_->Nodes();
  if (!nodes.empty()) widget->setCurrentItem(nodes.front());
}

void cuiMain::SelectedNodeChanged() {
  if (!tree_) return;
  cmcCellObj* cell = tree_->SelectedCell();
  if (!cell) return;
  // Selecting the node of the page already shown keeps the page as it is.
  if (sheet_ && SheetKeyOf(sheet_->PageReference()) == SheetKeyOf(cell->Parameter())) return;
  tree_->Run(tree_->Widget()->currentItem());
}

cuiSheet* cuiMain::CreateSheet(QWidget* parent, const std::string& key) {
  auto* sheet = new cuiSheet(bus_, parent, nullptr, CL_NoCell, 0, Table(), key, treeImages_);
  // The column widths go with the other settings of this environment.
  if (gEnviron) sheet->SetSettingsKeyPath(gEnviron->KeyPath());
  return sheet;
}

std::string cuiMain::SheetKeyOf(const std::string& reference) {
  const auto bracket = reference.find(']');
  std::string key = reference.rfind('[', 0) == 0 && bracket != std::string::npos
                        ? reference.substr(bracket + 1)
                        : reference;
  const auto comma = key.find(',');
  return comma == std::string::npos ? key : key.substr(0, comma);
}

void cuiMain::OpenSheet(const std::string& reference) {
  CloseSheet();
  if (!sheetPanel_) return;
  const std::string key = SheetKeyOf(reference);
  sheet_.reset(CreateSheet(sheetPanel_, key));
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

void cuiMain::RememberSheet() {
  cuiGrid* grid = sheet_->Grid();
  if (!grid || !grid->isVisibleTo(sheetPanel_)) return;
  const std::string key = SheetKeyOf(sheet_->PageReference());
  history_.remove_if([&](const HistoryEntry& e) { return e.key == key; });
  history_.push_front({key, grid->Col(), grid->Row(), grid->LeftCol(), grid->TopRow()});
}

void cuiMain::CloseSheet() {
  if (!sheet_) return;
  RememberSheet();
  const QWidget* treeWidget = tree_ ? tree_->Widget() : nullptr;
  focusOnSheet_ = !treeWidget || !form_ || form_->focusWidget() != treeWidget;
  sheet_.reset();
}

void cuiMain::Tick() {
  if (!sheet_ && form_ && form_->isVisible()) {
    // The page comes back by itself, not by the user's move.
    const bool quiet = openingQuietly_;
    openingQuietly_ = true;
    if (tree_ && tree_->Widget()) {
      if (QTreeWidgetItem* node = tree_->Widget()->currentItem()) tree_->Run(node);
    } else if (!history_.empty()) {
      OpenSheet(history_.front().key);
    }
    openingQuietly_ = quiet;
  }
  if (refresh_ && refresh_->Remaining() == 0) {
    refresh_.reset();
    WarningCheck();
  }
}

cuiMain::Counts cuiMain::WarningCheck() {
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  for (const clsWarningMark& mark : WarningMarks(*doc_))
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

void cuiMain::ApplyFontSize() {
  forgetWidths_ = true;
  CloseSheet();
}

bool cuiMain::ToolBarVisible() const { return !gEnviron || gEnviron->ToolbarVisible != 0; }

void cuiMain::ToggleToolBar() {
  if (gEnviron) gEnviron->ToolbarVisible = gEnviron->ToolbarVisible ? 0 : 1;
  if (toolBar_) toolBar_->SetVisible(ToolBarVisible());
}

const void* cuiMain::MainMenu() const { return menu_.get(); }

int cuiMain::EditMenuItemCount() const {
  QAction* item = menu_ ? menu_->FindItem(CL_Menu_Edit_Top) : nullptr;
  if (!item) return -1;
  // Undo and Redo head the Edit menu; the count is of the cell menu's items.
  return cuiMenu::MirroredItemCount(item);
}

// --- Status bar.

void cuiMain::ShowStatus(const std::string& text) {
  SetStatusText(text, kStatusTextColor, kStatusBackColor);
}

void cuiMain::SetStatusText(std::string text, std::uint32_t textColour, std::uint32_t background) {
  statusText_ = std::move(text);
  statusTextColour_ = textColour;
  statusBackground_ = background;
  if (status_) status_->RepaintPanels();
}

void cuiMain::DrawStatusPanel(QPainter& painter, int panel, const QRect& rect) {
  if (panel != 0) return;
  const QPalette palette = status_ ? status_->palette() : QApplication::palette();
  painter.fillRect(rect, platform::ToQColor(statusBackground_, palette));
  painter.setPen(platform::ToQColor(statusTextColour_, palette));
  painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(statusText_));
}

// --- Events.

void cuiMain::CommitViewEdits() { bus_.Send(ev::CommitEditor{}); }
void cuiMain::ChannelListsChanged() { bus_.Send(ev::RebuildChannelNodes{}); }

// --- Closing.

bool cuiMain::CanClose() {
  if (form_ && !form_->isEnabled()) return false;
  return !doc_ || ConfirmDiscard(false) != platform::kIdCancel;
}

void cuiMain::OnClose() {
  if (gEnviron && treePanel_) gEnviron->SplitterV = treePanel_->width();
  timer_->Stop();
  sheet_.reset();
  tree_.reset();
  form_ = nullptr;
}

void cuiMain::ReleaseWindow() {
  timer_->Stop();
  sheet_.reset();
  tree_.reset();
  toolBar_.reset();
  menu_.reset();
  // The help window holds widgets of the help engine, and the printer's
  // dialogs belong to the form: both go before it.
  help_.reset();
  printer_.reset();
  // The progress window points at the form it disables.
  if (progress_ == ownProgress_.get()) progress_ = nullptr;
  if (doc_ && !progress_) doc_->CloneMan().SetProgressSink(nullptr);
  ownProgress_.reset();
  status_ = nullptr;
  splitter_ = nullptr;
  treePanel_ = nullptr;
  sheetPanel_ = nullptr;
  form_ = nullptr;
}
