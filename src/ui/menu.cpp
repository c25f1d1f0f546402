// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>
#include <algorithm>
#include <set>

#include "base/evman.h"
#include "text/gtex.h"
#include "ui/builder_body.h"
#include "ui/image_list.h"

namespace {

// A menu item: the action and the cell definition it carries. The item
// keeps its basic cell alive, so an item that outlives its builder (a
// mirrored one) never points into freed memory.
class cuiMenuItem : public QAction {
 public:
  cuiMenuItem(QObject* owner, std::unique_ptr<cmcCellObj> cell,
              std::shared_ptr<const cmcCellObj> basic)
      : QAction(owner), basic_(std::move(basic)), cell_(std::move(cell)) {}
  ~cuiMenuItem() override { delete subMenu_.data(); }

  cmcCellObj* Cell() const { return cell_.get(); }
  QMenu* SubMenu(QWidget* widgetParent) {
    if (!subMenu_) {
      subMenu_ = new QMenu(widgetParent);
      setMenu(subMenu_);
    }
    return subMenu_;
  }
  int shownImage = -1;
  // Put under an existing item by event 11 (the Edit item's mirror of a
  // cell menu, or its placeholder), not built from the menu's own body.
  bool mirrored = false;

 private:
  std::shared_ptr<const cmcCellObj> basic_;
  std::unique_ptr<cmcCellObj> cell_;
  QPointer<QMenu> subMenu_;
};

// Menus alive now: event 11 names its menu by address, and a sheet may be
// gone by the time a posted fill arrives.
std::set<cuiMenu*>& LiveMenus() {
  static std::set<cuiMenu*> menus;
  return menus;
}

QList<QAction*> SubItems(const QAction* item) {
  return item->menu() ? item->menu()->actions() : QList<QAction*>();
}

QAction* FindIn(const QList<QAction*>& items, std::uint32_t cell) {
  for (QAction* item : items) {
    const cmcCellObj* c = cuiMenu::CellOf(item);
    if (c && c->Cell() == cell) return item;
    if (QAction* found = FindIn(SubItems(item), cell)) return found;
  }
  return nullptr;
}

bool ContainsIn(const QList<QAction*>& items, const QAction* wanted) {
  for (QAction* item : items)
    if (item == wanted || ContainsIn(SubItems(item), wanted)) return true;
  return false;
}

}  // namespace

std::unique_ptr<cmcCellObj> cuiMenu::AskContext(const QObject* root) {
  const std::vector<const cmcCellObj*> answers = bus_.Ask(ev::AskCellDefinition{root});
  if (answers.empty() || answers.front() == nullptr) return nullptr;
  return std::make_unique<cmcCellObj>(*answers.front());
}

cuiMenu::cuiMenu(cmcEvMan& bus, void* owner, QWidget* root, cmcGTex& table, std::string key,
                 ClickFn click)
    : bus_(bus),
      owner_(owner),
      root_(root),
      table_(table),
      key_(std::move(key)),
      click_(std::move(click)) {
  LiveMenus().insert(this);
  bus_.Subscribe<ev::RefreshMenus>(this, [this](const ev::RefreshMenus&) { Refresh(); });
  bus_.Subscribe<ev::ClearCellMenu>(this, [this](const ev::ClearCellMenu& e) {
    if (QAction* item = FindItem(static_cast<std::uint32_t>(e.item))) ClearSubItems(item);
  });
  bus_.Subscribe<ev::FillCellMenu>(this, [this](const ev::FillCellMenu& e) {
    QAction* item = FindItem(static_cast<std::uint32_t>(e.item));
    // The menu named is looked up among the live ones: it may be gone.
    const auto through = std::find_if(LiveMenus().begin(), LiveMenus().end(),
                                      [&e](const cuiMenu* m) { return m == e.menu; });
    cuiMenu* clicker = e.menu == nullptr ? this : through != LiveMenus().end() ? *through : nullptr;
    if (item && clicker && clicker->root_) AddBody(item, e.key, *clicker);
  });
}

cuiMenu::~cuiMenu() {
  bus_.Unsubscribe(this);
  LiveMenus().erase(this);
  for (const QPointer<QAction>& item : borrowedItems_) delete item.data();
  if (root_)
    for (QAction* item : root_->actions())
      if (CellOf(item)) delete item;
}

void cuiMenu::Build() {
  if (!root_) return;
  for (QAction* item : root_->actions())
    if (CellOf(item)) delete item;
  auto basic = std::make_shared<cmcCellObj>();
  basic->Parse(table_.Line(key_ + "_BasicCell", 0), nullptr);
  basic_ = std::move(basic);
  AddBody(nullptr, key_, *this);
}

void cuiMenu::AddBody(QAction* parent, const std::string& key, cuiMenu& clicker) {
  // A mirrored popup menu brings its own defaults (its items act on a
  // channel, so their category comes from there).
  std::shared_ptr<const cmcCellObj> basic = basic_;
  if (key != key_ && table_.HasKey(key + "_BasicCell")) {
    auto own = std::make_shared<cmcCellObj>();
    own->Parse(table_.Line(key + "_BasicCell", 0), nullptr);
    basic = std::move(own);
  }
  if (!basic) basic = std::make_shared<cmcCellObj>();
  const bool mirrored = parent != nullptr;
  builder::AddNested<QAction*>(builder::BodyLines(table_, key + "_Body"),
                               [&](QAction* under, std::string_view definition) {
                                 QAction* at = under ? under : parent;
                                 QObject* itemOwner = nullptr;
                                 if (mirrored && !under) itemOwner = clicker.root_.data();
                                 QAction* item = AddItem(at, definition, itemOwner, clicker, basic);
                                 if (auto* added = dynamic_cast<cuiMenuItem*>(item))
                                   added->mirrored = mirrored;
                                 return item;
                               });
}

