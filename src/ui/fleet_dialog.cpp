// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fleet_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "text/gtex.h"

namespace {

enum Line { kCaption, kIdsLabel, kLogLabel, kBrowse, kStart, kClose, kNote };

QString Text(cmcGTex& table, Line line) {
  return QString::fromStdString(table.Line("GI_Dlg_Fleet", line));
}

}  // namespace

cuiFleetDialog::cuiFleetDialog(QWidget* owner, cmcGTex& table, Browse browseIds, Browse browseLog,
                               Start start)
    : QDialog(owner) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Text(table, kCaption));
  auto* grid = new QGridLayout(this);
  const auto field = [&](int row, Line label, QLineEdit*& edit, Browse browse) {
    grid->addWidget(new QLabel(Text(table, label), this), row, 0, 1, 2);
    edit = new QLineEdit(this);
    grid->addWidget(edit, row + 1, 0);
    auto* button = new QPushButton(Text(table, kBrowse), this);
    browse_.push_back(button);
    grid->addWidget(button, row + 1, 1);
    connect(button, &QPushButton::clicked, this, [edit, browse = std::move(browse)] {
      if (const auto path = browse(edit->text().toStdString()))
        edit->setText(QString::fromStdString(*path));
    });
  };
  field(0, kIdsLabel, ids_, std::move(browseIds));
  field(2, kLogLabel, log_, std::move(browseLog));
  auto* note = new QLabel(Text(table, kNote), this);
  note->setWordWrap(true);
  grid->addWidget(note, 4, 0, 1, 2);
  lines_ = new QListWidget(this);
  grid->addWidget(lines_, 5, 0, 1, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  start_ = new QPushButton(Text(table, kStart), this);
  close_ = new QPushButton(Text(table, kClose), this);
  buttons->addWidget(start_);
  buttons->addWidget(close_);
  grid->addLayout(buttons, 6, 0, 1, 2);
  start_->setDefault(true);

  // A fresh log beside the list is what a user picking only the list wants.
  connect(ids_, &QLineEdit::textChanged, this, [this](const QString& ids) {
    if (!log_->isModified())
      log_->setText(ids.isEmpty() ? QString() : ids + QStringLiteral(".log.csv"));
  });
  connect(start_, &QPushButton::clicked, this, [this, start = std::move(start)] {
    start(ids_->text().toStdString(), log_->text().toStdString());
  });
  connect(close_, &QPushButton::clicked, this, &QDialog::close);
  resize(640, 420);
  show();
  ids_->setFocus();
}

void cuiFleetDialog::SetRunning(bool running) {
  running_ = running;
  for (QWidget* w : {static_cast<QWidget*>(ids_), static_cast<QWidget*>(log_),
                     static_cast<QWidget*>(start_), static_cast<QWidget*>(close_)})
    w->setEnabled(!running);
  for (QPushButton* button : browse_) button->setEnabled(!running);
}

void cuiFleetDialog::closeEvent(QCloseEvent* event) {
  // The run's exchanges talk to this dialog until they end.
  if (running_)
    event->ignore();
  else
    QDialog::closeEvent(event);
}

void cuiFleetDialog::AddLine(const std::string& line) {
  lines_->addItem(QString::fromStdString(line));
  lines_->scrollToBottom();
}
