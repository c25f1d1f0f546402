// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/import_dialog.h"

#include <algorithm>

#include <QBrush>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "text/gtex.h"
#include "ui/list_table.h"

namespace {

enum Line {
  kCaption,
  kPage,
  kRow,
  kColumn,
  kBefore,
  kAfter,
  kNote,
  kHeading,
  kApply,
  kCancel,
  kChanged,
  kWarned,
  kThrough,
  kKept
};

QString Text(cmcGTex& table, Line line) {
  return QString::fromStdString(table.Line("GI_Dlg_Import", line));
}

// line with each %s replaced by the next of args.
QString Filled(QString line, const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    const qsizetype at = line.indexOf(QStringLiteral("%s"));
    if (at < 0) break;
    line.replace(at, 2, QString::fromStdString(arg));
  }
  return line;
}

}  // namespace

cuiImportDialog::cuiImportDialog(QWidget* owner, cmcGTex& table, const std::string& file,
                                 const layout::CsvImportResult& result)
    : QDialog(owner) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  setWindowTitle(Text(table, kCaption));
  auto* layout = new QVBoxLayout(this);
  heading_ = new QLabel(Filled(Text(table, kHeading), {file}), this);
  heading_->setWordWrap(true);
  layout->addWidget(heading_);

  const int rows = static_cast<int>(result.changes.size() + result.kept.size());
  table_ = NewListTable(this, rows,
                        {Text(table, kPage), Text(table, kRow), Text(table, kColumn),
                         Text(table, kBefore), Text(table, kAfter), Text(table, kNote)});
  int row = 0;
  const auto put = [this, &row](const std::vector<std::string>& cells, const QString& note,
                                bool marked) {
    for (int c = 0; c < 5; ++c) {
      table_->setItem(row, c,
                      new QTableWidgetItem(QString::fromStdString(cells[static_cast<size_t>(c)])));
    }
    auto* item = new QTableWidgetItem(note);
    item->setToolTip(note);  // a long note is cut in its column
    table_->setItem(row, 5, item);
    // A warning stands out in the theme's colours for a note (the
    // selection's would look selected), and its text says it for a reader
    // that does not see them.
    if (marked) {
      for (int c = 0; c < 6; ++c) {
        table_->item(row, c)->setBackground(palette().brush(QPalette::ToolTipBase));
        table_->item(row, c)->setForeground(palette().brush(QPalette::ToolTipText));
      }
    }
    ++row;
  };
  for (const layout::CsvChange& change : result.changes) {
    const std::string line = std::to_string(change.line);
    const QString note = change.line == 0 ? Text(table, kThrough)
                         : change.warning.empty()
                             ? Filled(Text(table, kChanged), {line})
                             : Filled(Text(table, kWarned), {line, change.warning});
    put({change.page, change.row, change.column, change.before, change.after}, note,
        !change.warning.empty());
  }
  for (const layout::CsvKept& kept : result.kept) {
    put({kept.page, kept.row, kept.column, kept.image, kept.image},
        Filled(Text(table, kKept), {std::to_string(kept.line), kept.image, kept.file}), false);
  }
  table_->resizeColumnsToContents();
  table_->setAccessibleName(heading_->text());
  layout->addWidget(table_);

  auto* buttons = new QDialogButtonBox(this);
  apply_ = buttons->addButton(Text(table, kApply), QDialogButtonBox::AcceptRole);
  cancel_ = buttons->addButton(Text(table, kCancel), QDialogButtonBox::RejectRole);
  // Enter alone does not apply a list that warns.
  const bool warned = std::any_of(result.changes.begin(), result.changes.end(),
                                  [](const layout::CsvChange& c) { return !c.warning.empty(); });
  (warned ? cancel_ : apply_)->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  // As wide as the list, within the screen.
  const int wanted = table_->horizontalHeader()->length() + 2 * table_->frameWidth() +
                     table_->verticalScrollBar()->sizeHint().width() +
                     layout->contentsMargins().left() + layout->contentsMargins().right();
  const int screenWidth = screen() ? screen()->availableGeometry().width() * 9 / 10 : 1000;
  resize(std::clamp(wanted, 600, std::max(600, screenWidth)), 440);
}
