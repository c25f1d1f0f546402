// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fleet_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

#include "platform/qt/screens_qt.h"
#include "radio/progress_sink.h"
#include "text/gtex.h"

namespace {

enum Line {
  kCaption,
  kIdsLabel,
  kLogLabel,
  kBrowse,
  kStart,
  kClose,
  kNote,
  kPortsLabel,
  kPortColumn,
  kIdentityColumn,
  kProgressColumn,
  kResultColumn
};

enum Column { kPort, kIdentity, kProgress, kResult };

QString Text(cmcGTex& table, Line line) {
  return QString::fromStdString(table.Line("GI_Dlg_Fleet", line));
}

}  // namespace

// A cable row's bar: the bytes of the running read or write.
class cuiFleetDialog::RowProgress : public cmcProgressSink {
 public:
  explicit RowProgress(QProgressBar* bar) : bar_(bar) {}
  void OpenProgress(int totalBytes) override { ShowProgress(0, totalBytes); }
  void ShowProgress(int dataBytes, int totalBytes) override {
    if (!bar_) return;
    bar_->setRange(0, totalBytes > 0 ? totalBytes : 1);
    bar_->setValue(dataBytes < totalBytes ? dataBytes : totalBytes);
  }
  void CloseProgress() override {}

 private:
  QPointer<QProgressBar> bar_;
};

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
  grid->addWidget(new QLabel(Text(table, kPortsLabel), this), 5, 0, 1, 2);
  ports_ = new QListWidget(this);
  ports_->setMaximumHeight(fontMetrics().height() * 6);
  grid->addWidget(ports_, 6, 0, 1, 2);
  cables_ = new QTableWidget(0, 4, this);
  cables_->setHorizontalHeaderLabels({Text(table, kPortColumn), Text(table, kIdentityColumn),
                                      Text(table, kProgressColumn), Text(table, kResultColumn)});
  cables_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  cables_->horizontalHeader()->setStretchLastSection(true);
  cables_->verticalHeader()->hide();
  grid->addWidget(cables_, 7, 0, 1, 2);
  lines_ = new QListWidget(this);
  grid->addWidget(lines_, 8, 0, 1, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  start_ = new QPushButton(Text(table, kStart), this);
  close_ = new QPushButton(Text(table, kClose), this);
  buttons->addWidget(start_);
  buttons->addWidget(close_);
  grid->addLayout(buttons, 9, 0, 1, 2);
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
  // Its wish, within the screen of its owner: at a large scale factor
  // 620 points may be taller than the screen, and Start would be out of
  // reach below it.
  const QRect area = platform::WorkAreaOfWindow(owner ? owner->window() : nullptr);
  resize(std::min(700, area.width()), std::min(620, area.height()));
  show();
  ids_->setFocus();
}

cuiFleetDialog::~cuiFleetDialog() = default;

void cuiFleetDialog::SetPorts(const std::vector<Port>& ports, const std::vector<int>& ticked) {
  ports_->clear();
  for (const Port& port : ports) {
    auto* item = new QListWidgetItem(QString::fromStdString(port.text), ports_);
    item->setData(Qt::UserRole, port.number);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    const bool on = std::find(ticked.begin(), ticked.end(), port.number) != ticked.end();
    item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  }
}

std::vector<int> cuiFleetDialog::TickedPorts() const {
  std::vector<int> ports;
  for (int i = 0; i < ports_->count(); ++i)
    if (ports_->item(i)->checkState() == Qt::Checked)
      ports.push_back(ports_->item(i)->data(Qt::UserRole).toInt());
  return ports;
}

void cuiFleetDialog::ShowCables(const std::vector<std::string>& ports) {
  progress_.clear();
  cables_->setRowCount(0);
  cables_->setRowCount(static_cast<int>(ports.size()));
  for (int row = 0; row < static_cast<int>(ports.size()); ++row) {
    cables_->setItem(
        row, kPort,
        new QTableWidgetItem(QString::fromStdString(ports[static_cast<std::size_t>(row)])));
    cables_->setItem(row, kIdentity, new QTableWidgetItem);
    cables_->setItem(row, kResult, new QTableWidgetItem);
    auto* bar = new QProgressBar;
    bar->setRange(0, 1);
    bar->setValue(0);
    cables_->setCellWidget(row, kProgress, bar);
    progress_.push_back(std::make_unique<RowProgress>(bar));
  }
  cables_->resizeColumnToContents(kPort);
}

void cuiFleetDialog::SetCable(int cable, const std::string& identity, const std::string& result) {
  if (cable < 0 || cable >= cables_->rowCount()) return;
  cables_->item(cable, kIdentity)->setText(QString::fromStdString(identity));
  cables_->item(cable, kResult)->setText(QString::fromStdString(result));
}

cmcProgressSink& cuiFleetDialog::CableProgress(int cable) {
  return *progress_[static_cast<std::size_t>(cable)];
}

void cuiFleetDialog::SetRunning(bool running) {
  running_ = running;
  for (QWidget* w :
       {static_cast<QWidget*>(ids_), static_cast<QWidget*>(log_), static_cast<QWidget*>(start_),
        static_cast<QWidget*>(close_), static_cast<QWidget*>(ports_)})
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
