// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/csv_transfer.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

#include "layout/chooser_capture.h"
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

// The maker's view of the raw bytes, which export leaves out.
constexpr const char* kMemoryViewKey = "GI_Sheet_Maker_Memory";

// The first character of text the radio's display has no sign for
// (anything but printable ASCII), whole as UTF-8; "" when there is none.
std::string UnshownCharacter(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 32 && byte <= 126) continue;
    std::size_t end = i + 1;
    while (byte >= 0xC0 && end < text.size() &&
           (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
      ++end;
    if (byte < 0xC0)
      return "\\x" + std::string(1, "0123456789ABCDEF"[byte >> 4]) + "0123456789ABCDEF"[byte & 15];
    return text.substr(i, end - i);
  }
  return {};
}

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
    const EvalResult opened = Evaluate(enter, false);
    if (opened == EvalResult::kOpenEditor) {
      cmcCellCapsule typed = Capsule(page, cell);
      typed.inputMode = cmcCellCapsule::kInputText;
      typed.inputText = text;
      Evaluate(typed, false);
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

  // As Apply, and a number with a decimal comma that the cell does not
  // take as it stands is typed again with a point: a name cell keeps the
  // comma, a frequency gets its number. A character the radio cannot show
  // is named as the reason.
  std::string Type(LaidOutPage& page, int column, int row, const std::string& text) {
    const cmcEeprom image = document_.Working();
    std::string reason = Apply(page, column, row, text);
    if (reason.empty()) return reason;
    if (const std::string point = WithDecimalPoint(text); !point.empty()) {
      document_.Working() = image;
      if (Apply(page, column, row, point).empty()) return {};
      document_.Working() = image;
      reason = Apply(page, column, row, text);
    }
    if (const std::string odd = UnshownCharacter(text); !odd.empty())
      reason = "the radio cannot show the character '" + odd + "'; " + reason;
    return reason;
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
    Evaluate(pick, false);
    return {};
  }

  cmcDocument& document_;
  ChooserCapture& chooser_;
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

// The fields of a record without the empty ones a spreadsheet pads every
// row with to the sheet's width.
std::vector<std::string> Padless(const CsvRecord& record) {
  std::vector<std::string> fields = record.fields;
  while (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
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
    const std::vector<std::string> fields = Padless(record);
    if (fields.empty()) continue;  // a blank line, or a row the spreadsheet left empty
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
      for (const std::string& field : fields) {
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
    if (fields.size() > columns.size()) {
      return refuse(std::to_string(fields.size()) + " fields where the captions name " +
                    std::to_string(columns.size()) + " columns; the last one is '" +
                    text::Echoed(fields.back()) + "'");
    }
    // Rows that share a caption (unused channel slots) are taken in order.
    const std::string caption = Trimmed(text::FromSpreadsheetText(fields[0]));
    const auto rows = rowsByCaption.find(caption);
    std::size_t& n = used[caption];
    if (rows == rowsByCaption.end() || n >= rows->second.size())
      return refuse("no row '" + text::Echoed(caption) + "' on " + page->Title());
    const int row = rows->second[n++];
    // A shorter row ends in the empty values the spreadsheet dropped.
    for (std::size_t i = 1; i < columns.size(); ++i) {
      const std::string value = i < fields.size() ? fields[i] : std::string();
      changes.push_back({page, record.line, columns[i], row, text::FromSpreadsheetText(value)});
    }
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

using PageTexts = std::vector<std::vector<std::string>>;

// What each cell of pages shows now.
std::vector<PageTexts> TextsOf(std::vector<std::unique_ptr<LaidOutPage>>& pages) {
  std::vector<PageTexts> texts;
  for (auto& page : pages) {
    PageTexts& rows = texts.emplace_back();
    for (int r = 0; r < page->Rows(); ++r) {
      std::vector<std::string>& row = rows.emplace_back();
      for (int c = 0; c < page->Columns(); ++c) row.push_back(page->Text(c, r));
    }
  }
  return texts;
}

std::size_t PageIndex(const std::vector<std::unique_ptr<LaidOutPage>>& pages,
                      const LaidOutPage* page) {
  std::size_t i = 0;
  while (i < pages.size() && pages[i].get() != page) ++i;
  return i;
}

// The cells of pages whose text is no longer what was shown, with the line
// of the value that names each. A page the CSV has twice lists its
// cells once.
std::vector<CsvChange> ChangedCells(std::vector<std::unique_ptr<LaidOutPage>>& pages,
                                    const std::vector<PageTexts>& shown,
                                    const std::vector<Change>& values) {
  std::vector<CsvChange> changed;
  std::vector<std::string> listed;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    LaidOutPage& page = *pages[p];
    if (std::find(listed.begin(), listed.end(), page.Key()) != listed.end()) continue;
    listed.push_back(page.Key());
    for (int r = 0; r < page.Rows(); ++r) {
      for (int c = 0; c < page.Columns(); ++c) {
        const std::string& was = shown[p][static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        std::string now = page.Text(c, r);
        if (now == was) continue;
        CsvChange change;
        change.page = page.Title();
        change.row = Trimmed(shown[p][static_cast<std::size_t>(r)][0]);
        change.column = Trimmed(shown[p][0][static_cast<std::size_t>(c)]);
        change.before = Trimmed(was);
        change.after = Trimmed(now);
        // The last value of the CSV for the cell, on any copy of the page.
        for (const Change& value : values) {
          if (value.page->Key() == page.Key() && value.row == r && value.column == c)
            change.line = value.line;
        }
        if (change.line != 0 && LooksLikeSpreadsheetDate(change.after))
          change.warning = "a spreadsheet may have made this time or date of what was typed";
        changed.push_back(std::move(change));
      }
    }
  }
  return changed;
}

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

std::vector<TreePage> SpreadsheetPages(const std::vector<TreePage>& pages) {
  std::vector<TreePage> kept;
  for (const TreePage& node : pages) {
    if (node.sheetKey != kMemoryViewKey) kept.push_back(node);
  }
  return kept;
}

std::vector<CsvProblem> ImportCsv(cmcDocument& document, const std::vector<CsvRecord>& records,
                                  bool usableView) {
  return ImportCsvListed(document, records, usableView).problems;
}

CsvImportResult ImportCsvListed(cmcDocument& document, const std::vector<CsvRecord>& records,
                                bool usableView) {
  CsvImportResult result;
  ChooserCapture chooser;
  const InstalledTarget installed(document, usableView, &chooser);
  const cmcEeprom before = document.Working();
  std::vector<std::unique_ptr<LaidOutPage>> pages;
  std::vector<Change> changes;
  if (auto problem = Plan(records, ContextOf(document, usableView), pages, changes)) {
    result.problems.push_back(*problem);
    return result;
  }
  const std::vector<PageTexts> shown = TextsOf(pages);

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
  std::vector<CsvProblem>& problems = result.problems;
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const Change& change = changes[i];
    // Judged against the image as it was: a cell that an earlier value of
    // the CSV changed as a side effect (the P mark moved away from it) would
    // otherwise be typed back, undoing that value.
    const std::string& was =
        shown[PageIndex(pages, change.page)][static_cast<std::size_t>(change.row)]
             [static_cast<std::size_t>(change.column)];
    if (Trimmed(was) == Trimmed(change.text)) continue;
    // The same number written otherwise is how a spreadsheet saves what it
    // took for a number ("06" as "6"): the cell's text stands, and is said.
    if (ShowsTyped(was, change.text)) {
      result.kept.push_back({change.line, change.page->Title(),
                             Trimmed(change.page->Text(0, change.row)),
                             Trimmed(change.page->Text(change.column, 0)), Trimmed(was),
                             text::Echoed(Trimmed(change.text))});
      continue;
    }
    // A value an earlier one brought about (the P mark cleared where it
    // moved away from) stands already; typing it could only do harm.
    if (ShowsTyped(change.page->Text(change.column, change.row), change.text)) continue;
    const cmcEeprom previous = document.Working();
    std::string reason = importer.Type(*change.page, change.column, change.row, change.text);
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
      const std::string now = change.page->Text(change.column, change.row);
      if (!ShowsTyped(now, change.text)) {
        problems.push_back(
            problemOf(change, "another value of the CSV changed it: the cell would show '" +
                                  text::Echoed(Trimmed(now)) + "'"));
      }
    }
  }
  if (!problems.empty()) {
    document.Working() = before;
    result.kept.clear();
    return result;
  }
  result.changes = ChangedCells(pages, shown, changes);
  return result;
}

}  // namespace layout
