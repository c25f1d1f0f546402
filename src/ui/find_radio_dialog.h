// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Port > Find the Radio: the window of the search for the radio. It asks
// every candidate port at once (radio/radio_finder.h), lists each port in a
// line as it answers (the port with its device and name, then the radio's
// model, revision and comment, or why there is none), says which ports it
// asked and which it left out, and offers the port of a radio that
// answered. When exactly one radio answered, its port is chosen at once.
// Stop, Close, Escape and closing the window end the search at once and
// close every port. Application-modal, so that no clone command can
// meet a port the search holds; closing deletes it.
//
// Texts come from the overlay key GI_Dlg_FindRadio, line by line.

#include <QDialog>
#include <functional>
#include <string>

#include "radio/radio_finder.h"

class QLabel;
class QPushButton;
class QTableWidget;
class cmcGTex;

class cuiFindRadioDialog : public QDialog {
 public:
  // The ports to ask, gathered afresh for every search.
  using Ports = std::function<radiofind::PortSet()>;
  // The port becomes the radio's port; status says so for the status bar.
  using Use = std::function<void(int port, const std::string& status)>;

  // Starts the first search at once. devices: where the ports' serial
  // devices come from (empty: the platform's).
  cuiFindRadioDialog(QWidget* owner, cmcGTex& table, Ports ports, Use use,
                     platform::SerialDeviceFactory devices = {});
  ~cuiFindRadioDialog() override;

  bool Searching() const { return finder_.IsRunning(); }
  // The port number of each line, in the order the ports answered.
  const std::vector<clsFindAnswer>& Answers() const { return finder_.Answers(); }

  QTableWidget* Lines() const { return lines_; }
  QLabel* Summary() const { return summary_; }
  QLabel* Asked() const { return asked_; }
  QPushButton* UseButton() const { return use_; }
  QPushButton* AgainButton() const { return again_; }
  QPushButton* StopButton() const { return stop_; }
  QPushButton* CloseButton() const { return close_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  void Search();
  void AddLine(const clsFindAnswer& answer);
  void Finished();
  void Stop();
  void UseSelected();
  // The answer of the selected line, when it found a radio.
  const clsFindAnswer* SelectedRadio() const;
  void UpdateButtons();
  void SetSummary(const std::string& text);

  cmcGTex& table_;
  Ports ports_;
  Use use_fn_;
  cmcRadioFinder finder_;
  std::vector<clsFindAnswer> shown_;  // the lines' answers, line by line
  QLabel* summary_ = nullptr;
  QLabel* asked_ = nullptr;
  QTableWidget* lines_ = nullptr;
  QPushButton* use_ = nullptr;
  QPushButton* again_ = nullptr;
  QPushButton* stop_ = nullptr;
  QPushButton* close_ = nullptr;
};
