// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-cli fleet: one image into radio after radio, each with its own
// ATIS identity (and clone comment). Every identity is put into the image
// through the same cell editors as typing in the window, so a list meets
// the window's checks; all of them are checked before the first radio is
// touched. The log is both the record of the run and where an interrupted
// run takes up again.

#include <QDateTime>
#include <QFile>

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/csv_records.h"
#include "cli/exit_status.h"
#include "cli/laid_out_page.h"
#include "model/cell_names.h"
#include "model/editor_text.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "model/settings_cells.h"
#include "radio/document.h"

namespace cli {
namespace {

constexpr const char* kDone = "ok";

struct Radio {
  int line = 0;
  std::string id;  // the ten digits as the image stores them
  std::optional<std::string> comment;
};

void Say(const std::string& text) { StandardError().Message("seaclone-cli: " + text); }

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

// The radios of the identity list, or kExitDataError / a file error with
// the reason said.
int ReadIds(const std::string& path, std::vector<Radio>& radios) {
  std::string text;
  if (!ReadWhole(path, text)) {
    Say("cannot read the identity list " + path);
    return ExitStatus(CloneFileCode::kFileOpen);
  }
  std::vector<CsvRecord> records;
  std::string error;
  if (!ReadCsv(text, records, error)) {
    Say(path + ": " + error);
    return kExitDataError;
  }
  if (records.empty() || Column(records[0], "id") < 0) {
    Say(path + ": line 1 must name the columns: id, and comment if wanted");
    return kExitDataError;
  }
  const int idColumn = Column(records[0], "id");
  const int commentColumn = Column(records[0], "comment");
  std::set<std::string> seen;
  for (std::size_t r = 1; r < records.size(); ++r) {
    const CsvRecord& record = records[r];
    if (Blank(record)) continue;
    const std::string where = path + ", line " + std::to_string(record.line) + ": ";
    const std::string typed = Trimmed(Field(record, idColumn));
    const std::optional<std::string> id = StoredId(typed);
    if (!id) {
      Say(where + "'" + typed + "' is not an ATIS identity of " +
          std::to_string(memmap::kAtisIdDigits) + " digits");
      return kExitDataError;
    }
    if (!seen.insert(*id).second) {
      Say(where + "the identity " + *id + " is given twice");
      return kExitDataError;
    }
    Radio radio{record.line, *id, std::nullopt};
    if (commentColumn >= 0) {
      radio.comment = Field(record, commentColumn);
      if (!CommentFits(*radio.comment)) {
        Say(where + "the comment '" + *radio.comment + "' does not fit: at most " +
            std::to_string(memmap::kCommentLength) + " printable characters");
        return kExitDataError;
      }
    }
    radios.push_back(radio);
  }
  if (radios.empty()) {
    Say(path + ": no identities");
    return kExitDataError;
  }
  return kExitOk;
}

// The identities the log records as done; a missing log records none.
std::set<std::string> DoneIds(const std::string& log) {
  std::set<std::string> done;
  std::string text;
  std::vector<CsvRecord> records;
  std::string error;
  if (!ReadWhole(log, text) || !ReadCsv(text, records, error)) return done;
  for (const CsvRecord& record : records)
    if (record.fields.size() >= 4 && record.fields[3] == kDone) done.insert(record.fields[1]);
  return done;
}

bool AppendLog(const std::string& log, const std::string& id, const std::string& revision,
               const std::string& result) {
  QFile file(QString::fromStdString(log));
  const bool fresh = !file.exists() || file.size() == 0;
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
  std::string text;
  if (fresh) text += "time,identity,revision,result\r\n";
  text += QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString() + "," + id +
          "," + revision + "," + result + "\r\n";
  return file.write(text.data(), static_cast<qint64>(text.size())) ==
             static_cast<qint64>(text.size()) &&
         file.flush();
}

// Information, a read (which keeps its backup of what the radio held), then
// the write of the image with the radio's identity, read back and compared.
int Program(const Options& options, const Radio& radio, std::string& revision) {
  {
    cmcDocument asked;
    if (const int status = AskRadio(options, asked); status != kExitOk) return status;
    const cmcRadioInfo& info = asked.RadioInfo();
    revision = std::to_string(info.RevisionMajor()) + "." + std::to_string(info.RevisionMinor());
  }
  {
    cmcDocument before;
    if (const int status = ReadRadio(options, before); status != kExitOk) return status;
  }
  cmcDocument document;
  if (const int status = OpenFile(options.image, document); status != kExitOk) return status;
  Type(CL_Atis_SelfId, document.Working(), radio.id);
  if (radio.comment) Type(CL_Comm_CloneComment, document.Working(), *radio.comment);
  document.SetVerifyAfterWrite(true);
  return WriteRadio(options, document);
}

// Waits for Enter; false at the end of standard input.
bool NextRadioReady() {
  int c = 0;
  while ((c = std::getchar()) != EOF)
    if (c == '\n') return true;
  return false;
}

}  // namespace

int RunFleet(const Options& options) {
  {
    // The image is checked once, before any radio is touched.
    cmcDocument document;
    if (const int status = OpenFile(options.image, document); status != kExitOk) return status;
    if (RefuseDataErrors(document)) return kExitDataError;
  }
  std::vector<Radio> radios;
  if (const int status = ReadIds(options.ids, radios); status != kExitOk) return status;
  const std::string log = options.log.empty() ? options.ids + ".log.csv" : options.log;
  const std::set<std::string> done = DoneIds(log);

  std::vector<const Radio*> pending;
  for (const Radio& radio : radios)
    if (done.count(radio.id) == 0) pending.push_back(&radio);
  if (pending.size() < radios.size())
    Say(std::to_string(radios.size() - pending.size()) + " of " + std::to_string(radios.size()) +
        " identities are done already (" + log + ")");

  int exit = kExitOk;
  int number = 0;
  for (const Radio* radio : pending) {
    ++number;
    const std::string which = "identity " + radio->id + " (" + std::to_string(number) + " of " +
                              std::to_string(pending.size()) + ")";
    if (!options.yes) {
      Say("connect the radio for " + which + " and press Enter");
      if (!NextRadioReady()) {
        Say("no more radios: stopped before " + which);
        return exit == kExitOk ? kExitUsage : exit;
      }
    } else {
      Say("programming the radio for " + which);
    }
    std::string revision;
    const int status = Program(options, *radio, revision);
    const std::string result = status == kExitOk ? kDone : "failed (exit " + std::to_string(status) + ")";
    if (!AppendLog(log, radio->id, revision, result)) {
      Say("cannot write the log " + log);
      return kExitOutput;
    }
    Say(radio->id + ": " + result);
    if (status != kExitOk) exit = status;
  }
  return exit;
}

}  // namespace cli
