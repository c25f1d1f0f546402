// SPDX-License-Identifier: GPL-3.0-or-later
// The main controller's CSV export and import and its comparisons with a
// file and with the radio. The work is the core's; each runs on a
// document of its own, so the working image changes only by a whole import
// that succeeded, as one undo step.
#include <QFileInfo>
#include <QMainWindow>
#include <QTimer>
#include <QTreeWidget>

#include "base/events.h"
#include "base/evman.h"
#include "layout/csv_transfer.h"
#include "layout/page_diff.h"
#include "platform/message_box.h"
#include "radio/clone_man_message.h"
#include "shell/main_controller.h"
#include "shell/table_file_dialog.h"
#include "spreadsheet/table_file.h"
#include "text/csv_records.h"
#include "text/gtex.h"
#include "ui/compare_dialog.h"
#include "ui/import_dialog.h"
#include "ui/tree.h"

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

}  // namespace

std::unique_ptr<cmcDocument> cuiMain::WorkingCopy() const {
  auto copy = std::make_unique<cmcDocument>(doc_->ModelType());
  copy->Working().Assign(doc_->Working());
  copy->SetMaker(maker_);
  return copy;
}

cuiFileDialogs::Request cuiMain::CsvRequest() const {
  cuiFileDialogs::Request request;
  request.directory = currentDir_;
  request.extension = Table().Line("GI_Sys_Dialog_Table", 0);
  request.filter = Table().Line("GI_Sys_Dialog_Table", 1);
  return request;
}

void cuiMain::ShowError(const std::string& text) const {
  platform::ShowMessage(text, Table().Text("GI_Sys_AppTitle"),
                        platform::kMbOk | platform::kMbIconStop);
}

// Every page the tree shows: a spreadsheet user expects the whole radio in
// one file, and import takes back exactly what export wrote. The page open
// now would be a chance selection.
void cuiMain::ExportCsv() {
  bus_.Send(ev::CommitEditor{});
  cuiFileDialogs::Request request = CsvRequest();
  request.fileName =
      QFileInfo(QString::fromStdString(FileNamePart())).completeBaseName().toStdString();
  const auto path = dialogs_->ChooseSave(form_, request);
  if (!path) return;
  const std::unique_ptr<cmcDocument> copy = WorkingCopy();
  WaitCursor(true);
  const std::vector<layout::TreePage> pages =
      layout::SpreadsheetPages(layout::ShownTreePages(Table(), TreeState()));
  // The CSV text also gives the status line its counts, for either format.
  const std::string csv = layout::ExportCsv(*copy, pages, UsableChannelsView());
  const bool written = spreadsheet::WriteTableFile(*path, *copy, pages, UsableChannelsView());
  WaitCursor(false);
  if (!written) {
    ShowError(cloneman::FormatText(Table().Text("GI_Mess_Csv_CannotWrite"), *path));
    return;
  }
  const CsvCount count = CountCsvValues(csv);
  ShowStatus(
      cloneman::FormatTexts(Table().Text("GI_Status_Exported"),
                            {std::to_string(count.values), std::to_string(count.pages), *path}));
}

