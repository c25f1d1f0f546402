// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fleet_station.h"

#include "model/user_questions.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "radio/port_map.h"
#include "text/gtex.h"

namespace {

// What the log says of an exchange that never started (busy, refused).
constexpr int kNotStarted = -1;

// The first line of a message, for a row of the dialog.
std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

}  // namespace

// During a run the dialog says that each radio is done: a success box per
// exchange would want three clicks a radio, and the question before each
// write is answered by the OK that said the radios are connected. What went
// wrong is kept for the cable's row; other questions still reach the user.
class cuiFleetStation::CableQuestions : public UserQuestions {
 public:
  int Ask(const std::string& key, unsigned style) override {
    if (key == "GI_Mess_Confirm_CloneWrite") return platform::kIdOk;
    return DefaultQuestions().Ask(key, style);
  }
  void Report(Kind kind, const std::string& text) override {
    if (kind != Kind::kSuccess) said = FirstLine(text);
  }
  std::string said;
};

cuiFleetStation::cuiFleetStation(cmcGTex& table, cuiFleetDialog* dialog, std::vector<int> ports,
                                 int model, const cmcEeprom& image)
    : table_(table), dialog_(dialog), ports_(std::move(ports)), model_(model), image_(image) {
  for (std::size_t i = 0; i < ports_.size(); ++i)
    questions_.push_back(std::make_unique<CableQuestions>());
}

cuiFleetStation::~cuiFleetStation() = default;

std::string cuiFleetStation::PortText(cmcGTex& table, int port) {
  std::string text = cloneman::FormatInt(table.Line("GI_Mess_CloneErr_PortName", 0), port);
  if (const std::string path = PortDevicePath(port); !path.empty() && path != text)
    text += " (" + path + ")";
  return text;
}

bool cuiFleetStation::NextRound(const std::vector<fleet::Assignment>& round) {
  std::string text;
  if (ports_.size() == 1) {
    const fleet::Assignment& radio = round.front();
    text = cloneman::FormatTexts(
        table_.Block("GI_Mess_Fleet_Next"),
        {radio.radio->id, std::to_string(radio.number), std::to_string(radio.count)});
  } else {
    std::string radios;
    for (const fleet::Assignment& radio : round)
      radios += radio.radio->id + " (" + std::to_string(radio.number) + " / " +
                std::to_string(radio.count) +
                "): " + PortText(table_, ports_[static_cast<std::size_t>(radio.cable)]) + "\n";
    radios.pop_back();
    text = cloneman::FormatText(table_.Block("GI_Mess_Fleet_NextRound"), radios);
  }
  return platform::ShowMessage(text, table_.Text("GI_Sys_AppTitle"),
                               platform::kMbOkCancel | platform::kMbIconInformation) ==
         platform::kIdOk;
}

void cuiFleetStation::Prepare(int cable, cmcDocument& document) {
  const auto i = static_cast<std::size_t>(cable);
  indCloneMan& man = document.CloneMan();
  man.SetPortNumber(ports_[i]);
  man.SetProgressSink(dialog_ ? &dialog_->CableProgress(cable) : nullptr);
  document.SetQuestions(questions_[i].get());
}

int cuiFleetStation::OpenImage(cmcDocument& document) {
  document.ChangeModel(model_, false);
  document.Working().Assign(image_);
  return 0;
}

int cuiFleetStation::Status(CloneStatus status) { return static_cast<int>(status); }

int cuiFleetStation::NotStarted(cmcDocument::StartResult) { return kNotStarted; }

std::string cuiFleetStation::Failure(int status) {
  return cloneman::FormatText(table_.Text("GI_Fleet_Failed"), std::to_string(status));
}

void cuiFleetStation::Reached(const fleet::Assignment& radio, fleet::Stage stage) {
  questions_[static_cast<std::size_t>(radio.cable)]->said.clear();
  if (dialog_)
    dialog_->SetCable(radio.cable, radio.radio->id,
                      table_.Line("GI_Fleet_Steps", static_cast<int>(stage)));
}

void cuiFleetStation::Done(const fleet::Assignment& radio, const fleet::LogLine& line, int status) {
  if (!dialog_) return;
  std::string result = line.result;
  const std::string& said = questions_[static_cast<std::size_t>(radio.cable)]->said;
  if (status != 0 && !said.empty()) result += ": " + said;
  dialog_->SetCable(radio.cable, radio.radio->id, result);
  dialog_->AddLine(line.time + "   " + line.id + "   " + line.revision + "   " + line.result);
}
