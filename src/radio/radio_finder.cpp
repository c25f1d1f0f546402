// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/radio_finder.h"

#include <algorithm>
#include <filesystem>

#include "model/radio_info_text.h"
#include "platform/message_box.h"
#include "platform/port_naming.h"
#include "radio/clone_man.h"
#include "radio/clone_man_message.h"
#include "radio/port_choice.h"
#include "text/gtex.h"

namespace radiofind {
namespace {

namespace fs = std::filesystem;

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

// What kind of serial device a path leads to, by the name of its node.
clsFindPort::Kind KindOf(const std::string& path) {
  std::error_code error;
  fs::path node = fs::weakly_canonical(path, error);
  if (error) node = path;
  const std::string name = node.filename().string();
  if (name.rfind("ttyUSB", 0) == 0) return clsFindPort::kUsb;
  if (name.rfind("ttyACM", 0) == 0) return clsFindPort::kAcm;
  if (name.rfind("ttyS", 0) == 0) return clsFindPort::kPlatform;
  return clsFindPort::kMapped;
}

const platform::SerialPortEntry* SystemEntry(const std::vector<platform::SerialPortEntry>& system,
                                             const std::string& path) {
  for (const platform::SerialPortEntry& entry : system) {
    if (portchoice::SameDevice(entry.device, path)) return &entry;
  }
  return nullptr;
}

void ByNumber(std::vector<clsFindPort>& ports) {
  std::stable_sort(ports.begin(), ports.end(),
                   [](const clsFindPort& a, const clsFindPort& b) { return a.number < b.number; });
}

}  // namespace

PortSet ChoosePorts(const std::vector<clsPortMapping>& mappings,
                    const std::vector<platform::SerialPortEntry>& system, bool systemNumbersPorts,
                    const ConsoleTest& console) {
  PortSet set;
  if (systemNumbersPorts) {
    for (const platform::SerialPortEntry& entry : system) {
      if (entry.device.rfind("COM", 0) != 0) continue;
      const int n = portchoice::NumberFromDeviceName(entry.device);
      if (n <= 0 || std::any_of(set.tried.begin(), set.tried.end(),
                                [n](const clsFindPort& p) { return p.number == n; }))
        continue;
      set.tried.push_back({n, entry.device, entry.description, clsFindPort::kNative});
    }
    ByNumber(set.tried);
    return set;
  }

  // The user's own entries first: a device they name is asked under their
  // number, and the automatic number of the same device is not asked again
  // (two opens of one device at once would find it busy).
  std::vector<const clsPortMapping*> order;
  for (const clsPortMapping& m : mappings) {
    if (m.fromSettings) order.push_back(&m);
  }
  for (const clsPortMapping& m : mappings) {
    if (!m.fromSettings) order.push_back(&m);
  }
  std::vector<std::string> asked;
  for (const clsPortMapping* m : order) {
    const platform::SerialPortEntry* entry = SystemEntry(system, m->path);
    clsFindPort port{m->number, m->path, entry ? entry->description : std::string(),
                     m->fromSettings ? clsFindPort::kMapped : KindOf(m->path)};
    if (!Exists(m->path)) {
      if (m->fromSettings) set.leftOut.push_back(port);
      continue;
    }
    if (std::any_of(asked.begin(), asked.end(),
                    [&](const std::string& p) { return portchoice::SameDevice(p, m->path); }))
      continue;
    // Most computers have a row of ttyS nodes with nothing behind them; only
    // those the system reports with hardware can hold a cable. A server's
    // serial console does have hardware, and must not be touched.
    if ((port.kind == clsFindPort::kPlatform && !entry) || (console && console(m->path))) {
      set.leftOut.push_back(port);
      continue;
    }
    asked.push_back(m->path);
    set.tried.push_back(port);
  }
  ByNumber(set.tried);
  ByNumber(set.leftOut);
  return set;
}

PortSet SystemPorts() {
  return ChoosePorts(PortMappings(), platform::AvailableSerialPorts(),
                     !platform::NativePortDevice(1).empty(), &platform::IsSystemConsole);
}

clsFindAnswer::Outcome OutcomeOf(CloneStatus status, const clsPortFailure& failure) {
  switch (status) {
    case CloneStatus::kOk: return clsFindAnswer::kRadio;
    case CloneStatus::kNoAnswer: return clsFindAnswer::kSilent;
    case CloneStatus::kEchoFailed: return clsFindAnswer::kNoEcho;
    case CloneStatus::kShortWrite: return clsFindAnswer::kUnusable;
    case CloneStatus::kPortFailed:
      switch (failure.error.fault) {
        case platform::SerialFault::kBusy: return clsFindAnswer::kBusy;
        case platform::SerialFault::kNoPermission: return clsFindAnswer::kNoPermission;
        case platform::SerialFault::kNoDevice:
        case platform::SerialFault::kUnmapped: return clsFindAnswer::kAbsent;
        default: return clsFindAnswer::kUnusable;
      }
    default: return clsFindAnswer::kOtherAnswer;
  }
}

bool WorthSearching(CloneStatus status, const clsPortFailure& failure) {
  switch (OutcomeOf(status, failure)) {
    case clsFindAnswer::kSilent:
    case clsFindAnswer::kNoEcho:
    case clsFindAnswer::kAbsent: return true;
    default: return false;
  }
}

std::string RadioComment(const cmcRadioInfo& info) {
  std::string comment = radioinfo::CommentText(&info.payload[3]);
  while (!comment.empty() && comment.back() == ' ') comment.pop_back();
  return comment;
}

std::string PortLabel(const clsFindPort& port, cmcGTex& table) {
  std::string label = cloneman::FormatInt(table.Line("GI_Mess_CloneErr_PortName", 0), port.number);
  std::string details;
  if (port.kind != clsFindPort::kNative) details = port.device;
  if (!port.description.empty()) details += (details.empty() ? "" : ", ") + port.description;
  return details.empty() ? label : label + " (" + details + ")";
}

std::string PortLabels(const std::vector<clsFindPort>& ports, cmcGTex& table) {
  std::string text;
  for (const clsFindPort& port : ports) {
    if (!text.empty()) text += ", ";
    text += PortLabel(port, table);
  }
  return text;
}

std::string OutcomeText(const clsFindAnswer& answer, cmcGTex& table) {
  const std::string line = table.Line("GI_FindRadio_Outcome", answer.outcome);
  if (answer.outcome == clsFindAnswer::kRadio) {
    return cloneman::FormatTexts(
        line, {radioinfo::ModelText(answer.info.ModelType()),
               radioinfo::RevisionText(answer.info.payload[1]), RadioComment(answer.info)});
  }
  if (answer.outcome == clsFindAnswer::kUnusable) {
    const std::string why = platform::SystemErrorText(answer.failure.error.systemCode);
    return why.empty() ? line : line + ": " + why;
  }
  return line;
}

}  // namespace radiofind

