// SPDX-License-Identifier: GPL-3.0-or-later
// The main controller's document: construction, the file commands with
// their questions and dialogs, the clone commands and the title.
#include "shell/main_controller.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QStandardPaths>
#include <QTime>
#include <QTreeWidget>
#include <QUrl>

#include "base/events.h"
#include "base/evman.h"
#include "model/cell.h"
#include "model/cell_names.h"
#include "output/html_help.h"
#include "output/printer.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "radio/clone_man_message.h"
#include "radio/progress_sink.h"
#include "radio/radio_finder.h"
#include "settings/environ.h"
#include "shell/file_dialogs.h"
#include "shell/find_radio_command.h"
#include "shell/help_key.h"
#include "shell/startup.h"
#include "text/gtex.h"
#include "ui/about_box.h"
#include "ui/flector.h"
#include "ui/grid.h"
#include "ui/information.h"
#include "ui/menu.h"
#include "ui/port_dialog.h"
#include "ui/progress_window.h"
#include "ui/sheet.h"
#include "ui/tool_bar.h"
#include "ui/tree.h"

namespace {

std::string DirectoryOf(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).absolutePath().toStdString();
}

bool SamePathIgnoringCase(const std::string& a, const std::string& b) {
  return !a.empty() &&
         QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

cuiMain::cuiMain(cmcEvMan& bus, std::string projectCode, int imageSize)
    : bus_(bus), projectCode_(std::move(projectCode)), imageSize_(imageSize), cache_(gGTex) {
  if (gGTex && gHelpGTex) {
    const std::string dir = platform::DataDir();
    gGTex->Bind(dir + projectCode_ + ".OVL");
    gHelpGTex->Bind(dir + projectCode_ + "H.OVL");
  }
  if (gEnviron && !gEnviron->CurrentDirectory.empty()) {
    currentDir_ = gEnviron->CurrentDirectory;
  } else {
    currentDir_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    if (currentDir_.empty()) currentDir_ = QDir::currentPath().toStdString();
  }
  ownDialogs_ = std::make_unique<cuiQtFileDialogs>();
  dialogs_ = ownDialogs_.get();
  timer_ = MakeTask();
  bus_.Subscribe<ev::CommandsChanged>(this, [this](const ev::CommandsChanged&) {
    bus_.Send(ev::RefreshMenus{});
    bus_.Send(ev::RefreshToolBar{});
  });
  bus_.Subscribe<ev::ShowAbout>(this, [this](const ev::ShowAbout&) { ShowAboutBox(); });
  bus_.Subscribe<ev::StatusText>(this, [this](const ev::StatusText& e) {
    if (openingQuietly_ && e.text.empty()) return;
    SetStatusText(e.text, e.color, e.background);
  });
  cuiMain::Reset();
}

cuiMain::~cuiMain() {
  if (timer_) timer_->Stop();
  bus_.Unsubscribe(this);
  if (GetCommandTarget() == &commands_) SetCommandTarget(nullptr);
  sheet_.reset();
  tree_.reset();
  toolBar_.reset();
  menu_.reset();
}

void cuiMain::Reset() {}

cmcGTex& cuiMain::Table() const { return *gGTex; }

layout::TreeState cuiMain::TreeState() const {
  return layout::TreeState{&doc_->Working(), ModelType(), maker_};
}

void cuiMain::SetFileDialogs(cuiFileDialogs* dialogs) {
  dialogs_ = dialogs ? dialogs : ownDialogs_.get();
}

void cuiMain::SetProgressSink(cmcProgressSink* sink) {
  if (!sink) {
    ownProgress_ = std::make_unique<cuiProgressWindow>(form_);
    sink = ownProgress_.get();
  }
  progress_ = sink;
  if (doc_) doc_->CloneMan().SetProgressSink(sink);
}

// --- Title and questions.

std::string cuiMain::FileNamePart() const {
  if (!doc_ || doc_->IsUntitled()) return "Untitled";
  return QFileInfo(QString::fromStdString(doc_->FilePath())).fileName().toStdString();
}

std::string cuiMain::Title() const {
  return FileNamePart() + " - " + Table().Text("GI_Sys_AppTitle");
}

void cuiMain::UpdateTitle() {
  const QString title = QString::fromStdString(Title());
  if (form_) form_->setWindowTitle(title);
}

int cuiMain::ConfirmDiscard(bool reopening) {
  bus_.Send(ev::CommitEditor{});
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

void cuiMain::WaitCursor(bool on) {
  if (on)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

// --- File commands.

void cuiMain::FileNew() {
  if (ConfirmDiscard(false) == platform::kIdCancel) return;
  doc_->New();
}

void cuiMain::FileOpen() {
  bus_.Send(ev::CommitEditor{});
  cuiFileDialogs::Request request;
  request.directory = currentDir_;
  request.extension = Table().Line("GI_Sys_Dialog_FOpen", 0);
  request.filter = Table().Line("GI_Sys_Dialog_FOpen", 1);
  if (const auto path = dialogs_->ChooseOpen(form_, request)) OpenFile(*path);
}

void cuiMain::OpenFile(const std::string& path) {
  const bool reopening = SamePathIgnoringCase(path, doc_->FilePath());
  if (ConfirmDiscard(reopening) == platform::kIdCancel) return;
  WaitCursor(true);
  const CloneFileCode code = doc_->Open(path);
  WaitCursor(false);
  if (code == CloneFileCode::kOk) AfterFileNamed(path);
}

bool cuiMain::SaveAs() {
  cuiFileDialogs::Request request;
  request.directory = currentDir_;
  request.fileName = FileNamePart();
  request.extension = Table().Line("GI_Sys_Dialog_FOpen", 0);
  request.filter = Table().Line("GI_Sys_Dialog_FOpen", 1);
  const auto path = dialogs_->ChooseSave(form_, request);
  return path && SaveTo(*path) == 0;
}

void cuiMain::FileSave() {
  if (doc_->IsUntitled())
    SaveAs();
  else
    SaveTo(doc_->FilePath());
}

int cuiMain::SaveTo(const std::string& path) {
  WaitCursor(true);
  const CloneFileCode code = doc_->SaveTo(path);
  WaitCursor(false);
  if (code == CloneFileCode::kOk) {
    AfterFileNamed(path);
    ShowStatus(cloneman::FormatText(Table().Text("GI_Status_Saved"), path));
  }
  return static_cast<int>(code);
}

void cuiMain::AfterFileNamed(const std::string& path) {
  currentDir_ = DirectoryOf(path);
  if (gEnviron) {
    gEnviron->CurrentDirectory = currentDir_;
    gEnviron->Recent.PutFirst(path);
  }
  UpdateTitle();
  // The File menu lists the recent files.
  bus_.Send(ev::RefreshMenus{});
}

std::string cuiMain::RecentFile(int n) const {
  return gEnviron ? gEnviron->Recent.Entry(n) : std::string();
}

void cuiMain::OpenRecent(int n) {
  const std::string path = RecentFile(n);
  if (!path.empty()) OpenFile(path);
}

void cuiMain::UpdateModified() { doc_->UpdateModified(); }

void cuiMain::NoteActivity() {
  refresh_.emplace();
  refresh_->Start(250);
  doc_->RecordStep();
  UpdateModified();
}

void cuiMain::Undo() {
  bus_.Send(ev::CommitEditor{});
  doc_->Undo();
}

void cuiMain::Redo() {
  bus_.Send(ev::CommitEditor{});
  doc_->Redo();
}

void cuiMain::ChangeModel(int model) {
  if (doc_->ChangeModel(model, true) && gEnviron) gEnviron->ModelType = doc_->ModelType();
}

int cuiMain::ModelType() const { return doc_ ? doc_->ModelType() : 0; }

std::array<std::uint8_t, 28> cuiMain::RadioInformation() const {
  return doc_ ? doc_->RadioInfo().payload : std::array<std::uint8_t, 28>{};
}

void cuiMain::DocumentChanged(Change what) {
  switch (what) {
    case kNew:
    case kOpened:
    case kRead: CloseSheet(); break;
    case kModelChanged:
      if (gEnviron) gEnviron->ModelType = doc_->ModelType();
      // The tree follows the model; BuildTree closes the sheet.
      if (form_) BuildTree();
      break;
    case kWritten:
    case kUndone:
      CloseSheet();  // reopened fresh by the timer, where the cursor was
      break;
    case kSaved:
    case kModified: break;
  }
  UpdateTitle();
}

// --- Clone commands.

void cuiMain::StartClone(cmcDocument::StartResult (cmcDocument::*start)(cmcDocument::Done),
                         std::function<void(CloneStatus)> done) {
  doc_->CloneMan().SetPortNumber(CurrentPort());
  doc_->SetMaker(maker_);
  WaitCursor(true);
  // A radio that did not answer on this port may be on another one: its
  // message offers the search.
  auto offer = std::make_shared<cuiFindRadioOffer>(doc_->Questions());
  doc_->SetQuestions(offer.get());
  const auto result = ((*doc_).*start)([this, offer, done = std::move(done)](CloneStatus status) {
    WaitCursor(false);
    doc_->SetQuestions(nullptr);
    // Once data have moved, the radio was there all along.
    const bool search = offer->Finish(
        doc_->CloneMan().DataBytes() == 0 &&
        radiofind::WorthSearching(status, doc_->CloneMan().Driver().Port().Failure()));
    if (done) done(status);
    if (search) FindRadio();
  });
  if (result != cmcDocument::kStarted) {
    WaitCursor(false);
    doc_->SetQuestions(nullptr);
    offer->Finish(false);
  }
}

void cuiMain::CloneRead() {
  if (doc_->CloneMan().IsBusy()) return;
  if (ConfirmDiscard(false) == platform::kIdCancel) return;
  StartClone(&cmcDocument::CloneRead, [this](CloneStatus status) { CloneReadFinished(status); });
}

void cuiMain::CloneWrite() {
  const bool verify = VerifyAfterWrite();
  doc_->SetVerifyAfterWrite(verify);
  StartClone(&cmcDocument::CloneWrite,
             [this, verify](CloneStatus status) { CloneWriteFinished(status, verify); });
}

std::string cuiMain::PortName() const {
  return cloneman::FormatInt(Table().Line("GI_Mess_CloneErr_PortName", 0), CurrentPort());
}

std::string cuiMain::TimeOfDay() {
  return QTime::currentTime().toString(QStringLiteral("HH:mm:ss")).toStdString();
}

void cuiMain::CloneReadFinished(CloneStatus status) {
  if (status != CloneStatus::kOk) {
    ShowStatus(
        cloneman::FormatTexts(Table().Text("GI_Status_ReadFailed"), {PortName(), TimeOfDay()}));
    return;
  }
  const std::string& backup = doc_->LastBackup();
  const std::string name = QFileInfo(QString::fromStdString(backup)).fileName().toStdString();
  ShowStatus(cloneman::FormatTexts(Table().Line("GI_Status_Read", backup.empty() ? 1 : 0),
                                   {PortName(), TimeOfDay(), name}));
}

void cuiMain::CloneWriteFinished(CloneStatus status, bool verified) {
  const std::vector<std::string> values{PortName(), TimeOfDay()};
  if (status == CloneStatus::kOk) {
    ShowStatus(cloneman::FormatTexts(Table().Line("GI_Status_Written", verified ? 1 : 0), values));
  } else {
    const int line = status == CloneStatus::kVerifyFailed ? 1 : 0;
    ShowStatus(cloneman::FormatTexts(Table().Line("GI_Status_WriteFailed", line), values));
  }
}

bool cuiMain::ExchangeOrPrintRunning() const {
  return (doc_ && doc_->CloneMan().IsBusy()) || radioCompare_ != nullptr || fleetRunning_ ||
         (printer_ && printer_->JobActive());
}

bool cuiMain::VerifyAfterWrite() const { return gEnviron && gEnviron->VerifyAfterWrite != 0; }

void cuiMain::ToggleVerifyAfterWrite() {
  if (gEnviron) gEnviron->VerifyAfterWrite = VerifyAfterWrite() ? 0 : 1;
  bus_.Send(ev::CommandsChanged{});
}

void cuiMain::OpenBackupFolder() {
  // The folder is made on the first read; opening it before then shows it empty.
  const QString folder = QFile::decodeName(platform::BackupDir().c_str());
  QDir().mkpath(folder);
  QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

void cuiMain::CloneInformation() { StartClone(&cmcDocument::CloneInformation, nullptr); }

void cuiMain::InformationReceived() {
  if (!form_) return;
  new cuiInformation(bus_, form_, Table().Text("GI_Sys_AppTitle"), Table(), "GI_Sheet_CloneInfo",
                     treeImages_);
}

// --- Settings the cells read and change.

int cuiMain::FontSize() const { return gEnviron ? gEnviron->FontSizePercentage : 100; }

void cuiMain::SetFontSize(int size) {
  if (!gEnviron || gEnviron->FontSizePercentage == size) return;
  gEnviron->FontSizePercentage = size;
  ApplyFontSize();
}

bool cuiMain::UsableChannelsView() const { return gEnviron && gEnviron->ChListType != 0; }

int cuiMain::CurrentPort() const { return gEnviron ? gEnviron->ComPort : 1; }

void cuiMain::SetPort(int port) {
  if (gEnviron) gEnviron->ComPort = port;
  if (doc_) doc_->CloneMan().SetPortNumber(port);
  bus_.Send(ev::CommandsChanged{});
}

int cuiMain::HelpContext(std::uint32_t cell) const {
  if (!gHelpGTex || cell >= CL_NoCell) return 0;
  return cuiHtmlHelp::ContextNumber(*gHelpGTex, std::string(CellName(cell)));
}

// --- Printing and help.

cuiPrinter* cuiMain::Printer() {
  if (!printer_ && form_) {
    // The printout reads the column widths the user left on screen.
    output::PrintSource source;
    source.table = &Table();
    source.images = treeImages_;
    if (gEnviron) source.settingsKeyPath = gEnviron->KeyPath();
    source.bus = &bus_;
    printer_ = std::make_unique<cuiPrinter>(
        form_, source, gEnviron ? gEnviron->FontSizePrinter : printFontPoints_, barImages_);
  }
  return printer_.get();
}

cuiHtmlHelp* cuiMain::Help() {
  if (!help_ && form_ && gHelpGTex) help_ = std::make_unique<cuiHtmlHelp>(*gHelpGTex, form_);
  return help_.get();
}

bool cuiMain::CanPrintCurrent() const {
  return form_ && sheet_ && !(printer_ && printer_->JobActive());
}

void cuiMain::PrintCurrent() {
  bus_.Send(ev::CommitEditor{});
  if (!CanPrintCurrent() || !Printer()) return;
  const std::string& reference = sheet_->PageReference();
  printer_->PrintSheet(layout::TreePage{reference, SheetKeyOf(reference), {}, 0});
}

void cuiMain::PrintAll() {
  bus_.Send(ev::CommitEditor{});
  if (!Printer() || printer_->JobActive()) return;
  printer_->PrintAll(layout::ShownTreePages(Table(), TreeState()));
}

std::string cuiMain::HelpFile() const {
  return gHelpGTex ? cuiHtmlHelp::HelpFilePath(*gHelpGTex, platform::DataDir()) : std::string();
}

void cuiMain::ShowHelpContents() {
  if (Help()) help_->ShowContents(HelpFile());
}

void cuiMain::ShowContextHelp(std::uint32_t cell) {
  if (Help()) help_->ShowContext(HelpFile(), HelpContext(cell), QCursor::pos());
}

void cuiMain::HelpOnCursorCell() {
  cuiGrid* grid = sheet_ ? sheet_->Grid() : nullptr;
  const int number = grid ? HelpContext(sheet_->CellAt(grid->Col(), grid->Row()).Cell()) : 0;
  if (number == 0 || !Help()) {
    ShowHelpContents();
    return;
  }
  help_->ShowTopic(HelpFile(), number);
}

void cuiMain::OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey, int current) {
  if (chooser_) {
    chooser_(capsule, listKey, current);
    return;
  }
  // The list's items are Flex0 cells numbered with their values; the
  // window frees itself once it closes.
  new cuiFlector(bus_, capsule, Flex0, current, Table(), listKey, treeImages_);
}

void cuiMain::OpenPortSelection(int mode) {
  if (portSelection_) {
    portSelection_(mode);
    return;
  }
  cuiPortDialog::Choose(form_, Table(), mode, *this);
}

void cuiMain::ShowAboutBox() {
  if (aboutBox_) {
    aboutBox_();
    return;
  }
  if (!form_) return;
  // The box frees itself when it closes and gives the main window back.
  new cuiAboutBox(form_, Table(), QApplication::windowIcon().pixmap(32, 32),
                  [this](QChar c) { KeyTyped(c.toLatin1()); });
}

void cuiMain::CloseMainWindow() {
  if (form_) form_->close();
}
