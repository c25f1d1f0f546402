// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/progress_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QPainter>

#include "platform/qt/screens_qt.h"

namespace {

// The bar: cells of (width + 1) / 32 pixels, the filled ones in the
// highlight colour, the rest and each cell's last column in the window
// colour, so that the cells stay apart.
class ProgressBox : public QWidget {
 public:
  ProgressBox(QWidget* parent, const cuiProgressWindow& window) : QWidget(parent), window_(window) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Base);
    const QColor filled = palette().color(QPalette::Highlight);
    painter.fillRect(rect(), background);
    const int cell = progress::CellWidth(width());
    const int count = window_.FilledCells();
    for (int i = 0; i < count && cell > 1; ++i) {
      painter.fillRect(i * cell, 0, cell - 1, height(), filled);
    }
  }

 private:
  const cuiProgressWindow& window_;
};

}  // namespace

cuiProgressWindow::cuiProgressWindow(QWidget* mainWindow)
    // A tool window with a caption but without system menu or border icons.
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mainWindow_(mainWindow) {
  // The caption is the program's own text, not the overlay's.
  setWindowTitle(QString::fromUtf8("\u7f16\u7a0b\u4e2d"));
  panel_ = new QFrame(this);
  panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel_->setLineWidth(kBevelWidth);
  panel_->setGeometry(kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
  box_ = new ProgressBox(panel_, *this);
  box_->setGeometry(panel_->contentsRect());
  setFixedSize(kPanelWidth + 32, kPanelHeight + 32);

  repaint_.setInterval(progress::kRepaintMs);
  connect(&repaint_, &QTimer::timeout, box_, qOverload<>(&QWidget::update));
}

cuiProgressWindow::~cuiProgressWindow() {
  if (isVisible()) CloseProgress();
}

void cuiProgressWindow::OpenProgress(int totalBytes) {
  dataBytes_ = 0;
  totalBytes_ = totalBytes;
  SetMainWindowEnabled(false);
  platform::AttachToOwner(this, mainWindow_);
  show();
  // Placed once shown, when the frame the window system adds is known.
  if (mainWindow_) platform::CentreOver(this, mainWindow_);
  repaint_.start();
}

void cuiProgressWindow::ShowProgress(int dataBytes, int totalBytes) {
  dataBytes_ = dataBytes;
  totalBytes_ = totalBytes;
}

void cuiProgressWindow::CloseProgress() {
  repaint_.stop();
  closing_ = true;
  close();
  closing_ = false;
  // The main window stays disabled only while this window exists.
  SetMainWindowEnabled(true);
}

void cuiProgressWindow::SetMainWindowEnabled(bool enabled) {
  if (!mainWindow_) return;
  mainWindow_->setEnabled(enabled);
  if (enabled) {
    mainWindow_->activateWindow();
    mainWindow_->setFocus();
  }
}

void cuiProgressWindow::closeEvent(QCloseEvent* event) {
  // Only the end of the exchange closes the window; the user cannot.
  if (closing_) {
    event->accept();
  } else {
    event->ignore();
  }
}
