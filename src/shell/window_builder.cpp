// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/window_builder.h"

#include <QFrame>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <algorithm>

#include "base/events.h"
#include "base/evman.h"
#include "settings/environ.h"
#include "shell/window_context.h"
#include "text/gtex.h"
#include "ui/menu.h"
#include "ui/tool_bar.h"

namespace shell {
namespace {

constexpr int kMinTreeWidth = 8;

QFrame* BevelledPanel(QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(2);
  return panel;
}

}  // namespace

WindowBuilder::WindowBuilder(WindowContext& context) : context_(context) {}

WindowBuilder::~WindowBuilder() = default;

void WindowBuilder::BuildFrame(QMainWindow* form, bool toolBarVisible) {
  cmcGTex& table = WindowContext::Table();
  menu_ = std::make_unique<cuiMenu>(context_.bus, form, form->menuBar(), table, "GI_Menu_Main");
  menu_->SetImages(context_.barImages);
  menu_->Build();
  toolBar_ = std::make_unique<cuiToolBar>(context_.bus, form, table, "GI_ToolBar_Main",
                                          context_.barImages);
  toolBar_->Build();
  toolBar_->AddTo(form);
  toolBar_->SetVisible(toolBarVisible);
  context_.bus.Send(ev::CommandsChanged{});

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
}

void WindowBuilder::PlaceSplitter(int namesWidth) {
  const int formWidth = context_.form->width();
  const int saved = gEnviron ? gEnviron->SplitterV : 0;
  const int treeWidth =
      std::max(kMinTreeWidth, saved > 0 ? saved : std::min(namesWidth, formWidth / 2));
  splitter_->setSizes({treeWidth, std::max(1, formWidth - treeWidth)});
}

void WindowBuilder::BuildStatusBar(cuiStatusBar::DrawFn draw, std::function<void()> layout) {
  status_ = new cuiStatusBar(context_.form);
  context_.form->setStatusBar(status_);
  status_->AddPanel(100);
  status_->AddPanel(status_->sizeHint().height());
  status_->SetDraw(std::move(draw));
  status_->SetOnResize([this, layout = std::move(layout)] {
    status_->SetPanelWidth(status_->PanelCount() - 1, status_->height());
    layout();
  });
}

void WindowBuilder::Release() {
  toolBar_.reset();
  menu_.reset();
  status_ = nullptr;
  splitter_ = nullptr;
  treePanel_ = nullptr;
  sheetPanel_ = nullptr;
}

}  // namespace shell
