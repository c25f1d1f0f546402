// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli find: which serial port the radio is on. Every port that may
// hold the cable is asked at once; the lines come out together at the end,
// ordered by port, so that the one radio's "--port N" can come first.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_options.h"
#include "cli/cli_output.h"
#include "model/radio_info_text.h"
#include "platform/event_loop.h"
#include "radio/clone_man_message.h"
#include "radio/radio_finder.h"
#include "text/gtex.h"

namespace cli {
namespace {

// The answer as a word a script can test.
const char* AnswerWord(clsFindAnswer::Outcome outcome) {
  switch (outcome) {
    case clsFindAnswer::kRadio: return "radio";
    case clsFindAnswer::kSilent: return "silent";
    case clsFindAnswer::kNoEcho: return "no-echo";
    case clsFindAnswer::kOtherAnswer: return "other-device";
    case clsFindAnswer::kBusy: return "busy";
    case clsFindAnswer::kNoPermission: return "no-permission";
    case clsFindAnswer::kAbsent: return "absent";
    case clsFindAnswer::kUnusable: return "unusable";
  }
  return "unusable";
}

std::string UseOption(const clsFindAnswer& answer) {
  return "--port " + std::to_string(answer.port.number);
}

std::string JsonLine(const clsFindAnswer& a, cmcGTex& table) {
  std::string line = "{\"port\":" + std::to_string(a.port.number) +
                     ",\"device\":" + JsonString(a.port.device) +
                     ",\"name\":" + JsonString(a.port.description) +
                     ",\"answer\":" + JsonString(AnswerWord(a.outcome)) +
                     ",\"text\":" + JsonString(radiofind::OutcomeText(a, table));
  if (a.outcome == clsFindAnswer::kRadio) {
    line += ",\"model\":" + JsonString(radioinfo::ModelText(a.info.ModelType())) +
            ",\"modelType\":" + std::to_string(a.info.ModelType()) +
            ",\"revision\":" + JsonString(radioinfo::RevisionText(a.info.payload[1])) +
            ",\"comment\":" + JsonString(radiofind::RadioComment(a.info)) +
            ",\"use\":" + JsonString(UseOption(a));
  }
  return line + "}";
}

}  // namespace

int RunFind(const Options& options) {
  cmcGTex& table = *gGTex;
  UserQuestions& questions = DefaultQuestions();
  const radiofind::PortSet ports = radiofind::SystemPorts();
  if (!ports.leftOut.empty()) {
    questions.Report(UserQuestions::Kind::kWarning,
                     cloneman::FormatText(table.Line("GI_Cli_FindRadio", 3),
                                          radiofind::PortLabels(ports.leftOut, table)));
  }
  if (ports.tried.empty()) {
    questions.Report(UserQuestions::Kind::kError, table.Line("GI_Cli_FindRadio", 0));
    return kExitNoRadio;
  }

  cmcRadioFinder finder;
  bool over = false;
  finder.Start(ports.tried, nullptr, [&over] {
    over = true;
    platform::QuitEventLoop();
  });
  if (!over) platform::RunEventLoop();

  std::vector<clsFindAnswer> answers = finder.Answers();
  std::stable_sort(answers.begin(), answers.end(),
                   [](const auto& a, const auto& b) { return a.port.number < b.port.number; });
  const auto radios = std::count_if(answers.begin(), answers.end(), [](const auto& a) {
    return a.outcome == clsFindAnswer::kRadio;
  });
  if (radios == 1 && !options.json) {
    const auto radio = std::find_if(answers.begin(), answers.end(), [](const auto& a) {
      return a.outcome == clsFindAnswer::kRadio;
    });
    std::printf("%s\n", UseOption(*radio).c_str());
  }
  for (const clsFindAnswer& answer : answers) {
    const std::string line = options.json ? JsonLine(answer, table)
                                          : radiofind::PortLabel(answer.port, table) + ": " +
                                                radiofind::OutcomeText(answer, table);
    std::printf("%s\n", line.c_str());
  }
  if (radios == 0) {
    questions.Report(
        UserQuestions::Kind::kError,
        cloneman::FormatText(table.Line("GI_Cli_FindRadio", 1), std::to_string(answers.size())));
    return kExitNoRadio;
  }
  if (radios > 1) {
    questions.Report(
        UserQuestions::Kind::kError,
        cloneman::FormatText(table.Line("GI_Cli_FindRadio", 2), std::to_string(radios)));
    return kExitSeveralRadios;
  }
  return kExitOk;
}

}  // namespace cli
