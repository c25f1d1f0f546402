// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/image_list.h"

int cuiImageList::Add(const QPixmap& image) {
  if (!image.isNull() && image.size() != size_)
    images_.push_back(image.scaled(size_, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  else
    images_.push_back(image);
  return Count() - 1;
}

QPixmap cuiImageList::Image(int index) const {
  if (index < 0 || index >= Count()) return {};
  return images_[index];
}

QIcon cuiImageList::Icon(int index) const {
  const QPixmap image = Image(index);
  return image.isNull() ? QIcon() : QIcon(image);
}
