// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fleet programming dialog: the identity list and the log file (typed
// or browsed for), the ports to program on (one cable each, ticked), a
// Start button, one row per cable with its radio's identity, progress and
// result, and one line per radio programmed (time, identity, revision,
// result). The run itself is the owner's: the dialog only asks for it and
// shows what it says. Modeless; closing deletes it.
//
// Texts come from the overlay key GI_Dlg_Fleet, line by line: caption, the
// two field labels, the browse button, Start, Close, the note on what is
// written where, the ports' label and the cable rows' four column titles.

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class cmcGTex;
class cmcProgressSink;

class cuiFleetDialog : public QDialog {
 public:
  // A browse button's choice, starting from what the field holds.
  using Browse = std::function<std::optional<std::string>(const std::string&)>;
  using Start = std::function<void(const std::string& ids, const std::string& log)>;

  // A port offered for a cable.
  struct Port {
    int number = 0;
    std::string text;  // as the list shows it, "COM7 (/dev/ttyUSB0)"
  };

  cuiFleetDialog(QWidget* owner, cmcGTex& table, Browse browseIds, Browse browseLog, Start start);
  ~cuiFleetDialog() override;

  // The ports offered; those of ticked are ticked.
  void SetPorts(const std::vector<Port>& ports, const std::vector<int>& ticked);
  // The numbers of the ticked ports, in the list's order.
  std::vector<int> TickedPorts() const;

  // The buttons, fields and ports stay disabled while a run is on.
  void SetRunning(bool running);
  void AddLine(const std::string& line);

  // One row per cable of the run starting, by its port's text.
  void ShowCables(const std::vector<std::string>& ports);
  // The radio a cable has now and where it has got to.
  void SetCable(int cable, const std::string& identity, const std::string& result);
  // The progress of cable's reads and writes.
  cmcProgressSink& CableProgress(int cable);

  QLineEdit* Ids() const { return ids_; }
  QLineEdit* Log() const { return log_; }
  QListWidget* Ports() const { return ports_; }
  QPushButton* StartButton() const { return start_; }
  QListWidget* Lines() const { return lines_; }
  QTableWidget* Cables() const { return cables_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  class RowProgress;

  QLineEdit* ids_ = nullptr;
  QLineEdit* log_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* close_ = nullptr;
  std::vector<QPushButton*> browse_;
  QListWidget* ports_ = nullptr;
  QTableWidget* cables_ = nullptr;
  std::vector<std::unique_ptr<RowProgress>> progress_;
  QListWidget* lines_ = nullptr;
  bool running_ = false;
};
