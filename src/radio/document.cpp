// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/document.h"

#include "model/clone_file.h"
#include "model/image_checks.h"
#include "model/memory_map.h"
#include "model/normalise.h"
#include "platform/fatal.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "radio/clone_man_message.h"
#include "radio/clone_man_ranges.h"
#include "radio/document_warning.h"
#include "radio/read_backup.h"
#include "radio/write_verify.h"
#include "text/gtex.h"

cmcDocument::cmcDocument(int model, cmcDocumentHost* host,
                         const platform::SerialDeviceFactory& devices)
    : host_(host), man_(devices) {
  working_.SetSize(memmap::kImageSize);
  initial_.SetSize(memmap::kImageSize);
  snapshot_.SetSize(memmap::kImageSize);
  man_.SetInformationHandler([this](dst_CDrv_Result* result) { OnInformation(this, result); });
  man_.SetReadHandler([this](dst_CDrv_Result* result) { OnReadImage(this, result); });
  LoadInitial(model >= 0 && model < memmap::kModelTypes ? model : 0);
  working_.Assign(initial_);
  TakeSnapshot();
  history_.Reset(working_);
}

cmcDocument::~cmcDocument() = default;

void cmcDocument::LoadInitial(int model) {
  const std::string path = platform::DataDir() + gGTex->Line("GI_App_InitialFile", model);
  cmcEeprom image(memmap::kImageSize);
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  file.SetQuestions(&Questions());
  if (file.Read(path, &cmcCloneFile::StandardRanges()) != CloneFileCode::kOk) {
    platform::Fatal("Cannot open '" + path + "'.");
  }
  model_ = model;
  initial_.Assign(image);
  NormaliseImage(initial_, initial_, kNormaliseAfterLoad, model_);
}

CloneFileCode cmcDocument::ReadChecked(const std::string& path, cmcEeprom& image,
                                       UserQuestions& questions) {
  image.SetSize(memmap::kImageSize);
  cmcCloneFile file;
  SetUpRadioFile(file, &image);
  file.SetQuestions(&questions);
  CloneFileCode code = file.Read(path, nullptr);
  if (code != CloneFileCode::kOk) return code;  // the file has shown its message
  // The signature is not asked of files, and this model accepts every image.
  code = file.CheckCoverage(cmcCloneFile::StandardRanges());
  if (code == CloneFileCode::kOk && !ModelByteAcceptable(image)) code = CloneFileCode::kData;
  cmcCloneFile::ShowError(code, questions);
  return code;
}

CloneFileCode cmcDocument::Open(const std::string& path) {
  cmcEeprom image;
  const CloneFileCode code = ReadChecked(path, image, Questions());
  if (code != CloneFileCode::kOk) return code;
  path_ = path;
  working_.Assign(image);
  AfterImageLoaded(working_);
  TakeSnapshot();
  history_.Reset(working_);
  Notify(cmcDocumentHost::kOpened);
  if (host_) host_->ChannelListsChanged();
  return code;
}

CloneFileCode cmcDocument::OpenUntitled(const std::string& path) {
  cmcEeprom image;
  const CloneFileCode code = ReadChecked(path, image, Questions());
  if (code == CloneFileCode::kOk) TakeUntitled(image);
  return code;
}

void cmcDocument::TakeUntitled(const cmcEeprom& image) {
  working_.Assign(image);
  AfterImageLoaded(working_);
  modified_ = true;
  path_.clear();
  history_.Reset(working_);
  Notify(cmcDocumentHost::kRead);
  if (host_) host_->ChannelListsChanged();
}

