// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/transfer_commands.h"

#include <QFileInfo>
#include <QMainWindow>
#include <QTimer>

#include "base/events.h"
#include "base/evman.h"
#include "layout/csv_transfer.h"
#include "layout/page_diff.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "shell/deferred_check.h"
#include "shell/document_commands.h"
#include "shell/navigation.h"
#include "shell/status_line.h"
#include "shell/table_file_dialog.h"
#include "shell/window_context.h"
#include "spreadsheet/table_file.h"
#include "text/csv_records.h"
#include "text/gtex.h"
#include "ui/compare_dialog.h"
#include "ui/fleet_dialog.h"
#include "ui/import_dialog.h"

namespace shell {
namespace {

struct CsvCount {
  int pages = 0;
  int values = 0;
};

// The pages and the values of an exported CSV: each page's record, its
// caption record, then its rows, whose first field names the row.
CsvCount CountCsvValues(const std::string& csv) {
  CsvCount count;
  std::vector<text::CsvRecord> records;
  std::string error;
  if (!text::ReadCsv(csv, records, error)) return count;
  bool captions = false;
  for (const text::CsvRecord& record : records) {
    if (!record.fields.empty() && record.fields.front() == "Page") {
      ++count.pages;
      captions = true;
    } else if (captions) {
      captions = false;
    } else if (!record.fields.empty()) {
      count.values += static_cast<int>(record.fields.size()) - 1;
    }
  }
  return count;
}

cmcGTex& Table() { return WindowContext::Table(); }

}  // namespace

TransferCommands::TransferCommands(WindowContext& context, cuiFileDialogs& dialogs,
                                   StatusLine& status, DeferredCheck& refresh,
                                   DocumentCommands& documents, Navigation& navigation,
                                   const ViewSettingsRole& view, const PortRole& ports)
    : context_(context),
      dialogs_(dialogs),
      status_(status),
      refresh_(refresh),
      documents_(documents),
      navigation_(navigation),
      view_(view),
      ports_(ports) {}

TransferCommands::~TransferCommands() = default;

std::unique_ptr<cmcDocument> TransferCommands::WorkingCopy() const {
  auto copy = std::make_unique<cmcDocument>(documents_.Document().ModelType());
  copy->Working().Assign(documents_.Document().Working());
  copy->SetMaker(context_.maker);
  copy->SetQuestions(&context_.questions);
  return copy;
}

cuiFileDialogs::Request TransferCommands::CsvRequest() const {
  cuiFileDialogs::Request request;
  request.directory = documents_.CurrentDirectory();
  request.extension = Table().Line("GI_Sys_Dialog_Table", 0);
  request.filter = Table().Line("GI_Sys_Dialog_Table", 1);
  return request;
}

void TransferCommands::ShowError(const std::string& text) const {
  platform::ShowMessage(text, Table().Text("GI_Sys_AppTitle"),
                        platform::kMbOk | platform::kMbIconStop);
}

// Every page the tree shows: a spreadsheet user expects the whole radio in
// one file, and import takes back exactly what export wrote. The page open
// now would be a chance selection.
void TransferCommands::ExportCsv() {
  context_.bus.Send(ev::CommitEditor{});
  cuiFileDialogs::Request request = CsvRequest();
  request.fileName =
      QFileInfo(QString::fromStdString(documents_.FileNamePart())).completeBaseName().toStdString();
  const auto path = dialogs_.ChooseSave(context_.form, request);
  if (!path) return;
  const std::unique_ptr<cmcDocument> copy = WorkingCopy();
  WindowContext::WaitCursor(true);
  const std::vector<layout::TreePage> pages =
      layout::SpreadsheetPages(layout::ShownTreePages(Table(), navigation_.TreeState()));
  // The CSV text also gives the status line its counts, for either format.
  const std::string csv = layout::ExportCsv(*copy, pages, view_.UsableChannelsView());
  const bool written = spreadsheet::WriteTableFile(*path, *copy, pages, view_.UsableChannelsView());
  WindowContext::WaitCursor(false);
  if (!written) {
    ShowError(cloneman::FormatText(Table().Text("GI_Mess_Csv_CannotWrite"), *path));
    return;
  }
  const CsvCount count = CountCsvValues(csv);
  status_.Show(
      cloneman::FormatTexts(Table().Text("GI_Status_Exported"),
                            {std::to_string(count.values), std::to_string(count.pages), *path}));
}

void TransferCommands::ImportCsv() {
  context_.bus.Send(ev::CommitEditor{});
  const auto path = dialogs_.ChooseOpen(context_.form, CsvRequest());
  if (!path) return;
  std::vector<text::CsvRecord> records;
  if (std::string message; !shell::ReadTableFile(Table(), *path, records, message)) {
    ShowError(message);
    return;
  }
  std::shared_ptr<cmcDocument> copy = WorkingCopy();
  WindowContext::WaitCursor(true);
  const layout::CsvImportResult result =
      layout::ImportCsvListed(*copy, records, view_.UsableChannelsView());
  WindowContext::WaitCursor(false);
  const std::vector<layout::CsvProblem>& problems = result.problems;
  if (!problems.empty()) {
    // Every refusal of the file at once, so that one round of mending
    // suffices; a long list is cut so that the message fits on the screen.
    constexpr std::size_t kShownProblems = 10;
    std::string text = Table().Line("GI_Mess_Csv_Refused", 0);
    for (std::size_t i = 0; i < problems.size() && i < kShownProblems; ++i) {
      const layout::CsvProblem& p = problems[i];
      const std::string line = std::to_string(p.line);
      text += "\n" +
              (p.column.empty()
                   ? cloneman::FormatTexts(Table().Line("GI_Mess_Csv_Refused", 1), {line, p.reason})
                   : cloneman::FormatTexts(Table().Line("GI_Mess_Csv_Refused", 2),
                                           {line, p.page, p.row, p.column, p.value, p.reason}));
    }
    if (problems.size() > kShownProblems)
      text += "\n" + cloneman::FormatText(Table().Line("GI_Mess_Csv_Refused", 3),
                                          std::to_string(problems.size() - kShownProblems));
    ShowError(text);
    return;
  }
  const std::string file = QFileInfo(QString::fromStdString(*path)).fileName().toStdString();
  if (copy->Working().Equals(documents_.Document().Working())) {
    status_.Show(result.kept.empty()
                     ? cloneman::FormatText(Table().Line("GI_Status_Imported", 1), file)
                     : cloneman::FormatTexts(Table().Text("GI_Status_Import_Kept"),
                                             {file, std::to_string(result.kept.size())}));
    return;
  }
  // Nothing is applied before the user has seen the list. The dialog is
  // window-modal, so the working image cannot change while it is open;
  // it is compared all the same, as an import onto another image would
  // undo that image's edits.
  if (importList_) importList_->close();
  importList_ = new cuiImportDialog(context_.form, Table(), file, result);
  const cmcEeprom seen(documents_.Document().Working());
  const std::size_t changed = result.changes.size();
  QObject::connect(importList_, &QDialog::accepted, importList_, [this, copy, seen, file, changed] {
    if (!documents_.Document().Working().Equals(seen)) {
      ShowError(cloneman::FormatText(Table().Text("GI_Mess_Csv_Stale"), file));
      return;
    }
    // A change not yet recorded stays a step of its own; the import is one.
    documents_.Document().ReplaceWorking(copy->Working());
    documents_.Document().UpdateModified();
    navigation_.CloseSheet();  // the page reopens fresh where the cursor was
    documents_.UpdateTitle();
    context_.bus.Send(ev::RebuildChannelNodes{});
    refresh_.Restart();
    status_.Show(cloneman::FormatTexts(Table().Line("GI_Status_Imported", 0),
                                       {file, std::to_string(changed)}));
  });
  QObject::connect(importList_, &QDialog::rejected, importList_, [this, file] {
    status_.Show(cloneman::FormatText(Table().Text("GI_Status_Import_Cancelled"), file));
  });
  // The keys go back to the page, as they went before the list opened.
  QObject::connect(importList_, &QDialog::finished, importList_, [this] {
    if (context_.form) context_.form->activateWindow();
  });
  importList_->open();
}

void TransferCommands::CompareWithFile() {
  context_.bus.Send(ev::CommitEditor{});
  cuiFileDialogs::Request request;
  request.directory = documents_.CurrentDirectory();
  request.extension = Table().Line("GI_Sys_Dialog_FOpen", 0);
  request.filter = Table().Line("GI_Sys_Dialog_FOpen", 1);
  const auto path = dialogs_.ChooseOpen(context_.form, request);
  if (!path) return;
  cmcDocument other;
  other.SetQuestions(&context_.questions);
  if (other.Open(*path) != CloneFileCode::kOk) return;  // its message is shown
  ShowComparison(other, QFileInfo(QString::fromStdString(*path)).fileName().toStdString());
}

void TransferCommands::CompareWithRadio() {
  if (documents_.Document().CloneMan().IsBusy() || radioCompare_) return;
  context_.bus.Send(ev::CommitEditor{});
  // The radio's image goes into a document of its own, through the read
  // every clone read takes (progress window and backup included).
  radioCompare_ = std::make_unique<cmcDocument>(documents_.Document().ModelType());
  indCloneMan& man = radioCompare_->CloneMan();
  man.SetProgressSink(context_.progress);
  man.SetPortNumber(ports_.CurrentPort());
  radioCompare_->SetMaker(context_.maker);
  radioCompare_->SetQuestions(&context_.questions);
  WindowContext::WaitCursor(true);
  const auto started = radioCompare_->CloneRead([this](CloneStatus status) {
    WindowContext::WaitCursor(false);
    // The document that calls this cannot go inside its own call.
    QTimer::singleShot(0, [this, status] { FinishRadioCompare(status); });
  });
  if (started != cmcDocument::kStarted) {
    WindowContext::WaitCursor(false);
    radioCompare_.reset();
  }
}

void TransferCommands::FinishRadioCompare(CloneStatus status) {
  const std::unique_ptr<cmcDocument> other = std::move(radioCompare_);
  if (!other) return;
  other->CloneMan().SetProgressSink(nullptr);
  // A failed read has shown its message.
  if (status == CloneStatus::kOk) ShowComparison(*other, Table().Text("GI_Dlg_Compare_Radio"));
}

void TransferCommands::ShowComparison(cmcDocument& other, const std::string& name) {
  const std::unique_ptr<cmcDocument> copy = WorkingCopy();
  WindowContext::WaitCursor(true);
  const layout::ImageDifferences differences = layout::DiffDocuments(
      {copy.get(), layout::ShownTreePages(Table(), navigation_.TreeState())},
      {&other,
       layout::ShownTreePages(Table(), {&other.Working(), other.ModelType(), context_.maker})},
      view_.UsableChannelsView());
  WindowContext::WaitCursor(false);
  if (compare_) compare_->close();
  compare_ = new cuiCompareDialog(context_.form, Table(), name, differences,
                                  [this](const std::string& reference, int row, int column) {
                                    navigation_.OpenCell(reference, row, column);
                                  });
}

}  // namespace shell
