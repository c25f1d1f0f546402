// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fleet programming: one image into radio after radio, each with its own
// ATIS identity (and clone comment). Every identity is put into the image
// through the same cell editors as typing in the window, so a list meets
// the window's checks; all of them are checked before the first radio is
// touched. The log is both the record of the run and where an interrupted
// run takes up again. seaclone-cli fleet and the window's Fleet Programming
// dialog each talk to the radios through a FleetStation of their own.

#include <optional>
#include <set>
#include <string>
#include <vector>

class cmcDocument;

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

// How a run reaches its user and the radios. Each radio operation returns
// 0 on success or the status of its failure, already reported to the user.
class FleetStation {
 public:
  virtual ~FleetStation() = default;
  // Asks for the radio of number (from 1) of count; false stops the run.
  virtual bool NextRadio(const Radio& radio, int number, int count) = 0;
  // The clone information exchange into document.
  virtual int Ask(cmcDocument& document) = 0;
  // A read into document (keeping its backup of what the radio held).
  virtual int Read(cmcDocument& document) = 0;
  // Opens the image to be written into document.
  virtual int OpenImage(cmcDocument& document) = 0;
  // Writes document (verification is switched on).
  virtual int Write(cmcDocument& document) = 0;
  // What the log says of a radio that failed with status.
  virtual std::string Failure(int status) = 0;
  // A radio is done and logged.
  virtual void Done(const LogLine& line, int status) = 0;
};

struct Outcome {
  int status = 0;          // the last radio failure's status, 0 when none failed
  bool stopped = false;    // NextRadio said no
  bool logFailed = false;  // the log could not be written or read; the run ended there
  std::optional<LogProblem> logProblem;  // why the log could not be read
};

// Programs the radios one by one: information (its revision for the log),
// a read, then the write of the image with the radio's identity, read back
// and compared; each result is appended to log. The log is read before
// each radio: when it cannot be read the run ends there (logFailed and
// logProblem), and a radio whose identity it records as done is passed
// over.
Outcome Run(const std::vector<const Radio*>& pending, const std::string& log,
            FleetStation& station);

// The radios of radios not yet done according to log.
std::vector<const Radio*> Pending(const std::vector<Radio>& radios, const std::string& log);

}  // namespace fleet