CloneFileCode cmcDocument::SaveTo(const std::string& path) {
  if (host_) host_->CommitViewEdits();
  Normalise(working_, kNormaliseBeforeSave);
  cmcCloneFile file;
  SetUpRadioFile(file, &working_);
  file.SetQuestions(&Questions());
  file.SetComment(cmcCloneFile::CommentFromImage(working_));
  const CloneFileCode code = file.Write(path, cmcCloneFile::StandardRanges());
  if (code != CloneFileCode::kOk) {
    UpdateModified();  // the normalisation may have changed bytes
    return code;
  }
  path_ = path;
  TakeSnapshot();
  // Undoing the step before the save must not bring back what the
  // normalisation tidied.
  history_.Rebase(working_);
  Notify(cmcDocumentHost::kSaved);
  return code;
}

void cmcDocument::New() {
  working_.Assign(initial_);
  TakeSnapshot();
  history_.Reset(working_);
  path_.clear();
  Notify(cmcDocumentHost::kNew);
  if (host_) host_->ChannelListsChanged();
}

bool cmcDocument::ChangeModel(int model, bool confirm) {
  if (model == model_) return false;
  // A radio may report any byte; only known model types have an initial
  // image, so anything else keeps the current model.
  if (model < 0 || model >= memmap::kModelTypes) return false;
  if (confirm &&
      Questions().Ask("GI_AppMess_ChangeModel",
                      platform::kMbOkCancel | platform::kMbIconExclamation) != platform::kIdOk) {
    return false;
  }
  LoadInitial(model);
  if (confirm) {
    working_.Assign(initial_);
    TakeSnapshot();
    path_.clear();
  }
  // Another model's image: no step of the old one may come back.
  history_.Reset(working_);
  Notify(cmcDocumentHost::kModelChanged);
  return true;
}

void cmcDocument::AfterImageLoaded(cmcEeprom& image) {
  ChangeModel(image.GetByte(memmap::kModelByte), false);
  Normalise(image, kNormaliseAfterLoad);
  if (host_) host_->ChannelListsChanged();
}

void cmcDocument::Normalise(cmcEeprom& image, int mode) {
  NormaliseImage(image, initial_, mode, model_);
}

void cmcDocument::UpdateModified() {
  if (!modified_ && working_.Differs(snapshot_)) {
    modified_ = true;
    Notify(cmcDocumentHost::kModified);
  }
}

void cmcDocument::TakeSnapshot() {
  snapshot_.Assign(working_);
  modified_ = false;
}

void cmcDocument::RecordStep() { history_.Record(working_); }

void cmcDocument::ReplaceWorking(const cmcEeprom& image) {
  RecordStep();
  working_.Assign(image);
  RecordStep();
  UpdateModified();
}

bool cmcDocument::Undo() {
  // A change no evaluation has recorded yet is a step of its own, so undo
  // takes back that change first rather than losing it.
  RecordStep();
  const cmcEeprom* state = history_.Undo();
  Restore(state);
  return state != nullptr;
}

bool cmcDocument::Redo() {
  RecordStep();
  const cmcEeprom* state = history_.Redo();
  Restore(state);
  return state != nullptr;
}

void cmcDocument::Restore(const cmcEeprom* state) {
  if (!state) return;
  working_.Assign(*state);
  UpdateModified();
  Notify(cmcDocumentHost::kUndone);
  // The restored image may use other channel plans.
  if (host_) host_->ChannelListsChanged();
}

cmcDocument::WarningCounts cmcDocument::WarningCheck() {
  if (warningCheck_) return warningCheck_();
  return DefaultWarningCheck(*this);
}

void cmcDocument::Notify(cmcDocumentHost::Change what) {
  if (host_) host_->DocumentChanged(what);
}

void cmcDocument::Finish(CloneStatus status) {
  Done done = std::move(done_);
  done_ = nullptr;
  if (done) done(status);
}

// The handlers judge every successful exchange before anything else sees
// it, so their refusals are reported like the driver's own failures.

void cmcDocument::OnInformation(void* context, dst_CDrv_Result* result) {
  auto* self = static_cast<cmcDocument*>(context);
  if (result->status != CloneStatus::kOk) return;
  result->status = cloneman::CheckInformation(
      static_cast<std::uint32_t>(result->value1), static_cast<std::uint32_t>(result->value2),
      result->payload.Size() ? result->payload.Data() : nullptr, result->payload.Size(),
      &self->info_);
}