struct cmcRadioFinder::Exchange {
  clsFindPort port;
  std::unique_ptr<indCloneMan> man;
  cmcRadioInfo info;
};

int cmcRadioFinder::Silent::Ask(const std::string&, unsigned) { return platform::kIdCancel; }
void cmcRadioFinder::Silent::Report(Kind, const std::string&) {}

cmcRadioFinder::cmcRadioFinder(platform::SerialDeviceFactory devices)
    : devices_(std::move(devices)), deliver_(MakeTask()) {
  deliver_->SetCallback([this](cmcTask*) { Deliver(); });
}

cmcRadioFinder::~cmcRadioFinder() { Cancel(); }

bool cmcRadioFinder::Start(const std::vector<clsFindPort>& ports, AnswerFn answer, DoneFn done) {
  if (running_) return false;
  ++generation_;
  exchanges_.clear();
  pending_.clear();
  answers_.clear();
  answer_ = std::move(answer);
  done_ = std::move(done);
  running_ = true;
  waiting_ = static_cast<int>(ports.size());
  for (const clsFindPort& port : ports) {
    auto exchange = std::make_unique<Exchange>();
    Exchange* raw = exchange.get();
    raw->port = port;
    raw->man = std::make_unique<indCloneMan>(devices_);
    indCloneMan& man = *raw->man;
    man.SetQuestions(&silent_);
    man.SetRequestValues(cloneman::kModelCode, 0);
    // A port the system numbers itself is opened by its number, any other
    // by its path, so that a device plugged in meanwhile cannot shift it.
    if (port.kind == clsFindPort::kNative) {
      man.SetPortNumber(port.number);
    } else {
      man.SetPortDevice(port.device);
    }
    // The same judgement of the reply as Clone > Radio Information.
    man.SetInformationHandler([raw](dst_CDrv_Result* result) {
      if (result->status != CloneStatus::kOk) return;
      result->status = cloneman::CheckInformation(
          static_cast<std::uint32_t>(result->value1), static_cast<std::uint32_t>(result->value2),
          result->payload.Size() ? result->payload.Data() : nullptr, result->payload.Size(),
          &raw->info);
    });
    exchanges_.push_back(std::move(exchange));
    if (!man.StartInformation([this, raw](dst_CDrv_Result* result) { Answered(*raw, *result); })) {
      dst_CDrv_Result refused;  // a fresh manager is never busy; counted all the same
      Answered(*raw, refused);
    }
  }
  if (ports.empty()) deliver_->SetInterval(0);
  return true;
}

void cmcRadioFinder::Answered(Exchange& exchange, const dst_CDrv_Result& result) {
  // Runs inside the exchange's own step: only noted here, delivered from
  // the finder's task, where a callback may end the search.
  clsFindAnswer answer;
  answer.port = exchange.port;
  answer.status = result.status;
  if (result.status == CloneStatus::kPortFailed)
    answer.failure = exchange.man->Driver().Port().Failure();
  answer.outcome = radiofind::OutcomeOf(answer.status, answer.failure);
  if (answer.outcome == clsFindAnswer::kRadio) answer.info = exchange.info;
  pending_.push_back(std::move(answer));
  deliver_->SetInterval(0);
}

void cmcRadioFinder::Deliver() {
  deliver_->SetInterval(-1);
  const int generation = generation_;
  std::vector<clsFindAnswer> batch = std::move(pending_);
  pending_.clear();
  for (clsFindAnswer& answer : batch) {
    answers_.push_back(answer);
    --waiting_;
    // Copies: the callback may start a new search, which replaces both.
    const AnswerFn callback = answer_;
    if (callback) callback(answer);
    if (generation != generation_) return;
  }
  if (!running_ || waiting_ > 0) return;
  running_ = false;
  // Every exchange has ended and closed its port; none is inside its step.
  exchanges_.clear();
  const DoneFn done = done_;
  if (done) done();
}

void cmcRadioFinder::Cancel() {
  ++generation_;
  running_ = false;
  waiting_ = 0;
  deliver_->SetInterval(-1);
  pending_.clear();
  // Each manager abandons its exchange without a completion and closes
  // its port as it goes.
  exchanges_.clear();
}

std::vector<clsFindAnswer> cmcRadioFinder::Radios() const {
  std::vector<clsFindAnswer> radios;
  for (const clsFindAnswer& answer : answers_) {
    if (answer.outcome == clsFindAnswer::kRadio) radios.push_back(answer);
  }
  return radios;
}
