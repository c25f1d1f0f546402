// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/backups_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "platform/paths.h"
#include "text/gtex.h"
#include "ui/list_table.h"

namespace {

enum Line {
  kCaption,
  kHeading,
  kDate,
  kModel,
  kComment,
  kSize,
  kNote,
  kUnreadable,
  kEmpty,
  kFolderUnreadable,
  kOpen,
  kCompare,
  kShowFolder,
  kClose
};

QString Native(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

cuiBackupsDialog::cuiBackupsDialog(QWidget* owner, cmcGTex& table, std::string folder,
                                   Actions actions)
    : QDialog(owner),
      gtex_(table),
      folder_(folder.empty() ? platform::BackupDir() : std::move(folder)),
      actions_(std::move(actions)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Text(kCaption));
  auto* layout = new QVBoxLayout(this);
  heading_ = new QLabel(
      Text(kHeading).replace(QStringLiteral("%s"),
                             QDir::toNativeSeparators(QFile::decodeName(folder_.c_str()))),
      this);
  heading_->setWordWrap(true);
  heading_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(heading_);

  table_ =
      NewListTable(this, 0, {Text(kDate), Text(kModel), Text(kComment), Text(kSize), Text(kNote)});
  layout->addWidget(table_);

  auto* buttons = new QDialogButtonBox(this);
  open_ = buttons->addButton(Text(kOpen), QDialogButtonBox::ActionRole);
  compare_ = buttons->addButton(Text(kCompare), QDialogButtonBox::ActionRole);
  folderButton_ = buttons->addButton(Text(kShowFolder), QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Close)->setText(Text(kClose));
  layout->addWidget(buttons);

  connect(open_, &QPushButton::clicked, this, [this] { OpenSelected(); });
  connect(compare_, &QPushButton::clicked, this, [this] { CompareSelected(); });
  connect(folderButton_, &QPushButton::clicked, this, [this] { ShowFolder(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int, int) { OpenSelected(); });
  connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });

  Reload();
  resize(760, 420);
}

QString cuiBackupsDialog::Text(int line) const {
  return Native(gtex_.Line("GI_Dlg_Backups", line));
}

void cuiBackupsDialog::Reload() {
  const backup::Entry* selected = Selected();
  const std::string keep = selected ? selected->path : std::string();
  std::error_code error;
  entries_ = backup::ListBackups(folder_, &error);
  unreadableFolder_ = error ? error.message() : std::string();
  Fill();
  int row = entries_.empty() ? -1 : 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].path == keep) row = static_cast<int>(i);
  }
  if (row >= 0) table_->selectRow(row);
  UpdateButtons();
}

void cuiBackupsDialog::Fill() {
  table_->clearSpans();
  table_->clearContents();
  if (entries_.empty()) {
    table_->setRowCount(1);
    const QString line = unreadableFolder_.empty()
                             ? Text(kEmpty)
                             : Text(kFolderUnreadable).replace("%s", Native(unreadableFolder_));
    auto* item = new QTableWidgetItem(line);
    item->setFlags(Qt::ItemIsEnabled);
    table_->setItem(0, 0, item);
    table_->setSpan(0, 0, 1, table_->columnCount());
    return;
  }
  table_->setRowCount(static_cast<int>(entries_.size()));
  const QColor muted = palette().color(QPalette::Disabled, QPalette::Text);
  const QLocale locale;
  for (int row = 0; row < table_->rowCount(); ++row) {
    const backup::Entry& e = entries_[static_cast<std::size_t>(row)];
    const QString note =
        e.Readable() ? QString() : Text(kUnreadable).replace("%s", Native(e.reason));
    const QString cells[] = {
        Native(e.date),
        Native(e.model),
        Native(e.comment),
        locale.formattedDataSize(static_cast<qint64>(e.size), 1, QLocale::DataSizeSIFormat),
        note,
    };
    for (int column = 0; column < table_->columnCount(); ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      // The file name says which file a row is, above all for one that
      // cannot be read.
      item->setToolTip(note.isEmpty() ? Native(e.file) : Native(e.file) + "\n" + note);
      if (!e.Readable()) item->setForeground(muted);
      table_->setItem(row, column, item);
    }
  }
  table_->resizeColumnsToContents();
}

const backup::Entry* cuiBackupsDialog::Selected() const {
  if (!table_) return nullptr;
  const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
  if (ranges.isEmpty()) return nullptr;
  const int row = ranges.front().topRow();
  if (row < 0 || row >= static_cast<int>(entries_.size())) return nullptr;
  return &entries_[static_cast<std::size_t>(row)];
}

void cuiBackupsDialog::UpdateButtons() {
  const backup::Entry* e = Selected();
  const bool usable = e && e->Readable();
  open_->setEnabled(usable && actions_.open);
  compare_->setEnabled(usable && actions_.compare);
}

void cuiBackupsDialog::OpenSelected() {
  const backup::Entry* e = Selected();
  if (!e || !e->Readable() || !actions_.open) return;
  // The entry goes with the list when the open reloads it.
  const std::string path = e->path;
  if (actions_.open(path)) close();
}

void cuiBackupsDialog::CompareSelected() {
  const backup::Entry* e = Selected();
  if (!e || !e->Readable() || !actions_.compare) return;
  const std::string path = e->path;
  actions_.compare(path);
}

void cuiBackupsDialog::ShowFolder() {
  // Every read makes the folder; before the first one it is shown empty.
  const QString folder = QFile::decodeName(folder_.c_str());
  QDir().mkpath(folder);
  const QUrl url = QUrl::fromLocalFile(folder);
  if (actions_.showFolder)
    actions_.showFolder(url);
  else
    QDesktopServices::openUrl(url);
}