void cmcDocument::OnReadImage(void* /*context*/, dst_CDrv_Result* result) {
  if (result->status != CloneStatus::kOk) return;
  result->status = cloneman::CheckReadImage(result->image);
}

cmcDocument::StartResult cmcDocument::CloneRead(Done done) {
  if (man_.IsBusy()) return kBusy;
  man_.SetRequestValues(memmap::kModelCode, 0);
  done_ = std::move(done);
  if (!man_.StartInformation([this](dst_CDrv_Result* result) { ReadInfoDone(this, result); })) {
    done_ = nullptr;
    return kBusy;
  }
  return kStarted;
}

void cmcDocument::ReadInfoDone(void* context, dst_CDrv_Result* result) {
  auto* self = static_cast<cmcDocument*>(context);
  if (result->status != CloneStatus::kOk) return self->Finish(result->status);
  if (self->info_.ReadForbidden()) {
    cloneman::ShowCloneError(self->Questions(), CloneStatus::kBadFrame, self->man_.PortNumber(),
                             self->man_.PortDevice());
    return self->Finish(CloneStatus::kBadFrame);
  }
  self->man_.SetImageSize(self->working_.Size());
  if (!self->man_.StartRead(cloneman::ReadRanges(),
                            [self](dst_CDrv_Result* result) { ReadDone(self, result); })) {
    cloneman::ShowCloneError(self->Questions(), CloneStatus::kPortFailed, self->man_.PortNumber(),
                             self->man_.PortDevice());
    self->Finish(CloneStatus::kPortFailed);
  }
}

void cmcDocument::ReadDone(void* context, dst_CDrv_Result* result) {
  auto* self = static_cast<cmcDocument*>(context);
  if (result->status != CloneStatus::kOk) return self->Finish(result->status);
  // Kept as the radio sent it, before the model change and normalisation
  // below; a backup that cannot be written has said so and costs the read
  // nothing.
  self->lastBackup_ = backup::WriteBackup(result->image, self->Questions());
  self->TakeUntitled(result->image);
  self->Finish(CloneStatus::kOk);
}

cmcDocument::StartResult cmcDocument::CloneWrite(Done done) {
  if (host_) host_->CommitViewEdits();
  if (WarningCheck().errors > 0) {
    Questions().Report(UserQuestions::Kind::kError, gGTex->Block("GI_Mess_DataError"));
    return kDataError;
  }
  if (man_.IsBusy()) return kBusy;
  if (host_ && !host_->ConfirmWrite()) return kCancelled;
  if (Questions().Ask("GI_Mess_Confirm_CloneWrite",
                      platform::kMbOkCancel | platform::kMbIconExclamation) != platform::kIdOk) {
    return kCancelled;
  }
  confirmed_.Assign(working_);
  confirmedInitial_.Assign(initial_);
  confirmedModel_ = model_;
  confirmedMaker_ = maker_;
  man_.SetRequestValues(memmap::kModelCode, 0);
  done_ = std::move(done);
  if (!man_.StartInformation([this](dst_CDrv_Result* result) { WriteInfoDone(this, result); })) {
    done_ = nullptr;
    return kBusy;
  }
  return kStarted;
}

