// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tree.h"

#include <QHeaderView>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/evman.h"
#include "platform/qt/qt_colour.h"
#include "platform/qt/qt_font.h"
#include "text/gtex.h"
#include "ui/builder_body.h"
#include "ui/image_list.h"

namespace {

constexpr int kCellRole = Qt::UserRole;
constexpr int kOverlayRole = Qt::UserRole + 1;

void CollectNodes(QTreeWidgetItem* node, std::vector<QTreeWidgetItem*>& out) {
  out.push_back(node);
  for (int i = 0; i < node->childCount(); ++i) CollectNodes(node->child(i), out);
}

}  // namespace

cuiTree::cuiTree(cmcEvMan& bus, QWidget* panel, cmcGTex& table, std::string key,
                 const cuiImageList* images)
    : bus_(bus), panel_(panel), table_(table), key_(std::move(key)), images_(images) {
  tree_ = new QTreeWidget(panel);
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  if (images_) tree_->setIconSize(images_->ImageSize());
  // A tree built again (a model change) takes the place of the one before
  // in the panel's layout; left out of it, it would sit in the corner at
  // its default size.
  if (panel) {
    if (!panel->layout()) new QVBoxLayout(panel);
    panel->layout()->setContentsMargins(0, 0, 0, 0);
    panel->layout()->addWidget(tree_);
  }
  // The selected page stays visible while the user works in the sheet.
  QPalette palette = tree_->palette();
  for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  tree_->setPalette(palette);

  changeTimer_ = new QTimer(tree_);
  changeTimer_->setSingleShot(true);
  QObject::connect(changeTimer_, &QTimer::timeout, tree_, [this] {
    if (tree_ && changeHandler_) changeHandler_(tree_->currentItem());
  });
  QObject::connect(tree_, &QTreeWidget::currentItemChanged, tree_, [this] { SelectionChanged(); });
  // A screen reader selects a node through the selection alone, leaving the
  // current node where it was; the node selected is the user's choice, so
  // it becomes the current one, and its page opens as on a click.
  QObject::connect(tree_, &QTreeWidget::itemSelectionChanged, tree_, [this] {
    const QList<QTreeWidgetItem*> chosen = tree_->selectedItems();
    if (chosen.size() == 1 && chosen.front() != tree_->currentItem())
      tree_->setCurrentItem(chosen.front());
  });
  bus_.Subscribe<ev::SheetDestroyed>(this, [this](const ev::SheetDestroyed& e) {
    if (panel_ && e.grid == static_cast<const QWidget*>(panel_.data())) Detach();
  });
}

cuiTree::~cuiTree() {
  bus_.Unsubscribe(this);
  if (tree_) {
    tree_->hide();
    delete tree_.data();
  }
}

void cuiTree::Load() {
  if (!tree_) return;
  tree_->clear();
  cells_.clear();
  basic_ = cmcCellObj();
  basic_.Parse(table_.Line(key_ + "_BasicCell", 0), nullptr);
  ApplyBasicCell();
  builder::AddNested<QTreeWidgetItem*>(
      builder::BodyLines(table_, key_ + "_Body"),
      [this](QTreeWidgetItem* parent, std::string_view definition) {
        return AddNode(parent, definition);
      });
  if (tree_->topLevelItemCount() > 0) tree_->topLevelItem(0)->setExpanded(true);
}

void cuiTree::ApplyBasicCell() {
  QPalette palette = tree_->palette();
  palette.setColor(QPalette::Base, platform::ToQColor(basic_.Color(), palette));
  if (const platform::FontValue* font = basic_.Font()) {
    tree_->setFont(platform::ToQFont(*font, tree_->font()));
    palette.setColor(QPalette::Text, platform::ToQColor(font->color, palette));
  }
  tree_->setPalette(palette);
}

cmcCellObj* cuiTree::SelectedCell() const {
  if (!tree_) return nullptr;
  const QTreeWidgetItem* node = tree_->currentItem();
  return node ? CellOf(node) : nullptr;
}

cmcCellObj* cuiTree::CellOf(const QTreeWidgetItem* node) {
  return static_cast<cmcCellObj*>(node->data(0, kCellRole).value<void*>());
}

std::vector<QTreeWidgetItem*> cuiTree::Nodes() const {
  std::vector<QTreeWidgetItem*> nodes;
  if (!tree_) return nodes;
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) CollectNodes(tree_->topLevelItem(i), nodes);
  return nodes;
}

QTreeWidgetItem* cuiTree::FindNode(std::string_view reference) const {
  for (QTreeWidgetItem* node : Nodes()) {
    const cmcCellObj* cell = CellOf(node);
    if (cell && cell->Parameter() == reference) return node;
  }
  return nullptr;
}

QTreeWidgetItem* cuiTree::AddNode(QTreeWidgetItem* parent, std::string_view definition,
                                  int position) {
  if (!tree_) return nullptr;
  auto cell = std::make_unique<cmcCellObj>();
  cell->Parse(definition, &basic_);
  auto* node = new QTreeWidgetItem;
  node->setText(0, QString::fromStdString(cell->Caption()));
  node->setData(0, kCellRole, QVariant::fromValue(static_cast<void*>(cell.get())));
  node->setData(0, kOverlayRole, -1);
  cells_.push_back(std::move(cell));
  const int count = parent ? parent->childCount() : tree_->topLevelItemCount();
  const int at = position < 0 || position > count ? count : position;
  if (parent)
    parent->insertChild(at, node);
  else
    tree_->insertTopLevelItem(at, node);
  UpdateIcon(node);
  return node;
}

