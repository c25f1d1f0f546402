// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/find_radio_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "radio/clone_man_message.h"
#include "text/gtex.h"
#include "ui/list_table.h"

namespace {

enum Line {
  kCaption,
  kWaiting,
  kAsked,
  kLeftOut,
  kNothingToAsk,
  kNoRadio,
  kOneRadio,
  kRadios,
  kStopped,
  kUse,
  kAgain,
  kStop,
  kClose,
  kPortColumn,
  kAnswerColumn,
};

QString Text(cmcGTex& table, Line line) {
  return QString::fromStdString(table.Line("GI_Dlg_FindRadio", line));
}

}  // namespace

cuiFindRadioDialog::cuiFindRadioDialog(QWidget* owner, cmcGTex& table, Ports ports, Use use,
                                       platform::SerialDeviceFactory devices)
    : QDialog(owner),
      table_(table),
      ports_(std::move(ports)),
      use_fn_(std::move(use)),
      finder_(std::move(devices)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(Text(table, kCaption));
  auto* layout = new QVBoxLayout(this);
  summary_ = new QLabel(this);
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  lines_ = NewListTable(this, 0, {Text(table, kPortColumn), Text(table, kAnswerColumn)});
  lines_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  layout->addWidget(lines_);
  asked_ = new QLabel(this);
  asked_->setWordWrap(true);
  asked_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(asked_);

  auto* buttons = new QHBoxLayout;
  use_ = new QPushButton(Text(table, kUse), this);
  again_ = new QPushButton(Text(table, kAgain), this);
  stop_ = new QPushButton(Text(table, kStop), this);
  close_ = new QPushButton(Text(table, kClose), this);
  buttons->addWidget(use_);
  buttons->addStretch();
  buttons->addWidget(again_);
  buttons->addWidget(stop_);
  buttons->addWidget(close_);
  layout->addLayout(buttons);

  connect(use_, &QPushButton::clicked, this, [this] { UseSelected(); });
  connect(again_, &QPushButton::clicked, this, [this] { Search(); });
  connect(stop_, &QPushButton::clicked, this, [this] { Stop(); });
  connect(close_, &QPushButton::clicked, this, &QDialog::close);
  connect(lines_, &QTableWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
  connect(lines_, &QTableWidget::cellDoubleClicked, this, [this] {
    if (SelectedRadio()) UseSelected();
  });
  resize(720, 360);
  Search();
  show();
}

cuiFindRadioDialog::~cuiFindRadioDialog() { finder_.Cancel(); }

void cuiFindRadioDialog::Search() {
  finder_.Cancel();
  shown_.clear();
  lines_->setRowCount(0);
  const radiofind::PortSet ports = ports_ ? ports_() : radiofind::PortSet{};
  std::string asked = cloneman::FormatText(Text(table_, kAsked).toStdString(),
                                           radiofind::PortLabels(ports.tried, table_));
  if (!ports.leftOut.empty()) {
    asked += "\n" + cloneman::FormatText(Text(table_, kLeftOut).toStdString(),
                                         radiofind::PortLabels(ports.leftOut, table_));
  }
  asked_->setText(QString::fromStdString(asked));
  if (ports.tried.empty()) {
    SetSummary(Text(table_, kNothingToAsk).toStdString());
    UpdateButtons();
    return;
  }
  SetSummary(cloneman::FormatText(Text(table_, kWaiting).toStdString(),
                                  std::to_string(ports.tried.size())));
  finder_.Start(
      ports.tried, [this](const clsFindAnswer& answer) { AddLine(answer); },
      [this] { Finished(); });
  UpdateButtons();
}

void cuiFindRadioDialog::AddLine(const clsFindAnswer& answer) {
  const int row = lines_->rowCount();
  lines_->insertRow(row);
  auto* port =
      new QTableWidgetItem(QString::fromStdString(radiofind::PortLabel(answer.port, table_)));
  auto* text = new QTableWidgetItem(QString::fromStdString(radiofind::OutcomeText(answer, table_)));
  if (answer.outcome == clsFindAnswer::kRadio) {
    QFont bold = port->font();
    bold.setBold(true);
    port->setFont(bold);
    text->setFont(bold);
  }
  lines_->setItem(row, 0, port);
  lines_->setItem(row, 1, text);
  shown_.push_back(answer);
  // The first radio is offered as soon as it answers.
  if (answer.outcome == clsFindAnswer::kRadio && !SelectedRadio()) lines_->selectRow(row);
  UpdateButtons();
}

void cuiFindRadioDialog::Finished() {
  const std::vector<clsFindAnswer> radios = finder_.Radios();
  if (radios.empty()) {
    SetSummary(Text(table_, kNoRadio).toStdString());
  } else if (radios.size() == 1) {
    const clsFindAnswer& radio = radios.front();
    const std::string label = radiofind::PortLabel(radio.port, table_);
    SetSummary(cloneman::FormatText(Text(table_, kOneRadio).toStdString(), label));
    if (use_fn_) {
      use_fn_(radio.port.number,
              cloneman::FormatTexts(table_.Line("GI_Status_FindRadio", 0),
                                    {label, radiofind::OutcomeText(radio, table_)}));
    }
  } else {
    SetSummary(
        cloneman::FormatText(Text(table_, kRadios).toStdString(), std::to_string(radios.size())));
  }
  UpdateButtons();
  (SelectedRadio() ? use_ : close_)->setFocus();
}

void cuiFindRadioDialog::Stop() {
  if (!finder_.IsRunning()) return;
  finder_.Cancel();
  SetSummary(Text(table_, kStopped).toStdString());
  UpdateButtons();
}

const clsFindAnswer* cuiFindRadioDialog::SelectedRadio() const {
  const QList<QTableWidgetItem*> selected = lines_->selectedItems();
  if (selected.isEmpty()) return nullptr;
  const int row = selected.front()->row();
  if (row < 0 || row >= static_cast<int>(shown_.size())) return nullptr;
  const clsFindAnswer& answer = shown_[static_cast<std::size_t>(row)];
  return answer.outcome == clsFindAnswer::kRadio ? &answer : nullptr;
}

void cuiFindRadioDialog::UseSelected() {
  const clsFindAnswer* radio = SelectedRadio();
  if (!radio) return;
  // Whatever else is still being asked is of no interest once the user chose.
  finder_.Cancel();
  const std::string label = radiofind::PortLabel(radio->port, table_);
  if (use_fn_)
    use_fn_(radio->port.number, cloneman::FormatText(table_.Line("GI_Status_FindRadio", 1), label));
  close();
}

void cuiFindRadioDialog::UpdateButtons() {
  const bool searching = finder_.IsRunning();
  use_->setEnabled(SelectedRadio() != nullptr);
  again_->setEnabled(!searching);
  stop_->setEnabled(searching);
  use_->setDefault(use_->isEnabled());
}

void cuiFindRadioDialog::SetSummary(const std::string& text) {
  summary_->setText(QString::fromStdString(text));
}

void cuiFindRadioDialog::closeEvent(QCloseEvent* event) {
  finder_.Cancel();
  QDialog::closeEvent(event);
}

void cuiFindRadioDialog::reject() {
  // Escape: the ports are closed before the window goes.
  finder_.Cancel();
  QDialog::reject();
}
