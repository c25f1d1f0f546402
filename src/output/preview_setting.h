// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The preview's "Setting" dialog: the printer font size as a choice of "1"
// to "5", entry n - 1 standing for n + 7 points.

#include <QDialog>

class QComboBox;
class QPushButton;
class cmcGTex;

class cuiPreviewSetting : public QDialog {
 public:
  static constexpr int kSmallestPoints = 8;
  static constexpr int kLargestPoints = 12;

  cuiPreviewSetting(QWidget* owner, cmcGTex& table, int points);

  // The points of the entry chosen.
  int Points() const;
  QComboBox* Sizes() const { return sizes_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  QComboBox* sizes_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
