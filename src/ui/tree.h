// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The navigation tree, built from the overlay: "<key>_BasicCell" gives the
// tree its font and background, "<key>_Body" one nested line per node. Each
// node carries its cell definition; its parameter is the page reference the
// node opens (CallSheet), which is how the owner finds and marks nodes.
//
// Marks: a node shows overlay 0 (error) or 1 (warning) over its image when
// its page is in the owner's list, or when it is collapsed and hides such a
// page somewhere below it, so a closed folder still tells of its pages.
//
// The tree lives in a panel. When the panel's sheet reports its destruction
// (event 1 with that panel) the tree drops its control and its nodes; the
// object itself stays with its owner.

#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/cell.h"

class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class cmcGTex;
class cuiImageList;
class cmcEvMan;

class cuiTree {
 public:
  static constexpr int kErrorOverlay = 0;
  static constexpr int kWarningOverlay = 1;
  // The image list pictures that serve as the two overlays.
  static constexpr int kErrorOverlayImage = 5;
  static constexpr int kWarningOverlayImage = 4;

  // Creates the read-only tree control inside panel; images may be null.
  // The tree goes with the sheet whose grid is panel (told on bus).
  cuiTree(cmcEvMan& bus, QWidget* panel, cmcGTex& table, std::string key,
          const cuiImageList* images);
  ~cuiTree();
  cuiTree(const cuiTree&) = delete;
  cuiTree& operator=(const cuiTree&) = delete;

  // Builds the nodes from the overlay (replacing any) and expands the first.
  void Load();

  // Null once the control is gone.
  QTreeWidget* Widget() const { return tree_; }
  // The selected node's cell, or null.
  cmcCellObj* SelectedCell() const;
  static cmcCellObj* CellOf(const QTreeWidgetItem* node);
  // Every node in list order (a parent before its children).
  std::vector<QTreeWidgetItem*> Nodes() const;
  // The first node in list order whose parameter equals reference exactly.
  QTreeWidgetItem* FindNode(std::string_view reference) const;

  // A node from a definition line (the text after the "+"), under parent
  // (null: the top level) at position (-1: at the end).
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, std::string_view definition, int position = -1);
  // Deletes the node, its children and their cells.
  void RemoveNode(QTreeWidgetItem* node);

  // Removes the overlay from node and all its descendants.
  void ClearMarks(QTreeWidgetItem* node);
  // Marks node's subtree with overlay for the page references in the list;
  // returns how many nodes of the subtree are in the list.
  int Mark(QTreeWidgetItem* node, const std::vector<std::string>& references, int overlay);
  // The whole marking pass of the owner's warning check: clears every mark,
  // then marks each top-level subtree, last to first, with the warnings and
  // then the errors, so that an error outranks a warning on the same node.
  struct MarkCounts {
    int errors = 0;
    int warnings = 0;
  };
  MarkCounts MarkAll(const std::vector<std::string>& errors,
                     const std::vector<std::string>& warnings);
  // -1 when the node shows no overlay.
  static int Overlay(const QTreeWidgetItem* node);

  // The width the control needs to show every node's picture and whole
  // name with the tree fully expanded, frame and vertical scroll bar
  // included: what a first start gives the tree panel.
  int NamesWidth() const;

  // Runs the node's cell as a command (action 13), which opens its page.
  void Run(QTreeWidgetItem* node);
  // What happens when the user selects a node: handler(node) after the
  // selection has rested delayMs milliseconds (0: at once). Without a
  // handler a selected node is run.
  void SetChangeHandler(int delayMs, std::function<void(QTreeWidgetItem*)> handler);

 private:
  void Detach();
  void ApplyBasicCell();
  void SetOverlay(QTreeWidgetItem* node, int overlay);
  void UpdateIcon(QTreeWidgetItem* node);
  void SelectionChanged();
  void ForgetCells(QTreeWidgetItem* node);

  cmcEvMan& bus_;
  QPointer<QWidget> panel_;
  cmcGTex& table_;
  std::string key_;
  const cuiImageList* images_;
  QPointer<QTreeWidget> tree_;
  QTimer* changeTimer_ = nullptr;  // owned by the control
  int changeDelay_ = 0;
  std::function<void(QTreeWidgetItem*)> changeHandler_;
  cmcCellObj basic_;
  std::vector<std::unique_ptr<cmcCellObj>> cells_;
};
