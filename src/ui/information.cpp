// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/information.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "model/cell_names.h"
#include "platform/qt/qt_font.h"
#include "platform/qt/screens_qt.h"
#include "text/font_syntax.h"
#include "text/gtex.h"
#include "ui/grid.h"
#include "ui/iui_sheet.h"

namespace {

constexpr int kPanelBorder = 8;
constexpr int kBevelWidth = 2;
constexpr int kButtonMargin = 5;

}  // namespace

cuiInformation::cuiInformation(cmcEvMan& bus, QWidget* owner, const std::string& caption,
                               cmcGTex& table, const std::string& sheetKey,
                               const cuiImageList* images)
    // No Qt parent: disabling the owner would disable the dialog with it.
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      owner_(owner) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString::fromStdString(caption));
  platform::FontValue font;
  ApplyFontDescriptor(table.Text("CellModel_BasicDialog"), font);
  setFont(platform::ToQFont(font, QApplication::font()));

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setLineWidth(kBevelWidth);
  auto* inside = new QVBoxLayout(panel);
  inside->setContentsMargins(kPanelBorder, kPanelBorder, kPanelBorder, kPanelBorder);
  auto* page = new QWidget(panel);
  inside->addWidget(page);

  // Room enough for any page while it is measured, so that no control is
  // squeezed below its own minimum and the extents come out whole.
  page->resize(QApplication::primaryScreen() ? QApplication::primaryScreen()->size() * 2
                                             : QSize(4000, 4000));
  sheet_ = std::make_unique<iuiSheet>(bus, page, nullptr, CL_NoCell, 0, table, sheetKey, images);
  sheet_->Build();
  cuiGrid& grid = *sheet_->Grid();
  grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  page->layout()->activate();
  // The page area takes exactly what the page needs.
  page->setFixedSize(sheet_->ExtentWidth(), sheet_->ExtentHeight());

  button_ =
      new QPushButton(QString::fromStdString(table.Line("GI_AppInd_Button_OkCancel", 0)), this);
  button_->setDefault(true);
  connect(button_, &QPushButton::clicked, this, &QDialog::close);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(panel);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, kButtonMargin * 2, kButtonMargin, kButtonMargin);
  row->addStretch(1);
  row->addWidget(button_);
  column->addLayout(row);
  column->setSizeConstraint(QLayout::SetFixedSize);
  adjustSize();

  // Centred over the owner, then pulled inside the owner's work area.
  QRect frame(QPoint(), size());
  if (owner_) {
    frame.moveCenter(owner_->frameGeometry().center());
    const QRect area = platform::WorkAreaOfRect(frame);
    if (area.isValid()) {
      frame.moveLeft(
          std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())));
      frame.moveTop(
          std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
    }
    owner_->setEnabled(false);
    platform::AttachToOwner(this, owner_);
  }
  move(frame.topLeft());
  show();
  button_->setFocus();
}

cuiInformation::~cuiInformation() {
  // The sheet goes before the controls it lives in.
  sheet_.reset();
  if (owner_) {
    owner_->setEnabled(true);
    owner_->setFocus();
  }
}