void cuiMain::ImportCsv() {
  bus_.Send(ev::CommitEditor{});
  const auto path = dialogs_->ChooseOpen(form_, CsvRequest());
  if (!path) return;
  std::vector<text::CsvRecord> records;
  if (std::string message; !shell::ReadTableFile(Table(), *path, records, message)) {
    ShowError(message);
    return;
  }
  std::shared_ptr<cmcDocument> copy = WorkingCopy();
  WaitCursor(true);
  const layout::CsvImportResult result =
      layout::ImportCsvListed(*copy, records, UsableChannelsView());
  WaitCursor(false);
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
  if (copy->Working().Equals(doc_->Working())) {
    ShowStatus(result.kept.empty()
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
  importList_ = new cuiImportDialog(form_, Table(), file, result);
  const cmcEeprom seen(doc_->Working());
  const std::size_t changed = result.changes.size();
  QObject::connect(importList_, &QDialog::accepted, importList_, [this, copy, seen, file, changed] {
    if (!doc_->Working().Equals(seen)) {
      ShowError(cloneman::FormatText(Table().Text("GI_Mess_Csv_Stale"), file));
      return;
    }
    // A change not yet recorded stays a step of its own; the import is one.
    doc_->ReplaceWorking(copy->Working());
    UpdateModified();
    DocumentChanged(kUndone);  // the page reopens fresh where the cursor was
    bus_.Send(ev::RebuildChannelNodes{});
    refresh_.emplace();
    refresh_->Start(250);
    ShowStatus(cloneman::FormatTexts(Table().Line("GI_Status_Imported", 0),
                                     {file, std::to_string(changed)}));
  });
  QObject::connect(importList_, &QDialog::rejected, importList_, [this, file] {
    ShowStatus(cloneman::FormatText(Table().Text("GI_Status_Import_Cancelled"), file));
  });
  // The keys go back to the page, as they went before the list opened.
  QObject::connect(importList_, &QDialog::finished, importList_, [this] {
    if (form_) form_->activateWindow();
  });
  importList_->open();
}

void cuiMain::CompareWithFile() {
  bus_.Send(ev::CommitEditor{});
  cuiFileDialogs::Request request;
  request.directory = currentDir_;
  request.extension = Table().Line("GI_Sys_Dialog_FOpen", 0);
  request.filter = Table().Line("GI_Sys_Dialog_FOpen", 1);
  const auto path = dialogs_->ChooseOpen(form_, request);
  if (!path) return;
  cmcDocument other;
  if (other.Open(*path) != CloneFileCode::kOk) return;  // its message is shown
  ShowComparison(other, QFileInfo(QString::fromStdString(*path)).fileName().toStdString());
}

void cuiMain::CompareWithRadio() {
  if (doc_->CloneMan().IsBusy() || radioCompare_) return;
  bus_.Send(ev::CommitEditor{});
  // The radio's image goes into a document of its own, through the read
  // every clone read takes (progress window and backup included).
  radioCompare_ = std::make_unique<cmcDocument>(doc_->ModelType());
  indCloneMan& man = radioCompare_->CloneMan();
  man.SetProgressSink(progress_);
  man.SetPortNumber(CurrentPort());
  radioCompare_->SetMaker(maker_);
  WaitCursor(true);
  const auto started = radioCompare_->CloneRead([this](CloneStatus status) {
    WaitCursor(false);
    // The document that calls this cannot go inside its own call.
    QTimer::singleShot(0, [this, status] { FinishRadioCompare(status); });
  });
  if (started != cmcDocument::kStarted) {
    WaitCursor(false);
    radioCompare_.reset();
  }
}

void cuiMain::FinishRadioCompare(CloneStatus status) {
  const std::unique_ptr<cmcDocument> other = std::move(radioCompare_);
  if (!other) return;
  other->CloneMan().SetProgressSink(nullptr);
  // A failed read has shown its message.
  if (status == CloneStatus::kOk) ShowComparison(*other, Table().Text("GI_Dlg_Compare_Radio"));
}

void cuiMain::ShowComparison(cmcDocument& other, const std::string& name) {
  const std::unique_ptr<cmcDocument> copy = WorkingCopy();
  WaitCursor(true);
  const layout::ImageDifferences differences = layout::DiffDocuments(
      {copy.get(), layout::ShownTreePages(Table(), TreeState())},
      {&other, layout::ShownTreePages(Table(), {&other.Working(), other.ModelType(), maker_})},
      UsableChannelsView());
  WaitCursor(false);
  if (compare_) compare_->close();
  compare_ = new cuiCompareDialog(form_, Table(), name, differences,
                                  [this](const std::string& reference, int row, int column) {
                                    OpenCell(reference, row, column);
                                  });
}

void cuiMain::OpenCell(const std::string& reference, int row, int column) {
  if (!tree_ || !tree_->Widget()) return;
  QTreeWidgetItem* node = tree_->FindNode(reference);
  if (!node) return;  // a page only the other image shows
  CloseSheet();
  // The page opens where its history says, so the cell goes there first.
  const std::string key = SheetKeyOf(reference);
  history_.remove_if([&](const HistoryEntry& e) { return e.key == key; });
  history_.push_front({key, column, row, 0, row > 3 ? row - 3 : 0});
  tree_->Widget()->setCurrentItem(node);
  if (form_) form_->activateWindow();
}
