// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli export` and `import`: the pages as CSV, and a CSV put back
// into an image cell by cell through the same editors as typing in the
// window, so that every value meets the window's checks.

#include <QSaveFile>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/csv_records.h"
#include "cli/document_pages.h"
#include "cli/exit_status.h"
#include "cli/laid_out_page.h"
#include "model/cell.h"
#include "model/cell_names.h"
#include "model/command_roles.h"
#include "model/command_target.h"
#include "model/evaluator.h"
#include "model/fcache.h"
#include "text/gtex.h"

namespace cli {
namespace {

// Remembers the chooser a cell asks for, where the window would open it.
class ChooserCapture : public NavigationRole {
 public:
  void OpenSheet(const std::string&) override {}
  void OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey, int) override {
    list = listKey;
    opener = capsule;
  }
  std::intptr_t MainMenu() const override { return 0; }
  int EditMenuItemCount() const override { return -1; }
  void OpenPortSelection(int) override {}
  void CloseMainWindow() override {}

  std::optional<std::string> list;
  cmcCellCapsule opener;
};

void Fail(const std::string& text) { StandardError().Message("seaclone-cli: " + text); }

// A number and what follows it ("100 msec"), or none.
std::optional<std::pair<double, std::string>> Number(const std::string& text) {
  const std::string trimmed = Trimmed(text);
  if (trimmed.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (end == trimmed.c_str()) return std::nullopt;
  return std::make_pair(value, Trimmed(end));
}

// The cell shows what was asked: the same text, or the same number written
// with other digits ("156.8" for "156.80000"), its unit left off or not.
bool Shows(const std::string& shown, const std::string& wanted) {
  if (Trimmed(shown) == Trimmed(wanted)) return true;
  const auto s = Number(shown);
  const auto w = Number(wanted);
  return s && w && std::fabs(s->first - w->first) < 1e-9 &&
         (w->second.empty() || w->second == s->second);
}

class Importer {
 public:
  explicit Importer(DocumentPages& document, ChooserCapture& chooser)
      : document_(document), chooser_(chooser) {}

  // "" when the cell now shows text, else why not.
  std::string Apply(LaidOutPage& page, int column, int row, const std::string& text) {
    cmcCellObj& cell = page.Layout().CellAt(column, row).cell;
    const std::string before = page.Text(column, row);
    const cmcEeprom image = document_.Document().Working();
    // Enter first, as in the window: it opens the cell's editor or chooser,
    // or is refused by a cell that takes no value here.
    cmcCellCapsule enter = Capsule(page, cell);
    enter.action = editor::kActEnter;
    chooser_.list.reset();
    const EvalResult opened = Evaluate(&context_, enter, false);
    if (opened == EvalResult::kOpenEditor) {
      cmcCellCapsule typed = Capsule(page, cell);
      typed.inputMode = cmcCellCapsule::kInputText;
      typed.inputText = text;
      Evaluate(&context_, typed, false);
    } else if (opened == EvalResult::kChooserOpened && chooser_.list) {
      if (std::string refused = Pick(*chooser_.list, text); !refused.empty()) return refused;
    } else {
      return gGTex->Text("GI_Botttom_EditRestrected");
    }
    const std::string after = page.Text(column, row);
    if (Shows(after, text)) return {};
    if (document_.Document().Working().Equals(image))
      return "not taken; the cell keeps '" + Trimmed(before) + "'";
    return "not taken as it stands: the cell would show '" + Trimmed(after) + "'";
  }

 private:
  cmcCellCapsule Capsule(LaidOutPage& page, cmcCellObj& cell) {
    cmcCellCapsule capsule;
    capsule.owner = &page.Layout();
    capsule.cell = &cell;
    // Keys come from a grid; none is drawn, but the editors must see one.
    capsule.grid = &page;
    return capsule;
  }

  std::string Pick(const std::string& list, const std::string& text) {
    const cmcFCacheList& items = GetCommandTarget()->OptionCache().List(list, Flex0);
    std::string choices;
    for (const cmcFCacheList::Item& item : items.ByColumn()) {
      if (Trimmed(item.text) == Trimmed(text)) {
        cmcCellObj chosen;
        chosen.SetCell(Flex0);
        chosen.SetNumber(item.value);
        cmcCellCapsule related;
        related.cell = &chosen;
        cmcCellCapsule pick = chooser_.opener;
        pick.related = &related;
        pick.inputMode = cmcCellCapsule::kInputChoice;
        Evaluate(&context_, pick, false);
        return {};
      }
      choices += (choices.empty() ? "'" : ", '") + item.text + "'";
    }
    return "not one of the choices " + choices;
  }

  DocumentPages& document_;
  ChooserCapture& chooser_;
  indActiveCell context_;
};

// One value of the CSV and the cell it goes to.
struct Change {
  LaidOutPage* page;
  int line;
  int column;
  int row;
  std::string text;
};

bool IsPageRecord(const CsvRecord& record) {
  return record.fields.size() >= 2 && record.fields[0] == "Page";
}
bool IsBlank(const CsvRecord& record) {
  return record.fields.size() == 1 && record.fields[0].empty();
}

// Matches the CSV's pages, columns and rows to the laid-out pages; false,
// said on standard error, at the first that the pages do not have.
bool Plan(const std::vector<CsvRecord>& records, const layout::PageContext& context,
          std::vector<std::unique_ptr<LaidOutPage>>& pages, std::vector<Change>& changes) {
  LaidOutPage* page = nullptr;
  std::vector<int> columns;  // page column of each CSV field
  std::map<std::string, std::vector<int>> rowsByCaption;
  std::map<std::string, std::size_t> used;
  bool header = false;
  for (const CsvRecord& record : records) {
    const std::string at = "line " + std::to_string(record.line) + ": ";
    if (IsBlank(record)) continue;
    if (IsPageRecord(record)) {
      const auto node = DocumentPages::Page(record.fields[1]);
      if (!node) return Fail(at + "there is no page " + record.fields[1]), false;
      page = pages.emplace_back(std::make_unique<LaidOutPage>(*node, context)).get();
      header = true;
      rowsByCaption.clear();
      used.clear();
      for (int r = 1; r < page->Rows(); ++r) rowsByCaption[Trimmed(page->Text(0, r))].push_back(r);
      continue;
    }
    if (!page) return Fail(at + "the CSV must begin with a \"Page,KEY,title\" record"), false;
    if (header) {
      header = false;
      columns.clear();
      std::string known;
      for (int c = 0; c < page->Columns(); ++c)
        known += (c ? ", '" : "'") + Trimmed(page->Text(c, 0)) + "'";
      for (const std::string& field : record.fields) {
        int found = -1;
        for (int c = 0; c < page->Columns() && found < 0; ++c) {
          if (Trimmed(page->Text(c, 0)) == Trimmed(field)) found = c;
        }
        if (found < 0) {
          return Fail(at + "unknown column '" + field + "' on " + page->Title() +
                      "; its columns are " + known),
                 false;
        }
        columns.push_back(found);
      }
      if (columns.empty() || columns[0] != 0) {
        return Fail(at + "the first column must be '" + Trimmed(page->Text(0, 0)) +
                    "', which names the rows"),
               false;
      }
      continue;
    }
    if (record.fields.size() != columns.size()) {
      return Fail(at + std::to_string(record.fields.size()) + " fields where the header has " +
                  std::to_string(columns.size())),
             false;
    }
    // Rows that share a caption (unused channel slots) are taken in order.
    const std::string caption = Trimmed(record.fields[0]);
    const auto rows = rowsByCaption.find(caption);
    std::size_t& n = used[caption];
    if (rows == rowsByCaption.end() || n >= rows->second.size()) {
      return Fail(at + "no row '" + caption + "' on " + page->Title()), false;
    }
    const int row = rows->second[n++];
    for (std::size_t i = 1; i < columns.size(); ++i) {
      changes.push_back({page, record.line, columns[i], row, record.fields[i]});
    }
  }
  return true;
}

}  // namespace

int RunExport(const Options& options) {
  DocumentPages opened;
  if (const int status = opened.Open(options); status != kExitOk) return status;
  std::string csv;
  for (const layout::TreePage& node : opened.Pages())
    csv += CsvTable(LaidOutPage(node, opened.Context()).Table());
  // Written whole or not at all: a half CSV would import as a smaller one.
  QSaveFile out(QString::fromStdString(options.csv));
  if (!out.open(QIODevice::WriteOnly) ||
      out.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size()) ||
      !out.commit()) {
    Fail("cannot write " + options.csv);
    return ExitStatus(CloneFileCode::kFileAccess);
  }
  return kExitOk;
}

