// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTime>

#include "base/events.h"
#include "base/evman.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "radio/radio_finder.h"
#include "settings/environ.h"
#include "shell/deferred_check.h"
#include "shell/file_dialogs.h"
#include "shell/find_radio_command.h"
#include "shell/status_line.h"
#include "shell/window_context.h"
#include "text/gtex.h"

namespace shell {
namespace {

std::string DirectoryOf(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
}

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
  return !a.empty() &&
         QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

cmcGTex& Table() { return WindowContext::Table(); }

}  // namespace

DocumentCommands::DocumentCommands(WindowContext& context, cuiFileDialogs& dialogs,
                                   StatusLine& status, DeferredCheck& refresh,
                                   const PortRole& ports)
    : context_(context),
      dialogs_(dialogs),
      status_(status),
      refresh_(refresh),
      ports_(ports),
      cache_(gGTex) {
  if (gEnviron && !gEnviron->CurrentDirectory.empty()) {
    currentDir_ = gEnviron->CurrentDirectory;
  } else {
    currentDir_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    if (currentDir_.empty()) currentDir_ = QDir::currentPath().toStdString();
  }
}

DocumentCommands::~DocumentCommands() = default;

void DocumentCommands::Start(int model, cmcDocumentHost* host, cmcDocument::WarningCheckFn check) {
  doc_ = std::make_unique<cmcDocument>(model, host);
  doc_->SetQuestions(&context_.questions);
  doc_->SetWarningCheck(std::move(check));
}

// --- Title and questions.

std::string DocumentCommands::FileNamePart() const {
  if (!doc_ || doc_->IsUntitled()) return "Untitled";
  return QFileInfo(QString::fromStdString(doc_->FilePath())).fileName().toStdString();
}

void DocumentCommands::UpdateTitle() {
  const QString title =
      QString::fromStdString(FileNamePart() + " - " + Table().Text("GI_Sys_AppTitle"));
  if (context_.form) context_.form->setWindowTitle(title);
}

int DocumentCommands::ConfirmDiscard(bool reopening) {
  context_.bus.Send(ev::CommitEditor{});
  if (!doc_->IsModified()) return platform::kIdYes;
  std::string question;
  if (reopening) {
    question = Table().Text("GI_Mess_Confirm_WriteAnother");
  } else {
    const QString format = QString::fromStdString(Table().Text("GI_Mess_Confirm_WriteFile"));
    question = QString(format)
                   .replace(QStringLiteral("%s"), QString::fromStdString(FileNamePart()))
                   .toStdString();
  }
  const int answer = platform::ShowMessage(question, Table().Text("GI_Sys_AppTitle"),
                                           platform::kMbYesNoCancel | platform::kMbIconExclamation);
  if (answer != platform::kIdYes) return answer == platform::kIdNo ? answer : platform::kIdCancel;
  // Re-opening the open file must not overwrite it with the changes that
  // the user is about to throw away by reloading: a new name is asked.
  const bool saved = doc_->IsUntitled() || reopening ? SaveAs() : SaveTo(doc_->FilePath()) == 0;
  return saved ? platform::kIdYes : platform::kIdCancel;
}

// --- File commands.

void DocumentCommands::FileNew() {
  if (ConfirmDiscard(false) == platform::kIdCancel) return;
  doc_->New();
}

void DocumentCommands::OpenFile(const std::string& path) {
  const bool reopening = SamePathIgnoringCase(path, doc_->FilePath());
  if (ConfirmDiscard(reopening) == platform::kIdCancel) return;
  WindowContext::WaitCursor(true);
  const CloneFileCode code = doc_->Open(path);
  WindowContext::WaitCursor(false);
  if (code == CloneFileCode::kOk) AfterFileNamed(path);
}

bool DocumentCommands::SaveAs() {
  cuiFileDialogs::Request request;
  request.directory = currentDir_;
  request.fileName = FileNamePart();
  request.extension = Table().Line("GI_Sys_Dialog_FOpen", 0);
  request.filter = Table().Line("GI_Sys_Dialog_FOpen", 1);
  const auto path = dialogs_.ChooseSave(context_.form, request);
  return path && SaveTo(*path) == 0;
}

void DocumentCommands::FileSave() {
  if (doc_->IsUntitled())
    SaveAs();
  else
    SaveTo(doc_->FilePath());
}

int DocumentCommands::SaveTo(const std::string& path) {
  WindowContext::WaitCursor(true);
  const CloneFileCode code = doc_->SaveTo(path);
  WindowContext::WaitCursor(false);
  if (code == CloneFileCode::kOk) {
    AfterFileNamed(path);
    status_.Show(cloneman::FormatText(Table().Text("GI_Status_Saved"), path));
  }
  return static_cast<int>(code);
}

void DocumentCommands::AfterFileNamed(const std::string& path) {
  currentDir_ = DirectoryOf(path);
  if (gEnviron) {
    gEnviron->CurrentDirectory = currentDir_;
    gEnviron->Recent.PutFirst(path);
  }
  UpdateTitle();
  // The File menu lists the recent files.
  context_.bus.Send(ev::RefreshMenus{});
}

void DocumentCommands::NoteActivity() {
  refresh_.Restart();
  doc_->RecordStep();
  doc_->UpdateModified();
}

void DocumentCommands::Undo() {
  context_.bus.Send(ev::CommitEditor{});
  doc_->Undo();
}

void DocumentCommands::Redo() {
  context_.bus.Send(ev::CommitEditor{});
  doc_->Redo();
}

void DocumentCommands::ChangeModel(int model) {
  if (doc_->ChangeModel(model, true) && gEnviron) gEnviron->ModelType = doc_->ModelType();
}

int DocumentCommands::ModelType() const { return doc_ ? doc_->ModelType() : 0; }

std::array<std::uint8_t, 28> DocumentCommands::RadioInformation() const {
  return doc_ ? doc_->RadioInfo().payload : std::array<std::uint8_t, 28>{};
}

// --- Clone commands.

void DocumentCommands::StartClone(cmcDocument::StartResult (cmcDocument::*start)(cmcDocument::Done),
                                  std::function<void(CloneStatus)> done) {
  doc_->CloneMan().SetPortNumber(ports_.CurrentPort());
  doc_->SetMaker(context_.maker);
  WindowContext::WaitCursor(true);
  // A radio that did not answer on this port may be on another one: its
  // message offers the search.
  auto offer = std::make_shared<cuiFindRadioOffer>(doc_->Questions());
  doc_->SetQuestions(offer.get());
  const auto result = ((*doc_).*start)([this, offer, done = std::move(done)](CloneStatus status) {
    WindowContext::WaitCursor(false);
    doc_->SetQuestions(nullptr);
    // Once data have moved, the radio was there all along.
    const bool search = offer->Finish(
        doc_->CloneMan().DataBytes() == 0 &&
        radiofind::WorthSearching(status, doc_->CloneMan().Driver().Port().Failure()));
    if (done) done(status);
    if (search && context_.findRadio) context_.findRadio();
  });
  if (result != cmcDocument::kStarted) {
    WindowContext::WaitCursor(false);
    doc_->SetQuestions(nullptr);
    offer->Finish(false);
  }
}

void DocumentCommands::CloneRead() {
  if (doc_->CloneMan().IsBusy()) return;
  if (ConfirmDiscard(false) == platform::kIdCancel) return;
  StartClone(&cmcDocument::CloneRead, [this](CloneStatus status) { CloneReadFinished(status); });
}

void DocumentCommands::CloneWrite() {
  const bool verify = VerifyAfterWrite();
  doc_->SetVerifyAfterWrite(verify);
  StartClone(&cmcDocument::CloneWrite,
             [this, verify](CloneStatus status) { CloneWriteFinished(status, verify); });
}

void DocumentCommands::CloneInformation() { StartClone(&cmcDocument::CloneInformation, nullptr); }

std::string DocumentCommands::PortName() const {
  return cloneman::FormatInt(Table().Line("GI_Mess_CloneErr_PortName", 0), ports_.CurrentPort());
}

std::string DocumentCommands::TimeOfDay() {
  return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
}

void DocumentCommands::CloneReadFinished(CloneStatus status) {
  if (status != CloneStatus::kOk) {
    status_.Show(
        cloneman::FormatTexts(Table().Text("GI_Status_ReadFailed"), {PortName(), TimeOfDay()}));
    return;
  }
  const std::string& backup = doc_->LastBackup();
  const std::string name = QFileInfo(QString::fromStdString(backup)).fileName().toStdString();
  status_.Show(cloneman::FormatTexts(Table().Line("GI_Status_Read", backup.empty() ? 1 : 0),
                                     {PortName(), TimeOfDay(), name}));
}

void DocumentCommands::CloneWriteFinished(CloneStatus status, bool verified) {
  const std::vector<std::string> values{PortName(), TimeOfDay()};
  if (status == CloneStatus::kOk) {
    status_.Show(
        cloneman::FormatTexts(Table().Line("GI_Status_Written", verified ? 1 : 0), values));
  } else {
    const int line = status == CloneStatus::kVerifyFailed ? 1 : 0;
    status_.Show(cloneman::FormatTexts(Table().Line("GI_Status_WriteFailed", line), values));
  }
}

bool DocumentCommands::VerifyAfterWrite() const {
  return gEnviron && gEnviron->VerifyAfterWrite != 0;
}

void DocumentCommands::ToggleVerifyAfterWrite() {
  if (gEnviron) gEnviron->VerifyAfterWrite = VerifyAfterWrite() ? 0 : 1;
  context_.bus.Send(ev::CommandsChanged{});
}

}  // namespace shell
