// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An image list: pictures of one size, addressed by the image index that
// tree, menu and tool bar definitions carry.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <vector>

class cuiImageList {
 public:
  explicit cuiImageList(QSize imageSize = QSize(32, 32)) : size_(imageSize) {}

  QSize ImageSize() const { return size_; }
  int Count() const { return static_cast<int>(images_.size()); }
  // Adds a picture, scaled to the list's size when it differs; returns its index.
  int Add(const QPixmap& image);
  // The picture at index, or a null pixmap outside the list.
  QPixmap Image(int index) const;
  QIcon Icon(int index) const;

 private:
  QSize size_;
  std::vector<QPixmap> images_;
};
