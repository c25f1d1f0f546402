// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ind_main.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QMainWindow>
#include <QPainter>
#include <QTreeWidget>
#include <algorithm>
#include <cctype>
#include <vector>

#include "base/events.h"
#include "base/evman.h"
#include "layout/page_conditions.h"
#include "layout/tree_pages.h"
#include "model/cell_names.h"
#include "model/memory_map.h"
#include "model/user_questions.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "settings/environ.h"
#include "shell/startup.h"
#include "shell/status_bar.h"
#include "text/gtex.h"
#include "ui/grid.h"
#include "ui/iui_sheet.h"
#include "ui/tree.h"

namespace {

constexpr std::uint32_t kMakerBackground = 0x000080;  // maroon, as 0x00BBGGRR
constexpr std::uint32_t kMakerText = 0xFFFFFF;
constexpr int kMinMessageWidth = 100;

QColor FromBgr(std::uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

indMain::indMain(cmcEvMan& bus, UserQuestions& questions, QStringList arguments)
    : cuiMain(bus, questions, "TB58", memmap::kImageSize), arguments_(std::move(arguments)) {
  indMain::Reset();
  Bus().Subscribe<ev::RebuildChannelNodes>(
      this, [this](const ev::RebuildChannelNodes&) { RebuildChannelNodes(); });
  Bus().Subscribe<ev::AttributeChosen>(
      this, [this](const ev::AttributeChosen& e) { MoveCursorAfterAttributeChange(e.switchForm); });
}

// The handlers above reach this object's own parts.
indMain::~indMain() { Bus().Unsubscribe(this); }

void indMain::Reset() {
  cuiMain::Reset();
  Context().maker = false;
}

void indMain::BuildWindow(QMainWindow* form, cuiImageList* treeImages, cuiImageList* barImages) {
  cuiMain::BuildWindow(form, treeImages, barImages);
  for (const QString& argument : arguments_)
    if (shell::HasMakerSwitch({argument})) EnterMakerMode();
}

void indMain::BuildTree() {
  cuiMain::BuildTree();
  if (!Navigation().Tree() || Navigation().Tree()->Nodes().empty()) return;
  QTreeWidgetItem* root = Navigation().Tree()->Nodes().front();
  std::string model;
  if (Table().TryLine("GI_AppInd_Model", Documents().ModelType(), &model))
    root->setText(0, root->text(0) + QString::fromStdString(model));
}

cuiSheet* indMain::CreateSheet(QWidget* parent, const std::string& key) {
  auto* sheet =
      new iuiSheet(Bus(), parent, nullptr, CL_NoCell, 0, Table(), key, Context().treeImages);
  if (gEnviron) sheet->SetSettingsKeyPath(gEnviron->KeyPath());
  return sheet;
}

bool indMain::ConfirmWrite() {
  if (!Context().maker) return true;
  return Context().questions.Ask("GI_Mess_Maker_Caution",
                                 platform::kMbOkCancel | platform::kMbIconExclamation) ==
         platform::kIdOk;
}

void indMain::KeyTyped(char character) {
  typed_.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(character))));
  if (typed_.size() > sizeof(kMakerWord) - 1)
    typed_.erase(0, typed_.size() - (sizeof(kMakerWord) - 1));
  if (typed_ == kMakerWord) EnterMakerMode();
}

void indMain::EnterMakerMode() {
  if (Context().maker) return;
  if (Context().questions.Ask("GI_Mess_Maker_Caution",
                              platform::kMbOkCancel | platform::kMbIconExclamation) !=
      platform::kIdOk)
    return;
  Context().maker = true;
  BuildTree();
  cuiStatusBar* bar = Window().StatusBar();
  if (!bar) return;
  makerText_ = Table().Text("GI_StatusPanel_Maker");
  const QFontMetrics metrics(bar->font());
  const int width = metrics.horizontalAdvance(QString::fromStdString(makerText_)) +
                    metrics.horizontalAdvance(QStringLiteral("XX"));
  makerPanel_ = bar->AddPanel(width, bar->PanelCount() - 1);
  LayoutStatusBar();
}

void indMain::LayoutStatusBar() {
  cuiStatusBar* bar = Window().StatusBar();
  if (!bar || bar->PanelCount() == 0) return;
  int others = 0;
  for (int i = 1; i < bar->PanelCount(); ++i) others += bar->PanelWidth(i);
  bar->SetPanelWidth(0, std::max(kMinMessageWidth, bar->width() - others));
}