int RunImport(const Options& options) {
  std::string text;
  if (!ReadWhole(options.csv, text)) {
    Fail("cannot read " + options.csv);
    return ExitStatus(CloneFileCode::kFileOpen);
  }
  std::vector<CsvRecord> records;
  if (std::string error; !ReadCsv(text, records, error)) {
    Fail(options.csv + ", " + error);
    return kExitDataError;
  }
  ChooserCapture chooser;
  DocumentPages opened;
  Options open = options;
  open.page.clear();
  if (const int status = opened.Open(open, &chooser); status != kExitOk) return status;

  std::vector<std::unique_ptr<LaidOutPage>> pages;
  std::vector<Change> changes;
  if (!Plan(records, opened.Context(), pages, changes)) return kExitDataError;

  Importer importer(opened, chooser);
  bool refused = false;
  for (const Change& change : changes) {
    LaidOutPage& page = *change.page;
    // An unchanged value is left alone, so a round trip moves no byte.
    if (Trimmed(page.Text(change.column, change.row)) == Trimmed(change.text)) continue;
    const std::string reason = importer.Apply(page, change.column, change.row, change.text);
    if (reason.empty()) continue;
    refused = true;
    Fail("line " + std::to_string(change.line) + ", " + page.Title() + ", row '" +
         Trimmed(page.Text(0, change.row)) + "', column '" + Trimmed(page.Text(change.column, 0)) +
         "': '" + change.text + "': " + reason);
  }
  if (refused) return kExitDataError;
  return ExitStatus(opened.Document().SaveTo(options.output));
}

}  // namespace cli
