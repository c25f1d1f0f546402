// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/csv_transfer.h"

#include <map>
#include <memory>
#include <optional>

#include "layout/installed_target.h"
#include "layout/laid_out_page.h"
#include "layout/typed_value.h"
#include "model/cell.h"
#include "model/clone_file.h"
#include "model/command_roles.h"
#include "model/command_target.h"
#include "model/evaluator.h"
#include "model/fcache.h"
#include "radio/document.h"
#include "text/gtex.h"
#include "text/input_file.h"

namespace layout {
namespace {

using text::CsvRecord;

// Remembers the chooser a cell asks for, where the window would open it.
class ChooserCapture : public NavigationRole {
 public:
  void OpenSheet(const std::string&) override {}
  void OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey, int) override {
    list = listKey;
    opener = capsule;
  }
  const void* MainMenu() const override { return nullptr; }
  int EditMenuItemCount() const override { return -1; }
  void OpenPortSelection(int) override {}
  void CloseMainWindow() override {}

  std::optional<std::string> list;
  cmcCellCapsule opener;
};

PageContext ContextOf(cmcDocument& document, bool usable) {
  PageContext context;
  context.image = &document.Working();
  context.modelType = document.ModelType();
  context.usableView = usable;
  return context;
}

class Importer {
 public:
  Importer(cmcDocument& document, ChooserCapture& chooser)
      : document_(document), chooser_(chooser) {}

  // "" when the cell now shows text, else why not.
  std::string Apply(LaidOutPage& page, int column, int row, const std::string& text) {
    cmcCellObj& cell = page.Layout().CellAt(column, row).cell;
    const std::string before = page.Text(column, row);
    const cmcEeprom image = document_.Working();
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
    if (ShowsTyped(after, text)) return {};
    if (document_.Working().Equals(image))
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
    const std::string wanted = Trimmed(text);
    // A list of commands (the attribute's "Make this the priority channel
    // (P)") is picked by the mark the cell then shows ("P").
    const std::string mark = "(" + wanted + ")";
    const auto marked = [&](const std::string& item) {
      return !wanted.empty() && item.size() > mark.size() &&
             item.compare(item.size() - mark.size(), mark.size(), mark) == 0;
    };
    std::string choices;
    const cmcFCacheList::Item* chosen = nullptr;
    for (const cmcFCacheList::Item& item : items.ByColumn()) {
      if (Trimmed(item.text) == wanted) {
        chosen = &item;
        break;
      }
      if (!chosen && marked(Trimmed(item.text))) chosen = &item;
      choices += (choices.empty() ? "'" : ", '") + item.text + "'";
    }
    if (!chosen) return "not one of the choices " + choices;
    cmcCellObj choice;
    choice.SetCell(Flex0);
    choice.SetNumber(chosen->value);
    cmcCellCapsule related;
    related.cell = &choice;
    cmcCellCapsule pick = chooser_.opener;
    pick.related = &related;
    pick.inputMode = cmcCellCapsule::kInputChoice;
    Evaluate(&context_, pick, false);
    return {};
  }

  cmcDocument& document_;
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

// The tree node that opens the page key, shown or not.
std::optional<TreePage> PageOf(const std::string& key) {
  for (const TreePage& node : TreeBodyPages(*gGTex)) {
    if (node.sheetKey == key) return node;
  }
  return std::nullopt;
}

// Matches the CSV's pages, columns and rows to the laid-out pages; the
// problem of the first record that the pages do not have, if any.
std::optional<CsvProblem> Plan(const std::vector<CsvRecord>& records, const PageContext& context,
                               std::vector<std::unique_ptr<LaidOutPage>>& pages,
                               std::vector<Change>& changes) {
  LaidOutPage* page = nullptr;
  std::vector<int> columns;  // page column of each CSV field
  std::map<std::string, std::vector<int>> rowsByCaption;
  std::map<std::string, std::size_t> used;
  bool header = false;
  for (const CsvRecord& record : records) {
    const auto refuse = [&](std::string reason) {
      CsvProblem problem;
      problem.line = record.line;
      problem.reason = std::move(reason);
      return problem;
    };
    if (IsBlank(record)) continue;
    if (IsPageRecord(record)) {
      const auto node = PageOf(record.fields[1]);
      if (!node) return refuse("there is no page " + text::Echoed(record.fields[1]));
      page = pages.emplace_back(std::make_unique<LaidOutPage>(*node, context)).get();
      header = true;
      rowsByCaption.clear();
      used.clear();
      for (int r = 1; r < page->Rows(); ++r) rowsByCaption[Trimmed(page->Text(0, r))].push_back(r);
      continue;
    }
    if (!page) return refuse("the CSV must begin with a \"Page,KEY,title\" record");
    if (header) {
      header = false;
      columns.clear();
      std::string known;
      for (int c = 0; c < page->Columns(); ++c)
        known += (c ? ", '" : "'") + Trimmed(page->Text(c, 0)) + "'";
      for (const std::string& field : record.fields) {
        int found = -1;
        const std::string caption = Trimmed(text::FromSpreadsheetText(field));
        for (int c = 0; c < page->Columns() && found < 0; ++c) {
          if (Trimmed(page->Text(c, 0)) == caption) found = c;
        }
        if (found < 0) {
          return refuse("unknown column '" + text::Echoed(field) + "' on " + page->Title() +
                        "; its columns are " + known);
        }
        columns.push_back(found);
      }
      if (columns.empty() || columns[0] != 0) {
        return refuse("the first column must be '" + Trimmed(page->Text(0, 0)) +
                      "', which names the rows");
      }
      continue;
    }
    if (record.fields.size() != columns.size()) {
      return refuse(std::to_string(record.fields.size()) + " fields where the header has " +
                    std::to_string(columns.size()));
    }
    // Rows that share a caption (unused channel slots) are taken in order.
    const std::string caption = Trimmed(text::FromSpreadsheetText(record.fields[0]));
    const auto rows = rowsByCaption.find(caption);
    std::size_t& n = used[caption];
    if (rows == rowsByCaption.end() || n >= rows->second.size())
      return refuse("no row '" + text::Echoed(caption) + "' on " + page->Title());
    const int row = rows->second[n++];
    for (std::size_t i = 1; i < columns.size(); ++i)
      changes.push_back(
          {page, record.line, columns[i], row, text::FromSpreadsheetText(record.fields[i])});
  }
  return std::nullopt;
}

// Which value of the CSV set each bit of the image so far. Two values on
// different lines that set the same bit differently cannot both stand (the
// later one would silently undo the earlier), so the import is refused
// with both lines named. Values of one record may share bits: the cells of
// one channel row are meant to be set together.
class BitOwners {
 public:
  explicit BitOwners(int size) : owner_(static_cast<std::size_t>(size) * 8, kNone) {}

