// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an import would do, shown before anything is applied: every cell it
// changes (page, row, column, before, after, the CSV's line, a warning
// marked) and every value it keeps because the spreadsheet only rewrote
// its number, with Apply and Cancel. Window-modal; accepted() is Apply,
// rejected() Cancel (the window's close box too). Closing deletes it.
//
// Texts come from the overlay key GI_Dlg_Import, line by line: caption,
// the six column captions, the line above the table (%s: the file), Apply,
// Cancel, the note of a changed cell (%s: its line), of one changed with a
// warning (%s: line, warning), of one another value changed, and of a kept
// value (%s: line, the image's text, the file's).

#include <QDialog>
#include <string>

#include "layout/csv_transfer.h"

class QLabel;
class QPushButton;
class QTableWidget;
class cmcGTex;

class cuiImportDialog : public QDialog {
 public:
  cuiImportDialog(QWidget* owner, cmcGTex& table, const std::string& file,
                  const layout::CsvImportResult& result);

  QTableWidget* Table() const { return table_; }
  QLabel* Heading() const { return heading_; }
  QPushButton* ApplyButton() const { return apply_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  QTableWidget* table_ = nullptr;
  QLabel* heading_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* cancel_ = nullptr;
};
