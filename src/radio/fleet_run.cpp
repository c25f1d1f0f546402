// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/fleet_run.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "model/cell_names.h"
#include "model/editor_text.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "model/settings_cells.h"
#include "radio/document.h"
#include "text/csv_records.h"

namespace fleet {
namespace {

using text::CsvRecord;
using text::Trimmed;

// Types text into the cell as the window's in-place editor applies it.
void Type(std::uint32_t cell, cmcEeprom& image, const std::string& text) {
  const settings::Rule* rule = settings::FindRule(cell);
  if (!rule) return;
  settings::Context context;
  context.image = &image;
  editor::Input input;
  input.inputMode = 1;
  input.text = text;
  settings::Result result;
  settings::Evaluate(*rule, context, input, result);
}

std::vector<std::uint8_t> Bytes(const cmcEeprom& image, int address, int count) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) bytes[static_cast<std::size_t>(i)] = image.GetByte(address + i);
  return bytes;
}

// The identity as the editor stores it; nullopt when the editor clears it.
std::optional<std::string> StoredId(const std::string& typed) {
  cmcEeprom image(memmap::kImageSize);
  Type(CL_Atis_SelfId, image, typed);
  const auto bytes = Bytes(image, memmap::kAtisId, memmap::kAtisIdBytes);
  if (!editor::DigitsValid(bytes)) return std::nullopt;
  std::string digits;
  for (std::uint8_t b : bytes) {
    digits.push_back(static_cast<char>('0' + b / 10));
    digits.push_back(static_cast<char>('0' + b % 10));
  }
  return digits;
}

// Whether the comment cell takes the text as it stands.
bool CommentFits(const std::string& typed) {
  cmcEeprom image(memmap::kImageSize);
  Type(CL_Comm_CloneComment, image, typed);
  const auto bytes = Bytes(image, memmap::kComment, memmap::kCommentLength);
  return editor::TextShown(bytes) == Trimmed(typed);
}

int Column(const CsvRecord& header, const char* name) {
  for (std::size_t i = 0; i < header.fields.size(); ++i)
    if (Trimmed(header.fields[i]) == name) return static_cast<int>(i);
  return -1;
}

std::string Field(const CsvRecord& record, int column) {
  return column >= 0 && static_cast<std::size_t>(column) < record.fields.size()
             ? record.fields[static_cast<std::size_t>(column)]
             : std::string();
}

bool Blank(const CsvRecord& record) {
  for (const std::string& f : record.fields)
    if (!Trimmed(f).empty()) return false;
  return true;
}

std::string Now() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  // One thread writes the log, so the shared result of localtime is safe.
  const std::tm* local = std::localtime(&now);
  char text[32] = "";
  if (local) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  return text;
}

// Programs one radio; 0 or the status of the step that failed.
int Program(const Radio& radio, FleetStation& station, std::string& revision) {
  {
    cmcDocument asked;
    if (const int status = station.Ask(asked); status != 0) return status;
    const cmcRadioInfo& info = asked.RadioInfo();
    revision = std::to_string(info.RevisionMajor()) + "." + std::to_string(info.RevisionMinor());
  }
  {
    cmcDocument before;
    if (const int status = station.Read(before); status != 0) return status;
  }
  cmcDocument document;
  if (const int status = station.OpenImage(document); status != 0) return status;
  Type(CL_Atis_SelfId, document.Working(), radio.id);
  if (radio.comment) Type(CL_Comm_CloneComment, document.Working(), *radio.comment);
  document.SetVerifyAfterWrite(true);
  return station.Write(document);
}

}  // namespace

std::optional<ListProblem> ReadIds(const std::string& path, std::vector<Radio>& radios) {
  std::string text;
  if (!text::ReadWhole(path, text)) return ListProblem{ListProblem::kUnreadable, 0, {}, {}};
  std::vector<CsvRecord> records;
  if (std::string error; !text::ReadCsv(text, records, error))
    return ListProblem{ListProblem::kCsv, 0, {}, error};
  if (records.empty() || Column(records[0], "id") < 0)
    return ListProblem{ListProblem::kNoHeader, 1, {}, {}};
  const int idColumn = Column(records[0], "id");
  const int commentColumn = Column(records[0], "comment");
  std::set<std::string> seen;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const CsvRecord& record = records[r];
    if (Blank(record)) continue;
    const std::string typed = Trimmed(Field(record, idColumn));
    const std::optional<std::string> id = StoredId(typed);
    if (!id) return ListProblem{ListProblem::kBadId, record.line, typed, {}};
    if (!seen.insert(*id).second) return ListProblem{ListProblem::kTwice, record.line, *id, {}};
    Radio radio{record.line, *id, std::nullopt};
    if (commentColumn >= 0) {
      radio.comment = Field(record, commentColumn);
      if (!CommentFits(*radio.comment))
        return ListProblem{ListProblem::kLongComment, record.line, *radio.comment, {}};
    }
    radios.push_back(radio);
  }
  if (radios.empty()) return ListProblem{ListProblem::kEmpty, 0, {}, {}};
  return std::nullopt;
}

std::set<std::string> DoneIds(const std::string& log) {
  std::set<std::string> done;
  std::string text;
  std::vector<CsvRecord> records;
  std::string error;
  if (!text::ReadWhole(log, text) || !text::ReadCsv(text, records, error)) return done;
  for (const CsvRecord& record : records)
    if (record.fields.size() >= 4 && record.fields[3] == kDone) done.insert(record.fields[1]);
  return done;
}

std::vector<const Radio*> Pending(const std::vector<Radio>& radios, const std::string& log) {
  const std::set<std::string> done = DoneIds(log);
  std::vector<const Radio*> pending;
  for (const Radio& radio : radios)
    if (done.count(radio.id) == 0) pending.push_back(&radio);
  return pending;
}

bool AppendLog(const std::string& log, const LogLine& line) {
  std::error_code error;
  const bool fresh =
      !std::filesystem::exists(log, error) || std::filesystem::file_size(log, error) == 0 || error;
  std::ofstream file(log, std::ios::binary | std::ios::app);
  if (!file) return false;
  std::string text;
  if (fresh) text += "time,identity,revision,result\r\n";
  text += line.time + "," + line.id + "," + line.revision + "," + line.result + "\r\n";
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.flush();
  return static_cast<bool>(file);
}

Outcome Run(const std::vector<const Radio*>& pending, const std::string& log,
            FleetStation& station) {
  Outcome outcome;
  int number = 0;
  for (const Radio* radio : pending) {
    ++number;
    if (!station.NextRadio(*radio, number, static_cast<int>(pending.size()))) {
      outcome.stopped = true;
      return outcome;
    }
    LogLine line;
    line.id = radio->id;
    const int status = Program(*radio, station, line.revision);
    line.result = status == 0 ? kDone : station.Failure(status);
    line.time = Now();
    if (!AppendLog(log, line)) {
      outcome.logFailed = true;
      return outcome;
    }
    station.Done(line, status);
    if (status != 0) outcome.status = status;
  }
  return outcome;
}

}  // namespace fleet