void indMain::DrawStatusPanel(QPainter& painter, int panel, const QRect& rect) {
  if (panel != makerPanel_ || makerPanel_ < 0)
    return cuiMain::DrawStatusPanel(painter, panel, rect);
  painter.fillRect(rect, FromBgr(kMakerBackground));
  painter.setPen(FromBgr(kMakerText));
  painter.drawText(rect, Qt::AlignCenter, QString::fromStdString(makerText_));
}

void indMain::RebuildChannelNodes() {
  cuiTree* tree = Navigation().Tree();
  if (!tree || !tree->Widget()) return;
  const int model = Documents().ModelType();
  const cmcEeprom& image = Documents().Document().Working();
  const layout::TreeState state = Navigation().TreeState();

  QTreeWidgetItem* anchor =
      tree->FindNode(memmap::InGroupA(model) ? "GI_Sheet_Common_Common" : "GI_Sheet_Common_Atis");
  QTreeWidgetItem* parent = anchor ? anchor->parent() : nullptr;
  int position = 0;
  if (anchor)
    position =
        (parent ? parent->indexOfChild(anchor) : tree->Widget()->indexOfTopLevelItem(anchor)) + 1;

  const struct {
    const char* key;
    bool present;
  } lists[] = {
      {"GI_Sheet_SuvCh", memmap::InGroupS(model)},
      {"GI_Sheet_IntCh", memmap::PlanOn(image, memmap::kCatInt)},
      {"GI_Sheet_UsaCh", memmap::PlanOn(image, memmap::kCatUsa)},
      {"GI_Sheet_CanCh", memmap::PlanOn(image, memmap::kCatCan)},
      {"GI_Sheet_WxCh", memmap::PlanOn(image, memmap::kCatWx)},
  };
  for (const auto& list : lists) {
    if (!list.present) continue;
    if (!tree->FindNode(list.key)) {
      std::string line;
      for (int n = 0; Table().TryLine("GI_Tree_Main_Body", n, &line) && line.rfind('#', 0) != 0;
           ++n) {
        const auto plus = line.find('+');
        if (line.find(list.key) == std::string::npos || plus == std::string::npos) continue;
        tree->AddNode(parent, line.substr(plus + 1), position);
        break;
      }
    }
    ++position;
  }
  // A removed node takes its sub-nodes along, so the list is walked afresh.
  for (bool removed = true; removed;) {
    removed = false;
    for (QTreeWidgetItem* node : tree->Nodes()) {
      const cmcCellObj* cell = cuiTree::CellOf(node);
      if (cell && !layout::NodeShown(*cell, state)) {
        tree->RemoveNode(node);
        removed = true;
        break;
      }
    }
  }
}

void indMain::MoveCursorAfterAttributeChange(bool switchView) {
  if (switchView && gEnviron) gEnviron->ChListType = gEnviron->ChListType ? 0 : 1;
  cuiSheet* sheet = Navigation().Sheet();
  if (!sheet || !sheet->Grid()) return;
  cuiGrid* grid = sheet->Grid();
  if (grid->Col() < 0 || grid->Row() < 0) return;
  const cmcCellObj& cursor = sheet->CellAt(grid->Col(), grid->Row());
  const unsigned category = static_cast<unsigned>(cursor.Category());
  const std::uint32_t cell = cursor.Cell();
  const int from = cursor.Number();

  // The cell's category names the sheet's list; the plan is its value
  // category. The cursor may sit at any index, the first channel included.
  const int found = layout::NearestListedChannel(
      layout::ListedChannels(&Documents().Document().Working(),
                             ValueCategoryOf(static_cast<int>(category))),
      from);

  const std::string reference = sheet->PageReference();
  Navigation().OpenSheet(reference);
  sheet = Navigation().Sheet();
  grid = sheet ? sheet->Grid() : nullptr;
  if (!grid) return;
  for (int row = 0; row < grid->RowCount(); ++row) {
    for (int column = 0; column < grid->ColCount(); ++column) {
      const cmcCellObj& c = sheet->CellAt(column, row);
      if (static_cast<unsigned>(c.Category()) == category && c.Cell() == cell &&
          c.Number() == found) {
        grid->SetCursor(column, row);
        return;
      }
    }
  }
}
