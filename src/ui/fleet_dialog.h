// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fleet programming dialog: the identity list and the log file (typed
// or browsed for), a Start button, and one line per radio programmed
// (time, identity, revision, result). The run itself is the owner's: the
// dialog only asks for it and shows its lines. Modeless; closing deletes it.
//
// Texts come from the overlay key GI_Dlg_Fleet, line by line: caption, the
// two field labels, the browse button, Start, Close and the note on what
// is written where.

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPushButton;
class cmcGTex;

class cuiFleetDialog : public QDialog {
 public:
  // A browse button's choice, starting from what the field holds.
  using Browse = std::function<std::optional<std::string>(const std::string&)>;
  using Start = std::function<void(const std::string& ids, const std::string& log)>;

  cuiFleetDialog(QWidget* owner, cmcGTex& table, Browse browseIds, Browse browseLog, Start start);

  // The buttons and fields stay disabled while a run is on.
  void SetRunning(bool running);
  void AddLine(const std::string& line);

  QLineEdit* Ids() const { return ids_; }
  QLineEdit* Log() const { return log_; }
  QPushButton* StartButton() const { return start_; }
  QListWidget* Lines() const { return lines_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QLineEdit* ids_ = nullptr;
  QLineEdit* log_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* close_ = nullptr;
  std::vector<QPushButton*> browse_;
  QListWidget* lines_ = nullptr;
  bool running_ = false;
};
