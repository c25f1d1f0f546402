// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fleet programming: the dialog, and the core's fleet
// run on the ports ticked there, one cable each, through the window's fleet
// station (ui/fleet_station.h).
#include <QEventLoop>
#include <QFileInfo>
#include <QMainWindow>
#include <algorithm>
#include <set>
#include <string>

#include "base/events.h"
#include "base/evman.h"
#include "model/user_questions.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "radio/fleet_cables.h"
#include "radio/fleet_run.h"
#include "radio/port_choice.h"
#include "shell/document_commands.h"
#include "shell/navigation.h"
#include "shell/transfer_commands.h"
#include "shell/window_context.h"
#include "text/gtex.h"
#include "ui/fleet_dialog.h"
#include "ui/fleet_station.h"

namespace shell {
namespace {

// The message of a refused identity list.
std::string ListMessage(cmcGTex& table, const std::string& path, const fleet::ListProblem& p) {
  const std::string format = table.Line("GI_Mess_Fleet_List", static_cast<int>(p.kind));
  const std::string line = std::to_string(p.line);
  switch (p.kind) {
    case fleet::ListProblem::kCsv: return cloneman::FormatTexts(format, {path, p.detail});
    case fleet::ListProblem::kBadId:
    case fleet::ListProblem::kTwice:
    case fleet::ListProblem::kLongComment:
      return cloneman::FormatTexts(format, {line, path, p.value});
    case fleet::ListProblem::kUnshown:
      return cloneman::FormatTexts(format, {line, path, p.value, p.detail});
    case fleet::ListProblem::kUnreadable:
    case fleet::ListProblem::kNoHeader:
    case fleet::ListProblem::kEmpty: break;
  }
  return cloneman::FormatText(format, path);
}

// The message of a log that cannot be read completely (detail names the
// line where there is one).
std::string LogMessage(cmcGTex& table, const std::string& log, const fleet::LogProblem& problem,
                       const char* key) {
  return cloneman::FormatTexts(table.Text(key), {log, problem.detail});
}

cmcGTex& Table() { return WindowContext::Table(); }

}  // namespace

void TransferCommands::FleetProgramming() {
  if (fleet_) {
    fleet_->raise();
    return;
  }
  context_.bus.Send(ev::CommitEditor{});
  const auto browse = [this](bool save) {
    return [this, save](const std::string& current) {
      cuiFileDialogs::Request request = CsvRequest();
      request.appends = save;  // the log grows; a run never overwrites it
      if (!current.empty()) {
        const QFileInfo info(QString::fromStdString(current));
        request.directory = info.absolutePath().toStdString();
        request.fileName = info.fileName().toStdString();
      }
      return save ? dialogs_.ChooseSave(fleet_, request) : dialogs_.ChooseOpen(fleet_, request);
    };
  };
  fleet_ = new cuiFleetDialog(
      context_.form, Table(), browse(false), browse(true),
      [this](const std::string& ids, const std::string& log) { RunFleet(ids, log); });
  // --- several cables: every present port is offered, the current one ticked.
  std::vector<int> numbers = portchoice::PresentPortNumbers();
  if (std::find(numbers.begin(), numbers.end(), ports_.CurrentPort()) == numbers.end())
    numbers.insert(std::upper_bound(numbers.begin(), numbers.end(), ports_.CurrentPort()),
                   ports_.CurrentPort());
  std::vector<cuiFleetDialog::Port> ports;
  for (int n : numbers) ports.push_back({n, cuiFleetStation::PortText(Table(), n)});
  fleet_->SetPorts(ports, {ports_.CurrentPort()});
  // --- end of several cables
}

void TransferCommands::RunFleet(const std::string& ids, const std::string& log) {
  if (ids.empty() || log.empty()) {
    ShowError(Table().Text("GI_Mess_Fleet_NoList"));
    return;
  }
  // The image is checked once, before any radio is touched.
  if (navigation_.WarningCheck().errors > 0) {
    ShowError(Table().Block("GI_Mess_DataError"));
    return;
  }
  std::vector<fleet::Radio> radios;
  if (const auto problem = fleet::ReadIds(ids, radios)) {
    ShowError(ListMessage(Table(), ids, *problem));
    return;
  }
  // A log that is there but cannot be read completely would hand out its
  // identities again: two radios with one identity.
  if (std::set<std::string> done; const auto problem = fleet::ReadLog(log, done)) {
    ShowError(LogMessage(Table(), log, *problem, "GI_Mess_Fleet_LogUnreadable"));
    return;
  }
  const std::vector<const fleet::Radio*> pending = fleet::Pending(radios, log);
  if (pending.empty()) {
    platform::ShowMessage(Table().Text("GI_Mess_Fleet_AllDone"), Table().Text("GI_Sys_AppTitle"),
                          platform::kMbOk | platform::kMbIconInformation);
    return;
  }
  documents_.Document().SetMaker(context_.maker);
  // --- several cables: one per ticked port, each with exchanges of its own.
  const std::vector<int> ports =
      fleet_ ? fleet_->TickedPorts() : std::vector<int>{ports_.CurrentPort()};
  if (ports.empty()) {
    ShowError(Table().Text("GI_Mess_Fleet_NoPort"));
    return;
  }
  std::vector<std::string> labels;
  for (int port : ports) labels.push_back(cuiFleetStation::PortText(Table(), port));
  if (fleet_) fleet_->ShowCables(labels);
  cuiFleetStation station(Table(), fleet_, ports, documents_.Document().ModelType(),
                          documents_.Document().Working());
  fleet::CableRun run(pending, log, static_cast<int>(ports.size()), true, station);
  fleet::Outcome outcome;
  QEventLoop loop;
  if (fleet_) fleet_->SetRunning(true);
  fleetRunning_ = true;
  // As during any exchange, the main window waits (and cannot be closed).
  if (context_.form) context_.form->setEnabled(false);
  run.Start([&](const fleet::Outcome& o) {
    outcome = o;
    loop.quit();
  });
  loop.exec();
  if (context_.form) context_.form->setEnabled(true);
  fleetRunning_ = false;
  if (fleet_) fleet_->SetRunning(false);
  // --- end of several cables
  if (outcome.logProblem)
    ShowError(LogMessage(Table(), log, *outcome.logProblem, "GI_Mess_Fleet_LogUnreadableLater"));
  else if (outcome.logFailed)
    ShowError(cloneman::FormatText(Table().Text("GI_Mess_Fleet_LogFailed"), log));
}

}  // namespace shell