void cmcDocument::WriteInfoDone(void* context, dst_CDrv_Result* result) {
  auto* self = static_cast<cmcDocument*>(context);
  if (result->status != CloneStatus::kOk) return self->Finish(result->status);
  if (!cloneman::WriteModelMatches(self->info_.ModelType(), self->confirmedModel_)) {
    self->Questions().Report(UserQuestions::Kind::kError, gGTex->Block("GI_Mess_ModelError"));
    return self->Finish(CloneStatus::kModelMismatch);
  }
  self->man_.SetImageSize(self->confirmed_.Size());
  // The working image gets the tidying a save gives it, as long as it is
  // still the image confirmed; the normalisation alone must not mark an
  // unmodified document modified.
  if (self->working_.Equals(self->confirmed_) && self->model_ == self->confirmedModel_) {
    self->UpdateModified();
    const bool wasModified = self->modified_;
    self->Normalise(self->working_, kNormaliseBeforeSave);
    if (!wasModified) self->TakeSnapshot();
    self->history_.Rebase(self->working_);
  }

  cmcEeprom copy(self->confirmed_);
  NormaliseImage(copy, self->confirmedInitial_, kNormaliseBeforeSave, self->confirmedModel_);
  cloneman::ApplyExtraBlockTemplate(copy);
  const auto ranges =
      cloneman::WriteRangesFor(self->info_, copy, self->confirmedInitial_, self->confirmedMaker_);
  if (self->verify_) {
    self->sent_.Assign(copy);
    self->sentRanges_ = ranges;
  }
  if (!self->man_.StartWrite(copy, ranges,
                             [self](dst_CDrv_Result* result) { WriteDone(self, result); })) {
    cloneman::ShowCloneError(self->Questions(), CloneStatus::kPortFailed, self->man_.PortNumber(),
                             self->man_.PortDevice());
    self->Finish(CloneStatus::kPortFailed);
  }
}

void cmcDocument::WriteDone(void* context, dst_CDrv_Result* result) {
  auto* self = static_cast<cmcDocument*>(context);
  if (result->status != CloneStatus::kOk) return self->Finish(result->status);
  self->Notify(cmcDocumentHost::kWritten);
  if (!self->verify_) return self->WriteSucceeded();
  // A radio that forbids reading cannot show what it stored: the write
  // stays unverified, which with verification asked for is a failure.
  if (self->info_.ReadForbidden()) {
    cloneman::ShowCloneError(self->Questions(), CloneStatus::kBadFrame, self->man_.PortNumber(),
                             self->man_.PortDevice());
    return self->Finish(CloneStatus::kBadFrame);
  }
  self->man_.SetImageSize(self->working_.Size());
  if (!self->man_.StartRead(cloneman::ReadRanges(),
                            [self](dst_CDrv_Result* result) { VerifyDone(self, result); })) {
    cloneman::ShowCloneError(self->Questions(), CloneStatus::kPortFailed, self->man_.PortNumber(),
                             self->man_.PortDevice());
    self->Finish(CloneStatus::kPortFailed);
  }
}

void cmcDocument::VerifyDone(void* context, dst_CDrv_Result* result) {
  auto* self = static_cast<cmcDocument*>(context);
  if (result->status != CloneStatus::kOk) return self->Finish(result->status);
  const auto differs = verify::FirstDifference(self->sent_, result->image, self->sentRanges_);
  if (!differs) return self->WriteSucceeded();
  self->Questions().Report(
      UserQuestions::Kind::kError,
      verify::FailureText(*differs, self->sent_.GetByte(*differs), result->image.GetByte(*differs),
                          self->sent_, self->confirmedModel_));
  self->Finish(CloneStatus::kVerifyFailed);
}

void cmcDocument::WriteSucceeded() {
  Questions().Report(UserQuestions::Kind::kSuccess, gGTex->Block("GI_Mess_CloneWrite_Succeeded"));
  Finish(CloneStatus::kOk);
}

cmcDocument::StartResult cmcDocument::CloneInformation(Done done) {
  if (man_.IsBusy()) return kBusy;
  man_.SetRequestValues(memmap::kModelCode, 0);
  done_ = std::move(done);
  if (!man_.StartInformation([this](dst_CDrv_Result* result) { InfoDone(this, result); })) {
    done_ = nullptr;
    return kBusy;
  }
  return kStarted;
}

void cmcDocument::InfoDone(void* context, dst_CDrv_Result* result) {
  auto* self = static_cast<cmcDocument*>(context);
  if (result->status == CloneStatus::kOk && self->host_) self->host_->InformationReceived();
  self->Finish(result->status);
}
