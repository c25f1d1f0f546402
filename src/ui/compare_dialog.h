// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result of a comparison: every cell whose text differs between the
// working image and the other one as a table (page, row, column, this
// image, other image), then the differing bytes no page shows, or one line
// saying there are none. A double click on a cell's line asks the owner to
// open that page with the cursor there. Modeless; closing deletes it.
//
// Texts come from the overlay key GI_Dlg_Compare, line by line: caption,
// the five column captions, "no differences", the byte line's page text
// (with %s for the address), the line above the table (%s: the other)
// and the close button's.

#include <QDialog>
#include <functional>
#include <string>

#include "layout/page_diff.h"

class QLabel;
class QTableWidget;
class cmcGTex;

class cuiCompareDialog : public QDialog {
 public:
  // reference, page row and column of the cell asked for.
  using OpenCell = std::function<void(const std::string&, int, int)>;

  cuiCompareDialog(QWidget* owner, cmcGTex& table, const std::string& other,
                   layout::ImageDifferences differences, OpenCell open);

  QTableWidget* Table() const { return table_; }
  QLabel* Heading() const { return heading_; }
  const layout::ImageDifferences& Differences() const { return differences_; }

 private:
  QTableWidget* table_ = nullptr;
  QLabel* heading_ = nullptr;
  layout::ImageDifferences differences_;
};
