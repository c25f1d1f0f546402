// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Clone data files: an image as text. A header with the model code, a
// comment line, a map revision line and data lines of hexadecimal bytes.
// A cmcCloneFile is set up for one save, open or start-up load and then
// dropped. Every failure is reported with one message built from the text
// table and returned as a code; a failed read leaves the image as it was,
// and a failed write leaves any existing file as it was, unless the folder
// refused new files and the file had to be written in place.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/addr_range.h"
#include "model/user_questions.h"

class cmcEeprom;

// Where the written text goes. The default writes a temporary file beside
// the target and renames it over the target only when everything, flushing
// included, succeeded; only a folder that refuses new files while the
// target may be written makes it write the target in place. Tests put a
// failing sink in its place.
class cmcCloneSink {
 public:
  virtual ~cmcCloneSink() = default;
  virtual bool Open(const std::string& path) = 0;
  virtual bool Write(std::string_view bytes) = 0;
  // Makes the text the file's content; false when that failed.
  virtual bool Commit() = 0;
  // Gives up: the target stays as it was before Open.
  virtual void Discard() = 0;
};

// The sink every save uses.
std::unique_ptr<cmcCloneSink> MakeSaveFileSink();

// The result of a save, open or check. The numbers pick the file error
// message and appear in the command-line tool's exit statuses.
enum class CloneFileCode : int {
  kOk = 0,
  kFileOpen = 1,
  kFileAccess = 2,
  kModel = 3,
  kExtra = 4,
  kMapRev = 5,
  kFormat = 6,
  kCoverage = 7,
  kData = 8,
  kNewer = 9,
};

class cmcCloneFile {
 public:
  // The one list every clone data file of this radio uses: 000..CEF.
  static const clsAddrRangeList& StandardRanges();

  using MapRevisionCheck = bool (*)(int revision, void* user);
  // The check the program installs: only revision 1 is understood.
  static bool AcceptRevisionOne(int revision, void* user);

  cmcCloneFile();
  ~cmcCloneFile();
  cmcCloneFile(const cmcCloneFile&) = delete;
  cmcCloneFile& operator=(const cmcCloneFile&) = delete;

  // Attaches the image (not owned) with the range 0 .. size - 1 and fresh maps.
  void Attach(cmcEeprom* image);
  void SetModelCode(std::uint16_t code) { modelCode_ = code; }
  void SetExtraCode(std::uint16_t code) { extraCode_ = code; }
  void SetComment(const std::string& comment) { comment_ = comment; }
  void SetMapRevision(int revision) { mapRevision_ = revision; }
  void SetMapRevisionCheck(MapRevisionCheck check, void* user) {
    check_ = check;
    checkUser_ = user;
  }
  // Bytes per data line, 1..255 (others are ignored); lines are aligned to it.
  void SetRecordLength(int length);
  // Replaces the file sink for writing (not owned; nullptr restores the default).
  void SetSink(cmcCloneSink* sink) { sink_ = sink; }
  // Off: failures are returned but not shown (tools without a text table).
  void SetShowMessages(bool show) { showMessages_ = show; }
  // Where failures are shown (not owned); nullptr: DefaultQuestions().
  void SetQuestions(UserQuestions* questions) { questions_ = questions; }

  int MapRevision() const { return mapRevision_; }
  const std::string& Comment() const { return comment_; }

  // kOk when path names nothing yet or a regular file (also through a link);
  // else kFileOpen (1), with its message: a device, folder, pipe or socket is never
  // replaced by a saved file. Write makes the same check; callers make it
  // early to refuse before any other work.
  static CloneFileCode CheckSaveTarget(const std::string& path,
                                       UserQuestions& questions = DefaultQuestions());
  CloneFileCode Write(const std::string& path, const clsAddrRangeList& ranges);
  // Reads into the attached image. Without ranges the coverage check is
  // left to the caller.
  CloneFileCode Read(const std::string& path, const clsAddrRangeList* ranges);
  // 0 when the loaded bytes are exactly the required ones, 8 when a byte
  // outside them was loaded, else 7. A list that names no range inside the
  // image gives 7.
  CloneFileCode CheckCoverage(const clsAddrRangeList& ranges);

  // The text of code's file error (without the headline); "" for 0 or
  // without a text table.
  static std::string ErrorText(CloneFileCode code);
  // The file error message of code (nothing for 0), as a warning.
  static void ShowError(CloneFileCode code, UserQuestions& questions = DefaultQuestions());
  // The comment line text for an image: its 16 comment characters,
  // anything outside 32..126 as a space, trailing blanks removed.
  static std::string CommentFromImage(const cmcEeprom& image);

 private:
  CloneFileCode DoWrite(const std::string& path, const clsAddrRangeList& ranges);
  CloneFileCode DoRead(const std::string& path, const clsAddrRangeList* ranges);
  CloneFileCode ParseDataLine(const std::string& line);
  // The number of ranges taken into the required map.
  int BuildRequired(const clsAddrRangeList& ranges);
  CloneFileCode Report(CloneFileCode code) const;

  cmcEeprom* image_ = nullptr;
  std::uint16_t modelCode_ = 0;
  std::uint16_t extraCode_ = 0;
  std::string comment_;
  int recordLength_ = 16;
  int mapRevision_ = -1;
  int first_ = 0;
  int last_ = -1;
  std::vector<bool> required_;
  std::vector<bool> loaded_;
  MapRevisionCheck check_ = nullptr;
  void* checkUser_ = nullptr;
  cmcCloneSink* sink_ = nullptr;
  bool showMessages_ = true;
  UserQuestions* questions_ = nullptr;
};

// Sets file up for this radio's clone data files: image attached (not
// owned), its model and extra codes, map revision 1 to write and the only
// one a read accepts. Every reader and writer of them starts here.
void SetUpRadioFile(cmcCloneFile& file, cmcEeprom* image);
