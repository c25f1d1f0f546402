// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/preview_setting.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "output/dialog_font.h"
#include "text/gtex.h"

cuiPreviewSetting::cuiPreviewSetting(QWidget* owner, cmcGTex& table, int points) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Setting"));
  setFont(output::DialogFont(table));
  const QFontMetrics fm = fontMetrics();
  auto* label = new QLabel(QStringLiteral("Font Size: "), this);
  label->move(10, 10);
  label->adjustSize();
  sizes_ = new QComboBox(this);
  for (int n = 1; n <= kLargestPoints - kSmallestPoints + 1; ++n)
    sizes_->addItem(QString::number(n));
  sizes_->setCurrentIndex(std::clamp(points, kSmallestPoints, kLargestPoints) - kSmallestPoints);
  sizes_->adjustSize();
  sizes_->move(label->x() + label->width(), 10 + (label->height() - sizes_->height()) / 2);

  ok_ = new QPushButton(QString::fromStdString(table.Line("GI_AppInd_Button_OkCancel", 0)), this);
  cancel_ =
      new QPushButton(QString::fromStdString(table.Line("GI_AppInd_Button_OkCancel", 1)), this);
  const int width = fm.horizontalAdvance(
      QString::fromStdString(table.Text("GI_AppInd_Opt_ComSel_SizeOfButtons")));
  const int height = 2 * fm.height();
  const int top = std::max(label->y() + label->height(), sizes_->y() + sizes_->height()) + 10;
  ok_->setGeometry(10, top, width, height);
  cancel_->setGeometry(20 + width, top, width, height);
  ok_->setDefault(true);
  setFixedSize(std::max(30 + 2 * width, sizes_->x() + sizes_->width() + 10), top + height + 10);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

int cuiPreviewSetting::Points() const { return sizes_->currentIndex() + kSmallestPoints; }
