// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fleet programming: the dialog, and the core's fleet
// run talking to the radios through the window's clone exchanges (progress
// window included) and asking for each radio with a message box.
#include <QEventLoop>
#include <QFileInfo>
#include <QMainWindow>
#include <set>
#include <string>

#include "base/events.h"
#include "base/evman.h"
#include "model/user_questions.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "radio/fleet_run.h"
#include "shell/document_commands.h"
#include "shell/navigation.h"
#include "shell/transfer_commands.h"
#include "shell/window_context.h"
#include "text/gtex.h"
#include "ui/fleet_dialog.h"

namespace shell {
namespace {

// What the log says of an exchange that never started (busy, refused).
constexpr int kNotStarted = -1;

// During a run the list of the dialog says that each radio is done; a
// success box per exchange would want three clicks a radio, and the
// question before each write is answered by the OK that said the radio is
// connected. Failures, warnings and every other question still reach the
// user.
class QuietSuccess : public UserQuestions {
 public:
  explicit QuietSuccess(UserQuestions& user) : user_(user) {}

  int Ask(const std::string& key, unsigned style) override {
    if (key == "GI_Mess_Confirm_CloneWrite") return platform::kIdOk;
    return user_.Ask(key, style);
  }
  void Report(Kind kind, const std::string& text) override {
    if (kind != Kind::kSuccess) user_.Report(kind, text);
  }

 private:
  UserQuestions& user_;
};

class WindowStation : public fleet::FleetStation {
 public:
  WindowStation(cmcGTex& table, cmcProgressSink* progress, int port, int model,
                const cmcEeprom& image, cuiFleetDialog* dialog)
      : table_(table),
        progress_(progress),
        port_(port),
        model_(model),
        image_(image),
        dialog_(dialog) {}

  bool NextRadio(const fleet::Radio& radio, int number, int count) override {
    const std::string text =
        cloneman::FormatTexts(table_.Block("GI_Mess_Fleet_Next"),
                              {radio.id, std::to_string(number), std::to_string(count)});
    return platform::ShowMessage(text, table_.Text("GI_Sys_AppTitle"),
                                 platform::kMbOkCancel | platform::kMbIconInformation) ==
           platform::kIdOk;
  }
  int Ask(cmcDocument& document) override {
    return Exchange(document, &cmcDocument::CloneInformation);
  }
  int Read(cmcDocument& document) override { return Exchange(document, &cmcDocument::CloneRead); }
  int OpenImage(cmcDocument& document) override {
    document.ChangeModel(model_, false);
    document.Working().Assign(image_);
    return 0;
  }
  int Write(cmcDocument& document) override { return Exchange(document, &cmcDocument::CloneWrite); }
  std::string Failure(int status) override {
    return cloneman::FormatText(table_.Text("GI_Fleet_Failed"), std::to_string(status));
  }
  void Done(const fleet::LogLine& line, int) override {
    if (dialog_)
      dialog_->AddLine(line.time + "   " + line.id + "   " + line.revision + "   " + line.result);
  }

 private:
  // One clone command to its end on a local event loop; 0 or its status.
  int Exchange(cmcDocument& document,
               cmcDocument::StartResult (cmcDocument::*command)(cmcDocument::Done)) {
    indCloneMan& man = document.CloneMan();
    man.SetProgressSink(progress_);
    man.SetPortNumber(port_);
    std::optional<CloneStatus> status;
    UserQuestions& user = document.Questions();
    QuietSuccess quiet(user);
    document.SetQuestions(&quiet);
    QEventLoop loop;
    const auto started = (document.*command)([&](CloneStatus s) {
      status = s;
      loop.quit();
    });
    if (started == cmcDocument::kStarted && !status) loop.exec();
    document.SetQuestions(&user);
    man.SetProgressSink(nullptr);
    return started == cmcDocument::kStarted ? static_cast<int>(status.value_or(CloneStatus::kOk))
                                            : kNotStarted;
  }

  cmcGTex& table_;
  cmcProgressSink* progress_;
  int port_;
  int model_;
  const cmcEeprom& image_;
  QPointer<cuiFleetDialog> dialog_;
};

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
  const cmcEeprom image = documents_.Document().Working();
  WindowStation station(Table(), context_.progress, ports_.CurrentPort(),
                        documents_.Document().ModelType(), image, fleet_);
  if (fleet_) fleet_->SetRunning(true);
  fleetRunning_ = true;
  const fleet::Outcome outcome = fleet::Run(pending, log, station);
  fleetRunning_ = false;
  if (fleet_) fleet_->SetRunning(false);
  if (outcome.logProblem)
    ShowError(LogMessage(Table(), log, *outcome.logProblem, "GI_Mess_Fleet_LogUnreadableLater"));
  else if (outcome.logFailed)
    ShowError(cloneman::FormatText(Table().Text("GI_Mess_Fleet_LogFailed"), log));
}

}  // namespace shell
