// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/status_bar.h"

#include <QPainter>
#include <algorithm>

namespace {

class PanelWidget : public QWidget {
 public:
  explicit PanelWidget(cuiStatusBar* bar) : QWidget(bar), bar_(bar) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    bar_->DrawPanel(painter, this, rect());
  }

 private:
  cuiStatusBar* bar_;
};

}  // namespace

cuiStatusBar::cuiStatusBar(QWidget* parent) : QStatusBar(parent) { setSizeGripEnabled(false); }

int cuiStatusBar::AddPanel(int width, int position) {
  const int at = position < 0 || position > PanelCount() ? PanelCount() : position;
  auto* panel = new PanelWidget(this);
  panels_.insert(panels_.begin() + at, panel);
  widths_.insert(widths_.begin() + at, width);
  panel->show();
  Place();
  return at;
}

int cuiStatusBar::PanelWidth(int panel) const {
  return widths_.at(static_cast<std::size_t>(panel));
}

void cuiStatusBar::SetPanelWidth(int panel, int width) {
  widths_.at(static_cast<std::size_t>(panel)) = width;
  Place();
}

void cuiStatusBar::RepaintPanels() {
  for (QWidget* panel : panels_) panel->update();
}

void cuiStatusBar::DrawPanel(QPainter& painter, const QWidget* panel, const QRect& rect) const {
  if (!draw_) return;
  const auto found = std::find(panels_.begin(), panels_.end(), panel);
  if (found != panels_.end()) draw_(painter, static_cast<int>(found - panels_.begin()), rect);
}

void cuiStatusBar::resizeEvent(QResizeEvent* event) {
  QStatusBar::resizeEvent(event);
  if (onResize_) onResize_();
  Place();
}

void cuiStatusBar::Place() {
  int x = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    panels_[i]->setGeometry(x, 0, widths_[i], height());
    x += widths_[i];
  }
}