QAction* cuiMenu::AddItem(QAction* parent, std::string_view definition, QObject* itemOwner,
                          cuiMenu& clicker, const std::shared_ptr<const cmcCellObj>& basic) {
  QWidget* container = root_;
  if (auto* parentItem = dynamic_cast<cuiMenuItem*>(parent)) container = parentItem->SubMenu(root_);
  if (!container) return nullptr;
  auto cell = std::make_unique<cmcCellObj>();
  cell->Parse(definition, basic.get());
  const std::string caption = cell->Caption();
  const std::string shortcut = cell->Parameter();
  const int image = cell->ImageIndex();
  auto* item = new cuiMenuItem(itemOwner ? itemOwner : container, std::move(cell), basic);
  if (caption == "-") {
    item->setSeparator(true);
  } else {
    item->setText(QString::fromStdString(caption));
    // "Ctrl+Y;Ctrl+Shift+Z": the first is shown, every one of them works.
    QList<QKeySequence> keys;
    for (const QString& key : QString::fromStdString(shortcut).split(';', Qt::SkipEmptyParts))
      keys.append(QKeySequence::fromString(key.trimmed()));
    if (!keys.isEmpty()) item->setShortcuts(keys);
    if (images_ && image >= 0) item->setIcon(images_->Icon(image));
    item->shownImage = image;
  }
  container->addAction(item);
  cuiMenu* through = &clicker;
  QObject::connect(item, &QAction::triggered, item, [through, item] { through->Click(item); });
  if (through != this) through->borrowedItems_.emplace_back(item);
  return item;
}

void cuiMenu::Click(QAction* item) {
  if (click_)
    click_(item);
  else
    DefaultClick(item);
}

cmcCellObj* cuiMenu::CellOf(const QAction* item) {
  const auto* menuItem = dynamic_cast<const cuiMenuItem*>(item);
  return menuItem ? menuItem->Cell() : nullptr;
}

QAction* cuiMenu::FindItem(std::uint32_t cell) const {
  return root_ ? FindIn(root_->actions(), cell) : nullptr;
}

bool cuiMenu::Contains(const QAction* item) const {
  if (!item) return false;
  for (const QPointer<QAction>& borrowed : borrowedItems_)
    if (borrowed.data() == item) return true;
  return root_ && ContainsIn(root_->actions(), item);
}

bool cuiMenu::IsMirrored(const QAction* item) {
  const auto* menuItem = dynamic_cast<const cuiMenuItem*>(item);
  return menuItem && menuItem->mirrored;
}

void cuiMenu::ClearSubItems(QAction* item) {
  // The item's own lines (Undo and Redo at the top of Edit) stay; what a
  // cell menu lent it goes.
  for (QAction* sub : SubItems(item))
    if (IsMirrored(sub)) delete sub;
}

int cuiMenu::MirroredItemCount(const QAction* item) {
  int count = 0;
  for (QAction* sub : SubItems(item)) count += IsMirrored(sub) ? 1 : 0;
  return count;
}

void cuiMenu::Refresh() {
  if (!root_) return;
  QObject* lastOwner = nullptr;
  RefreshLevel(root_->actions(), lastOwner);
  // The sheet's cursor moves on; a later refresh asks again.
  contextCell_.reset();
}

void cuiMenu::RefreshLevel(const QList<QAction*>& items, QObject*& lastOwner) {
  for (QAction* item : items) {
    if (item->parent() != lastOwner) {
      lastOwner = item->parent();
      contextCell_ = AskContext(lastOwner);
    }
    RefreshItem(item);
    RefreshLevel(SubItems(item), lastOwner);
  }
}

void cuiMenu::RefreshItem(QAction* item) {
  auto* menuItem = dynamic_cast<cuiMenuItem*>(item);
  if (!menuItem) {
    item->setChecked(false);
    return;
  }
  cmcCellObj& cell = *menuItem->Cell();
  for (int flag = cmcCellObj::kFlagChecked; flag <= cmcCellObj::kFlagCaptionReplaced; ++flag)
    cell.SetFlag(flag, false);
  builder::RefreshCell(owner_, cell, contextCell_.get());
  if (!item->isSeparator()) {
    const bool checked = cell.Flag(cmcCellObj::kFlagChecked);
    item->setCheckable(checked);
    item->setChecked(checked);
  }
  item->setVisible(!cell.Flag(cmcCellObj::kFlagHidden));
  item->setEnabled(!cell.Flag(cmcCellObj::kFlagDisabled));
  const QString caption = QString::fromStdString(cell.Caption());
  if (cell.Flag(cmcCellObj::kFlagCaptionReplaced) && caption != item->text())
    item->setText(caption);
  if (cell.ImageIndex() != menuItem->shownImage) {
    menuItem->shownImage = cell.ImageIndex();
    item->setIcon(images_ ? images_->Icon(cell.ImageIndex()) : QIcon());
  }
}

void cuiMenu::DefaultClick(QAction* item) {
  cmcCellObj* cell = CellOf(item);
  if (!cell || !Contains(item)) return;
  std::unique_ptr<cmcCellObj> context = AskContext(nullptr);
  builder::ExecuteCell(owner_, *cell, context.get());
  // The command may have closed the window and with it this menu.
  if (LiveMenus().contains(this)) Refresh();
}