  // Records what change index changed from previous to now; the earlier
  // change of another line whose bit it changed again, if any.
  const Change* Take(const cmcEeprom& previous, const cmcEeprom& now, std::size_t index,
                     const std::vector<Change>& changes) {
    const Change* clash = nullptr;
    for (int a = 0; a < now.Size() && a < previous.Size(); ++a) {
      const int flipped = previous.GetByte(a) ^ now.GetByte(a);
      for (int bit = 0; flipped != 0 && bit < 8; ++bit) {
        if ((flipped & (1 << bit)) == 0) continue;
        std::size_t& owner = owner_[static_cast<std::size_t>(a) * 8 + bit];
        if (!clash && owner != kNone && changes[owner].line != changes[index].line)
          clash = &changes[owner];
        owner = index;
      }
    }
    return clash;
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::vector<std::size_t> owner_;
};

}  // namespace

std::string ExportCsv(cmcDocument& document, const std::vector<TreePage>& pages, bool usableView) {
  const InstalledTarget installed(document, usableView);
  const PageContext context = ContextOf(document, usableView);
  std::string csv;
  for (const TreePage& node : pages) csv += CsvTable(LaidOutPage(node, context).Table());
  return csv;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  if (!text::IsFileTarget(path)) return false;
  const std::unique_ptr<cmcCloneSink> sink = MakeSaveFileSink();
  if (!sink->Open(path)) return false;
  if (!sink->Write(text)) {
    sink->Discard();
    return false;
  }
  return sink->Commit();
}

std::vector<CsvProblem> ImportCsv(cmcDocument& document, const std::vector<CsvRecord>& records,
                                  bool usableView) {
  ChooserCapture chooser;
  const InstalledTarget installed(document, usableView, &chooser);
  const cmcEeprom before = document.Working();
  std::vector<std::unique_ptr<LaidOutPage>> pages;
  std::vector<Change> changes;
  if (auto problem = Plan(records, ContextOf(document, usableView), pages, changes))
    return {*problem};

  // Judged against the image as it was: a cell that an earlier value of
  // the CSV changed as a side effect (the P mark moved away from it) would
  // otherwise be typed back, undoing that value.
  std::vector<bool> unchanged;
  unchanged.reserve(changes.size());
  for (const Change& change : changes) {
    unchanged.push_back(Trimmed(change.page->Text(change.column, change.row)) ==
                        Trimmed(change.text));
  }

  const auto problemOf = [](const Change& change, std::string reason) {
    LaidOutPage& page = *change.page;
    return CsvProblem{change.line,
                      page.Title(),
                      Trimmed(page.Text(0, change.row)),
                      Trimmed(page.Text(change.column, 0)),
                      text::Echoed(change.text),
                      std::move(reason)};
  };

  Importer importer(document, chooser);
  BitOwners owners(before.Size());
  std::vector<CsvProblem> problems;
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const Change& change = changes[i];
    // A value an earlier one brought about (the P mark cleared where it
    // moved away from) stands already; typing it could only do harm.
    if (unchanged[i] || ShowsTyped(change.page->Text(change.column, change.row), change.text)) continue;
    const cmcEeprom previous = document.Working();
    std::string reason = importer.Apply(*change.page, change.column, change.row, change.text);
    if (!reason.empty()) {
      problems.push_back(problemOf(change, std::move(reason)));
      continue;
    }
    if (const Change* earlier = owners.Take(previous, document.Working(), i, changes)) {
      problems.push_back(problemOf(
          change,
          "sets what line " + std::to_string(earlier->line) + " (" + earlier->page->Title() +
              ", row '" + Trimmed(earlier->page->Text(0, earlier->row)) + "', column '" +
              Trimmed(earlier->page->Text(earlier->column, 0)) + "') sets, to another value"));
    }
  }
  // Every value of the CSV must stand at the end, whatever else was typed.
  if (problems.empty()) {
    for (const Change& change : changes) {
      const std::string shown = change.page->Text(change.column, change.row);
      if (!ShowsTyped(shown, change.text)) {
        problems.push_back(
            problemOf(change, "another value of the CSV changed it: the cell would show '" +
                                  text::Echoed(Trimmed(shown)) + "'"));
      }
    }
  }
  if (!problems.empty()) document.Working() = before;
  return problems;
}

}  // namespace layout
