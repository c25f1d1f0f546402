// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document: the working image with its file, the initial image of the
// current model and the saved snapshot, and every operation that acts on the
// whole of it (open, save, new, model change, and the three clone commands).
// Written once, below any user interface, so that the program and
// seaclone-cli behave identically; the GUI adds its dialogs, cursor and
// views through cmcDocumentHost.
//
// Every failure the user can cause shows one message and leaves the
// document as it was.

#include <functional>
#include <string>

#include "model/clone_file.h"
#include "model/eeprom.h"
#include "model/user_questions.h"
#include "radio/clone_man.h"
#include "radio/clone_man_info.h"
#include "radio/undo_history.h"

class cmcDocumentHost {
 public:
  enum Change : int {
    kNew,           // File New: untitled, unmodified
    kOpened,        // a file was opened: named, unmodified
    kSaved,         // saved under FilePath()
    kRead,          // a clone read or a backup replaced the image: untitled, modified
    kModelChanged,  // the model type changed (the tree is rebuilt)
    kWritten,       // a clone write succeeded (views are refreshed)
    kModified,      // the working image now differs from the snapshot
    kUndone,        // undo or redo restored an earlier working image
  };
  virtual ~cmcDocumentHost() = default;
  // The model-specific caution before a write (maker mode); false stops it.
  virtual bool ConfirmWrite() { return true; }
  virtual void DocumentChanged(Change /*what*/) {}
  // A clone information exchange succeeded; the record is RadioInfo().
  virtual void InformationReceived() {}
  // The views commit an open editor: the working image is about to be
  // saved or written whole.
  virtual void CommitViewEdits() {}
  // The image or its set of channel plans changed: the views rebuild what
  // they show of the channel lists.
  virtual void ChannelListsChanged() {}
};

class cmcDocument {
 public:
  struct WarningCounts {
    int errors = 0;
    int warnings = 0;
  };
  using WarningCheckFn = std::function<WarningCounts()>;
  // The final status of a clone command: 0 success, else the status whose
  // message was shown (6 for a read the radio forbids, 13 for a model
  // mismatch before a write).
  using Done = std::function<void(CloneStatus status)>;

  enum StartResult : int {
    kStarted = 0,    // Done will be called exactly once
    kBusy = 1,       // an exchange runs; nothing happened
    kCancelled = 2,  // the user said no
    kDataError = 3,  // a write refused by the warning check (message shown)
  };

  // Loads the initial image of model (fatal when its file is missing) and
  // starts with a copy of it, untitled and unmodified. Its clone exchanges
  // talk through a device from devices (empty: the platform's own).
  explicit cmcDocument(int model = 0, cmcDocumentHost* host = nullptr,
                       const platform::SerialDeviceFactory& devices = {});
  ~cmcDocument();
  cmcDocument(const cmcDocument&) = delete;
  cmcDocument& operator=(const cmcDocument&) = delete;

  void SetHost(cmcDocumentHost* host) { host_ = host; }
  // Where the document's questions and messages go, those of its clone
  // exchanges and files included (not owned); nullptr: DefaultQuestions().
  void SetQuestions(UserQuestions* questions) {
    questions_ = questions;
    man_.SetQuestions(questions);
  }
  UserQuestions& Questions() const { return questions_ ? *questions_ : DefaultQuestions(); }

  cmcEeprom& Working() { return working_; }
  const cmcEeprom& Initial() const { return initial_; }
  const cmcEeprom& Snapshot() const { return snapshot_; }
  const std::string& FilePath() const { return path_; }
  bool IsUntitled() const { return path_.empty(); }
  bool IsModified() const { return modified_; }
  int ModelType() const { return model_; }
  bool Maker() const { return maker_; }
  void SetMaker(bool on) { maker_ = on; }
  // With verification on, a write that succeeded reads the radio back and
  // fails (status 18, one message naming the first differing address and
  // where it belongs) unless every byte written came back as sent.
  bool VerifyAfterWrite() const { return verify_; }
  void SetVerifyAfterWrite(bool on) { verify_ = on; }
  const cmcRadioInfo& RadioInfo() const { return info_; }
  // The backup the last successful read kept; "" when it could not be kept.
  const std::string& LastBackup() const { return lastBackup_; }
  indCloneMan& CloneMan() { return man_; }

  // The open-path checks, without touching any document: read the file into
  // image (sized and zeroed here), check the coverage and the model byte.
  // Tells questions the file message of a failure; returns the file error code.
  static CloneFileCode ReadChecked(const std::string& path, cmcEeprom& image,
                                   UserQuestions& questions = DefaultQuestions());

