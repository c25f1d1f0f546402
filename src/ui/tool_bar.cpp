// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tool_bar.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

#include "base/evman.h"
#include "model/cell_names.h"
#include "text/gtex.h"
#include "ui/builder_body.h"
#include "ui/image_list.h"

namespace {

// Only the port buttons stand for a state (the port in use); every other
// button runs a command and is announced as a push button, not a check box.
bool IsToggle(const cmcCellObj& cell) {
  return cell.Cell() == CL_Menu_Port_Com || cell.Cell() == CL_Menu_Port_Usb;
}

}  // namespace

cuiToolBar::cuiToolBar(cmcEvMan& bus, QWidget* owner, cmcGTex& table, std::string key,
                       const cuiImageList* images)
    : bus_(bus), owner_(owner), table_(table), key_(std::move(key)), images_(images) {
  NewRow();
  bus_.Subscribe<ev::RefreshToolBar>(this, [this](const ev::RefreshToolBar&) { Refresh(); });
  bus_.Subscribe<ev::RefreshMenus>(this, [this](const ev::RefreshMenus&) { Refresh(); });
}

cuiToolBar::~cuiToolBar() {
  bus_.Unsubscribe(this);
  // Rows a window has taken stay the window's; the others are ours.
  for (QToolBar* row : rows_)
    if (!row->parent() || row->parent() == owner_) delete row;
}

QToolBar* cuiToolBar::NewRow() {
  auto* row = new QToolBar(owner_);
  row->setMovable(true);
  row->setFloatable(true);
  row->setContentsMargins(kIndent, 0, 0, 0);
  if (images_) row->setIconSize(images_->ImageSize());
  rows_.push_back(row);
  return row;
}

void cuiToolBar::Build(ClickFn click) {
  click_ = std::move(click);
  basic_.Parse(table_.Line(key_ + "_BasicCell", 0), nullptr);
  QToolBar* row = rows_.back();
  for (const std::string& line : builder::BodyLines(table_, key_ + "_Body")) {
    auto cell = std::make_unique<cmcCellObj>();
    cell->Parse(line, &basic_);
    const std::string caption = cell->Caption();
    if (caption == "-") {
      auto* gap = new QWidget(row);
      gap->setFixedWidth(kGapWidth);
      row->addWidget(gap);
    } else if (caption == "/") {
      row = NewRow();
    } else {
      const QString hint = QString::fromStdString(caption);
      QAction* action = row->addAction(hint);
      action->setToolTip(hint);
      action->setCheckable(IsToggle(*cell));
      if (images_) action->setIcon(images_->Icon(cell->ImageIndex()));
      buttons_.push_back({action, cell.get(), cell->ImageIndex()});
      QObject::connect(action, &QAction::triggered, action, [this, action] {
        const QPointer<QAction> guard(action);
        if (click_)
          click_(action);
        else
          DefaultClick(action);
        // Qt flips a check button on a click; the pressed state is the
        // cell's to say, and the next refresh brings the new answer.
        if (guard)
          if (const Button* b = Find(action))
            action->setChecked(b->cell->Flag(cmcCellObj::kFlagChecked));
      });
    }
    cells_.push_back(std::move(cell));
  }
}

void cuiToolBar::AddTo(QMainWindow* window) {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (i > 0) window->addToolBarBreak(Qt::TopToolBarArea);
    window->addToolBar(Qt::TopToolBarArea, rows_[i]);
  }
}

void cuiToolBar::SetVisible(bool visible) {
  for (QToolBar* row : rows_) row->setVisible(visible);
}

const cuiToolBar::Button* cuiToolBar::Find(const QAction* action) const {
  for (const Button& b : buttons_)
    if (b.action && b.action.data() == action) return &b;
  return nullptr;
}

cmcCellObj* cuiToolBar::CellOf(const QAction* button) const {
  const Button* b = Find(button);
  return b ? b->cell : nullptr;
}

void cuiToolBar::Refresh() {
  for (Button& b : buttons_) {
    if (!b.action) continue;
    builder::RefreshCell(owner_.data(), *b.cell);
    b.action->setCheckable(IsToggle(*b.cell));
    b.action->setChecked(b.cell->Flag(cmcCellObj::kFlagChecked));
    b.action->setEnabled(!b.cell->Flag(cmcCellObj::kFlagDisabled));
    if (b.cell->ImageIndex() != b.shownImage) {
      b.shownImage = b.cell->ImageIndex();
      b.action->setIcon(images_ ? images_->Icon(b.shownImage) : QIcon());
    }
  }
}

void cuiToolBar::DefaultClick(QAction* button) {
  if (cmcCellObj* cell = CellOf(button)) builder::ExecuteCell(owner_.data(), *cell);
}