void cuiTree::ForgetCells(QTreeWidgetItem* node) {
  std::vector<QTreeWidgetItem*> doomed;
  CollectNodes(node, doomed);
  for (QTreeWidgetItem* n : doomed) {
    const cmcCellObj* cell = CellOf(n);
    std::erase_if(cells_, [cell](const auto& owned) { return owned.get() == cell; });
  }
}

void cuiTree::RemoveNode(QTreeWidgetItem* node) {
  if (!node) return;
  ForgetCells(node);
  delete node;
}

int cuiTree::Overlay(const QTreeWidgetItem* node) { return node->data(0, kOverlayRole).toInt(); }

void cuiTree::SetOverlay(QTreeWidgetItem* node, int overlay) {
  if (Overlay(node) == overlay) return;
  node->setData(0, kOverlayRole, overlay);
  UpdateIcon(node);
}

void cuiTree::UpdateIcon(QTreeWidgetItem* node) {
  if (!images_) return;
  const cmcCellObj* cell = CellOf(node);
  QPixmap image = images_->Image(cell ? cell->ImageIndex() : -1);
  const int overlay = Overlay(node);
  if (overlay >= 0) {
    const QPixmap mark =
        images_->Image(overlay == kErrorOverlay ? kErrorOverlayImage : kWarningOverlayImage);
    if (image.isNull()) {
      image = QPixmap(images_->ImageSize());
      image.fill(Qt::transparent);
    }
    QPainter painter(&image);
    painter.drawPixmap(0, 0, mark);
  }
  node->setIcon(0, image.isNull() ? QIcon() : QIcon(image));
}

void cuiTree::ClearMarks(QTreeWidgetItem* node) {
  if (!node) return;
  std::vector<QTreeWidgetItem*> nodes;
  CollectNodes(node, nodes);
  for (QTreeWidgetItem* n : nodes) SetOverlay(n, -1);
}

int cuiTree::Mark(QTreeWidgetItem* node, const std::vector<std::string>& references, int overlay) {
  const cmcCellObj* cell = CellOf(node);
  const bool listed = cell && std::find(references.begin(), references.end(), cell->Parameter()) !=
                                  references.end();
  int count = listed ? 1 : 0;
  for (int i = 0; i < node->childCount(); ++i) count += Mark(node->child(i), references, overlay);
  if (listed || (count > 0 && !node->isExpanded())) SetOverlay(node, overlay);
  return count;
}

cuiTree::MarkCounts cuiTree::MarkAll(const std::vector<std::string>& errors,
                                     const std::vector<std::string>& warnings) {
  MarkCounts counts;
  if (!tree_) return counts;
  // Every top-level branch, not just the first: a mark must never outlive
  // the problem that caused it.
  for (int i = 0; i < tree_->topLevelItemCount(); ++i) ClearMarks(tree_->topLevelItem(i));
  for (int i = tree_->topLevelItemCount() - 1; i >= 0; --i) {
    QTreeWidgetItem* node = tree_->topLevelItem(i);
    counts.warnings += Mark(node, warnings, kWarningOverlay);
    counts.errors += Mark(node, errors, kErrorOverlay);
  }
  return counts;
}

int cuiTree::NamesWidth() const {
  if (!tree_) return 0;
  // The view's own measure covers only the expanded nodes; a collapsed
  // branch's names count as well, since the user will open it.
  QStyleOptionViewItem option;
  option.initFrom(tree_);
  option.font = tree_->font();
  option.fontMetrics = QFontMetrics(tree_->font());
  option.decorationSize = tree_->iconSize();
  option.decorationPosition = QStyleOptionViewItem::Left;
  option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  int widest = 0;
  for (QTreeWidgetItem* node : Nodes()) {
    int depth = tree_->rootIsDecorated() ? 1 : 0;
    for (const QTreeWidgetItem* p = node->parent(); p; p = p->parent()) ++depth;
    const QModelIndex index = tree_->indexFromItem(node);
    const int item = tree_->itemDelegateForIndex(index)->sizeHint(option, index).width();
    widest = std::max(widest, depth * tree_->indentation() + item);
  }
  const int bar = tree_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tree_);
  return widest + 2 * tree_->frameWidth() + bar;
}

void cuiTree::Run(QTreeWidgetItem* node) {
  if (cmcCellObj* cell = node ? CellOf(node) : nullptr) builder::ExecuteCell(this, *cell);
}

void cuiTree::SetChangeHandler(int delayMs, std::function<void(QTreeWidgetItem*)> handler) {
  changeDelay_ = std::max(0, delayMs);
  changeHandler_ = std::move(handler);
}

void cuiTree::SelectionChanged() {
  if (!tree_ || !tree_->currentItem()) return;
  if (!changeHandler_) {
    Run(tree_->currentItem());
  } else if (changeDelay_ == 0) {
    changeHandler_(tree_->currentItem());
  } else {
    changeTimer_->start(changeDelay_);
  }
}

void cuiTree::Detach() {
  if (tree_) {
    tree_->hide();
    delete tree_.data();
  }
  cells_.clear();
  bus_.Unsubscribe(this);
}
