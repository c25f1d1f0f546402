// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/fleet_run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "model/cell_names.h"
#include "model/editor_text.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "model/settings_cells.h"
#include "platform/file_sync.h"
#include "text/csv_records.h"
#include "text/input_file.h"

namespace fleet {
namespace {

namespace fs = std::filesystem;
using text::CsvRecord;
using text::Trimmed;

// Ten digits, the form the log records identities in.
bool IsStoredId(const std::string& text) {
  return text.size() == 10 && text.find_first_not_of("0123456789") == std::string::npos;
}

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

// The first character of text the radio's display has no letter for (it
// shows printable ASCII alone), as a message names it: the character
// itself, or U+XXXX for a control character; empty when there is none.
std::string Unshown(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 32 && c <= 126) continue;
    if (c < 0x80) {
      char code[8];
      std::snprintf(code, sizeof code, "U+%04X", c);
      return code;
    }
    std::size_t end = i + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    return text.substr(i, end - i);
  }
  return {};
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

}  // namespace

std::optional<ListProblem> ReadIds(const std::string& path, std::vector<Radio>& radios) {
  std::string text;
  if (std::string why; !text::ReadWhole(path, text, &why))
    return ListProblem{ListProblem::kUnreadable, 0, {}, why};
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
      // An accented letter would be stored as a blank: the message names it
      // rather than the length, which was never the reason.
      if (std::string letter = Unshown(Trimmed(*radio.comment)); !letter.empty())
        return ListProblem{ListProblem::kUnshown, record.line, *radio.comment, letter};
      if (!CommentFits(*radio.comment))
        return ListProblem{ListProblem::kLongComment, record.line, *radio.comment, {}};
    }
    radios.push_back(radio);
  }
  if (radios.empty()) return ListProblem{ListProblem::kEmpty, 0, {}, {}};
  return std::nullopt;
}

std::optional<LogProblem> ReadLog(const std::string& log, std::set<std::string>& done) {
  done.clear();
  std::string text;
  std::error_code error;
  const fs::file_status status = fs::symlink_status(fs::path(log), error);
  if (status.type() == fs::file_type::not_found) return std::nullopt;
  if (std::string why; !text::ReadWhole(log, text, &why)) return LogProblem{0, "it " + why};
  std::vector<CsvRecord> records;
  if (std::string problem; !text::ReadCsv(text, records, problem)) {
    // The reader names the line; "line 7: ..." is kept as it stands.
    int line = 0;
    if (problem.rfind("line ", 0) == 0) line = std::atoi(problem.c_str() + 5);
    return LogProblem{line, problem};
  }
  for (const CsvRecord& record : records) {
    // Lines whose second field is no identity are the header and notes a
    // user added; they do not count.
    if (record.fields.size() < 2 || !IsStoredId(Trimmed(record.fields[1]))) continue;
    if (record.fields.size() != 4) {
      done.clear();
      return LogProblem{record.line, "line " + std::to_string(record.line) +
                                         ": not one record time,identity,revision,result"};
    }
    if (Trimmed(record.fields[3]) == kDone) done.insert(Trimmed(record.fields[1]));
  }
  return std::nullopt;
}

std::set<std::string> DoneIds(const std::string& log) {
  std::set<std::string> done;
  if (ReadLog(log, done)) done.clear();
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
  // A FIFO or device as the log would block or be fed records; a folder
  // cannot take them.
  if (!text::IsFileTarget(log)) return false;
  std::FILE* file = std::fopen(log.c_str(), "a+b");
  if (!file) return false;
  bool fresh = true;
  bool ended = true;
  if (std::fseek(file, 0, SEEK_END) == 0 && std::ftell(file) > 0) {
    fresh = false;
    // An editor may leave the last line without its end; a record glued to
    // it would be lost to the next run, which would program the radio again.
    ended = std::fseek(file, -1, SEEK_END) == 0 && std::fgetc(file) == '\n';
  }
  // A log a spreadsheet saved with ';' or tab gets its records with that
  // separator: with commas they would read as one field each, and the
  // radios they record as done would be programmed again.
  std::string separator = ",";
  if (std::string old; !fresh && text::ReadWhole(log, old)) {
    std::vector<CsvRecord> records;
    text::CsvFormat format;
    if (std::string error; text::ReadCsv(old, records, error, &format) && format.separatorFound)
      separator.assign(1, format.separator);
  }
  std::string text;
  if (!ended) text += "\r\n";
  if (fresh) text += "time,identity,revision,result\r\n";
  text += line.time + separator + line.id + separator + line.revision + separator + line.result +
          "\r\n";
  bool written = std::fseek(file, 0, SEEK_END) == 0 &&
                 std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
                 std::fflush(file) == 0 && platform::SyncToDisk(file);
  written = std::fclose(file) == 0 && written;
  return written;
}

void Personalise(cmcEeprom& image, const Radio& radio) {
  Type(CL_Atis_SelfId, image, radio.id);
  if (radio.comment) Type(CL_Comm_CloneComment, image, *radio.comment);
}

std::string LogTime() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  // The run lives on the one user-interface thread, so the shared result
  // of localtime is safe.
  const std::tm* local = std::localtime(&now);
  char text[32] = "";
  if (local) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  return text;
}

}  // namespace fleet
