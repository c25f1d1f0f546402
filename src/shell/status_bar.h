// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's status bar: a row of owner-drawn panels whose widths
// the main controller sets (LayoutStatusBar) and whose contents it draws
// (DrawStatusPanel). Qt's own status bar lays out its widgets by stretch
// factors; here every panel keeps the width it was given, left to right.

#include <QStatusBar>
#include <functional>
#include <vector>

class cuiStatusBar : public QStatusBar {
 public:
  using DrawFn = std::function<void(QPainter& painter, int panel, const QRect& rect)>;

  explicit cuiStatusBar(QWidget* parent = nullptr);

  // Appends a panel (or inserts it before position) and returns its index.
  int AddPanel(int width, int position = -1);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  int PanelWidth(int panel) const;
  void SetPanelWidth(int panel, int width);
  QWidget* Panel(int panel) const { return panels_.at(static_cast<std::size_t>(panel)); }

  void SetDraw(DrawFn draw) { draw_ = std::move(draw); }
  void SetOnResize(std::function<void()> onResize) { onResize_ = std::move(onResize); }
  void RepaintPanels();
  // Called by a panel's paint event.
  void DrawPanel(QPainter& painter, const QWidget* panel, const QRect& rect) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Place();

  std::vector<QWidget*> panels_;  // owned by the bar as children
  std::vector<int> widths_;
  DrawFn draw_;
  std::function<void()> onResize_;
};
