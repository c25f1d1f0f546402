// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/clone_man_message.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "model/user_questions.h"
#include "radio/comm.h"
#include "text/gtex.h"

namespace cloneman {
namespace {

cmcGTex& Table(cmcGTex* table) { return table ? *table : *gGTex; }

std::string CheckLines(cmcGTex& t, std::initializer_list<int> lines) {
  std::string out;
  for (int n : lines) {
    if (!out.empty()) out += '\n';
    out += t.Line("GI_Mess_CloneErr_Check", n);
  }
  return out;
}

// The head line that says why the port failed, when the overlay words it.
bool PortFaultHead(cmcGTex& t, const clsPortFailure& failure, std::string* head) {
  std::string format;
  if (!t.TryLine("GI_Mess_CloneErr_PortFault", static_cast<int>(failure.error.fault), &format) ||
      format.rfind('#', 0) == 0) {
    return false;
  }
  std::string name = failure.path;
  if (failure.portNumber > 0) {
    const int line = failure.path.empty() ? 0 : 1;  // "COM7", or "COM7 (its device)"
    name = FormatText(FormatInt(t.Line("GI_Mess_CloneErr_PortName", line), failure.portNumber),
                      failure.path);
  }
  *head = FormatTexts(format, {name, platform::SystemErrorText(failure.error.systemCode)});
  return true;
}

}  // namespace

std::string FormatInt(const std::string& format, int value) {
  std::string out;
  bool done = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = format[i];
    if (c != '%' || i + 1 >= format.size()) {
      out += c;
      continue;
    }
    if (format[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    std::string spec = "%";
    while (j < format.size() && std::strchr("-+ 0#", format[j])) spec += format[j++];
    while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) {
      spec += format[j++];
    }
    if (!done && j < format.size() && std::strchr("diu", format[j])) {
      char buf[48];
      std::snprintf(buf, sizeof buf, (spec + "d").c_str(), value);
      out += buf;
      done = true;
      i = j;
      continue;
    }
    out += c;  // anything else stays as written
  }
  return out;
}

std::string FormatText(const std::string& format, const std::string& value) {
  return FormatTexts(format, {value});
}

std::string FormatTexts(const std::string& format, const std::vector<std::string>& values) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == 's' && next < values.size()) {
        out += values[next++];
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

std::string CloneErrorText(CloneStatus status, int port, cmcGTex* table, const std::string& device,
                           const clsPortFailure* failure, bool partlyWritten) {
  if (status == CloneStatus::kOk) return {};
  cmcGTex& t = Table(table);
  std::string head = t.Line("GI_Mess_CloneErr_Head", static_cast<int>(status));
  if (status == CloneStatus::kPortFailed && (!failure || !PortFaultHead(t, *failure, &head))) {
    head = device.empty() ? FormatInt(head, port)
                          : FormatText(t.Line("GI_Mess_CloneErr_Device", 0), device);
  }
  // What the radio may hold now matters more than any check of the cable.
  if (partlyWritten) head += "\n\n" + t.Block("GI_Mess_CloneErr_PartWrite");
  switch (status) {
    case CloneStatus::kPortFailed: return head + "\n\n" + CheckLines(t, {0, 1, 2, 3});
    case CloneStatus::kWriteRefused: return head + "\n\n" + CheckLines(t, {0, 2, 3});
    case CloneStatus::kInfoMismatch:
    case CloneStatus::kReserved12: return head + "\n\n" + CheckLines(t, {0, 1, 2, 3, 4, 5});
    case CloneStatus::kModelMismatch:
    case CloneStatus::kImageRefused: return head + "\n\n";
    case CloneStatus::kPayloadRefused: return head + "\n\n" + CheckLines(t, {0, 4, 5});
    default: return head + "\n\n" + CheckLines(t, {0, 1, 2, 3});
  }
}

void ShowCloneError(UserQuestions& questions, CloneStatus status, int port,
                    const std::string& device, const clsPortFailure* failure, bool partlyWritten) {
  if (status == CloneStatus::kOk) return;
  questions.Report(UserQuestions::Kind::kError,
                   CloneErrorText(status, port, nullptr, device, failure, partlyWritten));
}

}  // namespace cloneman
