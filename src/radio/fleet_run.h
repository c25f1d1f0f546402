// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fleet programming: one image into radio after radio, each with its own
// ATIS identity (and clone comment). Every identity is put into the image
// through the same cell editors as typing in the window, so a list meets
// the window's checks; all of them are checked before the first radio is
// touched. The log is both the record of the run and where an interrupted
// run takes up again. The run itself, on one cable or several, is
// fleet_cables.h's.

#include <optional>
#include <set>
#include <string>
#include <vector>

class cmcEeprom;

namespace fleet {

// What the log records for a radio programmed successfully.
inline constexpr const char* kDone = "ok";

struct Radio {
  int line = 0;
  std::string id;  // the ten digits as the image stores them
  std::optional<std::string> comment;
};

// Why an identity list was refused; line and value where one is to blame.
struct ListProblem {
  enum Kind {
    kUnreadable,   // the file cannot be read; detail says why
    kCsv,          // not CSV; detail says where and why
    kNoHeader,     // line 1 does not name the id column
    kBadId,        // value is no identity
    kTwice,        // value (as stored) is given twice
    kLongComment,  // value does not fit the comment cell
    kEmpty,        // no identities at all
    kUnshown,      // value holds a character the radio cannot show; detail is it
  };
  Kind kind = kUnreadable;
  int line = 0;
  std::string value;
  std::string detail;
};

// The radios of the identity list at path; the problem when it is refused.
std::optional<ListProblem> ReadIds(const std::string& path, std::vector<Radio>& radios);

// Why a log that is there cannot be read as a whole.
struct LogProblem {
  int line = 0;        // the line to blame, 0 for the file as a whole
  std::string detail;  // what is wrong, naming the line where there is one
};

// The identities the log records as done. A missing log records none; a
// log that is there must be read completely (a regular file, CSV, every
// line with an identity a whole record), else nothing is taken from it and
// the problem is returned. Lines without an identity (the header, notes)
// are passed over.
std::optional<LogProblem> ReadLog(const std::string& log, std::set<std::string>& done);

// The identities the log records as done; none when ReadLog fails.
std::set<std::string> DoneIds(const std::string& log);

// One line of the log: when, which radio, its revision and the result.
struct LogLine {
  std::string time;  // local time, "YYYY-MM-DD hh:mm:ss"
  std::string id;
  std::string revision;
  std::string result;  // kDone or why not
};

// Appends line to the log (with its header when the log is new, on a line
// of its own when the last line lacks its end); false when it cannot be
// written or the log is not a regular file.
bool AppendLog(const std::string& log, const LogLine& line);

// Puts radio's identity (and comment, when the list has one) into image
// through the cell editors, as typing them in the window would.
void Personalise(cmcEeprom& image, const Radio& radio);

// The local time as the log records it, "YYYY-MM-DD hh:mm:ss".
std::string LogTime();

struct Outcome {
  int status = 0;          // the last radio failure's status, 0 when none failed
  bool stopped = false;    // the user stopped the run before the next radios
  bool logFailed = false;  // the log could not be written or read; the run ended there
  std::optional<LogProblem> logProblem;  // why the log could not be read
};

// The radios of radios not yet done according to log.
std::vector<const Radio*> Pending(const std::vector<Radio>& radios, const std::string& log);

}  // namespace fleet
