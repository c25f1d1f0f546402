// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/compare_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "text/gtex.h"
#include "ui/list_table.h"

namespace {

enum Line { kCaption, kPage, kRow, kColumn, kThis, kOther, kNone, kByte, kHeading, kClose };

QString Text(cmcGTex& table, Line line) {
  return QString::fromStdString(table.Line("GI_Dlg_Compare", line));
}

}  // namespace

cuiCompareDialog::cuiCompareDialog(QWidget* owner, cmcGTex& table, const std::string& other,
                                   layout::ImageDifferences differences, OpenCell open)
    : QDialog(owner), differences_(std::move(differences)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Text(table, kCaption));
  auto* layout = new QVBoxLayout(this);
  heading_ = new QLabel(
      Text(table, kHeading).replace(QStringLiteral("%s"), QString::fromStdString(other)), this);
  heading_->setWordWrap(true);
  layout->addWidget(heading_);

  const int rows = static_cast<int>(differences_.cells.size() + differences_.bytes.size());
  table_ = NewListTable(this, rows == 0 ? 1 : rows,
                        {Text(table, kPage), Text(table, kRow), Text(table, kColumn),
                         Text(table, kThis), Text(table, kOther)});
  const auto put = [this](int row, int column, const std::string& text) {
    table_->setItem(row, column, new QTableWidgetItem(QString::fromStdString(text)));
  };
  int row = 0;
  for (const layout::CellDifference& cell : differences_.cells) {
    put(row, 0, cell.page);
    put(row, 1, cell.row);
    put(row, 2, cell.column);
    put(row, 3, cell.before);
    put(row, 4, cell.after);
    ++row;
  }
  for (const layout::ByteDifference& byte : differences_.bytes) {
    table_->setItem(row, 0,
                    new QTableWidgetItem(
                        Text(table, kByte)
                            .replace(QStringLiteral("%s"),
                                     QString::fromStdString(layout::AddressText(byte.address)))));
    table_->setItem(row, 3,
                    new QTableWidgetItem(QString::fromStdString(layout::ByteText(byte.before))));
    table_->setItem(row, 4,
                    new QTableWidgetItem(QString::fromStdString(layout::ByteText(byte.after))));
    ++row;
  }
  if (rows == 0) {
    table_->setItem(0, 0, new QTableWidgetItem(Text(table, kNone)));
    table_->setSpan(0, 0, 1, 5);
  }
  table_->resizeColumnsToContents();
  layout->addWidget(table_);

  connect(table_, &QTableWidget::cellDoubleClicked, this,
          [this, open = std::move(open)](int r, int) {
            if (!open || r < 0 || r >= static_cast<int>(differences_.cells.size())) return;
            const layout::CellDifference& cell = differences_.cells[static_cast<std::size_t>(r)];
            open(cell.reference, cell.pageRow, cell.pageColumn);
          });

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(Text(table, kClose));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  layout->addWidget(buttons);
  resize(720, 420);
  show();
}