  // Open file: the checks above, then the image becomes the working image
  // and follows its model. Returns the file error code (document unchanged
  // unless 0). The caller has asked about unsaved changes.
  CloneFileCode Open(const std::string& path);
  // Opens a file as a clone read would have brought it (a backup): the
  // checks of Open, then an untitled, modified image that follows its
  // model, so that a save asks for a name and the file stays as it is.
  CloneFileCode OpenUntitled(const std::string& path);
  // Normalises the working image for saving and writes it atomically.
  // Returns the file error code.
  CloneFileCode SaveTo(const std::string& path);
  // File New: a copy of the initial image, untitled.
  void New();
  // Changes the model type. With confirm the user is asked first and the
  // working image becomes the new initial image; without, the working image
  // stays as it is (it has just been loaded). false when nothing changed.
  bool ChangeModel(int model, bool confirm);
  // After an image came from a file or the radio: the model follows its
  // model byte, the image is normalised, the channel lists are rebuilt.
  void AfterImageLoaded(cmcEeprom& image);
  void Normalise(cmcEeprom& image, int mode);
  // The working image counts as modified while it differs from the snapshot.
  void UpdateModified();
  void TakeSnapshot();

  // Undo and redo over whole images. RecordStep is called after every
  // evaluation that carried an action and makes one step of whatever it
  // changed; New, Open, a clone read and a model change start afresh.
  // Undo and redo never clear the modified flag: only a snapshot does.
  void RecordStep();
  // The whole working image replaced at once (an import): one step of its
  // own, after any change not yet recorded, which stays a step as well.
  // The model and the file name stay; the image counts as modified while
  // it differs from the snapshot.
  void ReplaceWorking(const cmcEeprom& image);
  bool CanUndo() const { return history_.CanUndo(); }
  bool CanRedo() const { return history_.CanRedo(); }
  bool Undo();  // false when there was nothing to undo
  bool Redo();

  // The warning check over the check list; a write is refused while it
  // reports errors. The GUI installs the evaluator's check; without one the
  // check list is evaluated by the default below.
  void SetWarningCheck(WarningCheckFn check) { warningCheck_ = std::move(check); }
  WarningCounts WarningCheck();

  // The clone commands. The caller has asked about unsaved changes before
  // a read. A write sends the working image as it stood when the user
  // confirmed it (checked, then asked about): whatever happens to the
  // working image while the radio's information is awaited, the radio gets
  // what was confirmed, judged against the model of that moment.
  StartResult CloneRead(Done done);
  StartResult CloneWrite(Done done);
  StartResult CloneInformation(Done done);

 private:
  void LoadInitial(int model);
  static void OnInformation(void* context, dst_CDrv_Result* result);
  static void OnReadImage(void* context, dst_CDrv_Result* result);
  void Notify(cmcDocumentHost::Change what);
  // The image replaces the working image as one from a radio does.
  void TakeUntitled(const cmcEeprom& image);
  void Restore(const cmcEeprom* state);
  void Finish(CloneStatus status);

  // The three sequences' completions.
  static void ReadInfoDone(void* context, dst_CDrv_Result* result);
  static void ReadDone(void* context, dst_CDrv_Result* result);
  static void WriteInfoDone(void* context, dst_CDrv_Result* result);
  static void WriteDone(void* context, dst_CDrv_Result* result);
  static void VerifyDone(void* context, dst_CDrv_Result* result);
  void WriteSucceeded();
  static void InfoDone(void* context, dst_CDrv_Result* result);

  cmcDocumentHost* host_ = nullptr;
  UserQuestions* questions_ = nullptr;
  indCloneMan man_;
  cmcEeprom working_;
  cmcEeprom initial_;
  cmcEeprom snapshot_;
  std::string path_;
  bool modified_ = false;
  int model_ = -1;
  bool maker_ = false;
  bool verify_ = false;
  // The write the user confirmed: the working image, the model and its
  // initial image, and the maker mode at that moment.
  cmcEeprom confirmed_;
  cmcEeprom confirmedInitial_;
  int confirmedModel_ = 0;
  bool confirmedMaker_ = false;
  // What the running write sent, kept for its verification.
  cmcEeprom sent_;
  clsAddrRangeList sentRanges_;
  cmcRadioInfo info_;
  std::string lastBackup_;
  WarningCheckFn warningCheck_;
  Done done_;
  cmcUndoHistory history_;
};
