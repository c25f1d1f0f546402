// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/export_cells.h"

#include <algorithm>
#include <charconv>
#include <memory>

#include "layout/chooser_capture.h"
#include "layout/installed_target.h"
#include "layout/laid_out_page.h"
#include "model/cell.h"
#include "model/cell_names.h"
#include "model/command_target.h"
#include "model/evaluator.h"
#include "model/fcache.h"
#include "model/settings_cells.h"
#include "radio/document.h"

namespace layout {
namespace {

// Cells whose editor takes a number: a frequency, a byte, a scaled or whole
// setting. A name or an identity also takes digits, but as text.
bool TakesNumber(const cmcCellObj& cell) {
  switch (cell.Cell()) {
    case CL_Fch_FreqR:
    case CL_Fch_FreqT:
    case CL_Free_Byte_Dec: return true;
    default: break;
  }
  const settings::Rule* rule = settings::FindRule(cell.Cell());
  if (!rule) return false;
  switch (rule->kind) {
    case settings::Kind::Scaled:
    case settings::Kind::Integer:
    case settings::Kind::Drainbeat:
    case settings::Kind::ForcedTermination: return true;
    default: return false;
  }
}

class CellProbe {
 public:
  explicit CellProbe(cmcDocument& document) : document_(document) {}

  ExportCell Probe(LaidOutPage& page, int column, int row) {
    ExportCell out;
    out.text = page.Text(column, row);
    cmcCellObj& cell = page.Layout().CellAt(column, row).cell;
    cmcCellCapsule enter;
    enter.owner = &page.Layout();
    enter.cell = &cell;
    enter.grid = &page;
    enter.action = editor::kActEnter;
    chooser_.list.reset();
    // Enter as in the window, on a copy of the image: it only opens an
    // editor or a chooser on a value cell, but a command cell would act.
    const cmcEeprom image = document_.Working();
    const EvalResult opened = Evaluate(enter, false);
    if (!document_.Working().Equals(image)) document_.Working() = image;

    if (opened == EvalResult::kOpenEditor) {
      if (TakesNumber(cell) && PlainNumber(Trimmed(out.text))) out.kind = ExportKind::kNumber;
    } else if (opened == EvalResult::kChooserOpened && chooser_.list) {
      const cmcFCacheList& items = GetCommandTarget()->OptionCache().List(*chooser_.list, Flex0);
      std::vector<std::string> choices;
      for (const cmcFCacheList::Item& item : items.ByColumn()) {
        const std::string choice = Trimmed(item.text);
        if (!choice.empty() && std::find(choices.begin(), choices.end(), choice) == choices.end())
          choices.push_back(choice);
      }
      // A list of commands (make this the priority channel, inhibit) does
      // not hold what the cell shows: that cell stays plain text rather than
      // refuse the value it holds.
      if (std::find(choices.begin(), choices.end(), Trimmed(out.text)) != choices.end()) {
        out.kind = ExportKind::kChoice;
        out.choices = std::move(choices);
      }
    }
    return out;
  }

  ChooserCapture& Chooser() { return chooser_; }

 private:
  cmcDocument& document_;
  ChooserCapture chooser_;
};

}  // namespace

bool PlainNumber(const std::string& text, double* value) {
  if (text.empty()) return false;
  std::size_t i = text[0] == '-' ? 1 : 0;
  bool digit = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      digit = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (!digit) return false;
  double parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  if (value) *value = parsed;
  return true;
}

std::vector<ExportPage> ExportCells(cmcDocument& document, const std::vector<TreePage>& pages,
                                    bool usableView) {
  CellProbe probe(document);
  const InstalledTarget installed(document, usableView, &probe.Chooser());
  PageContext context;
  context.image = &document.Working();
  context.modelType = document.ModelType();
  context.usableView = usableView;
  std::vector<ExportPage> out;
  for (const TreePage& node : pages) {
    LaidOutPage page(node, context);
    ExportPage& sheet = out.emplace_back();
    sheet.key = page.Key();
    sheet.title = page.Title();
    for (int r = 0; r < page.Rows(); ++r) {
      auto& row = sheet.rows.emplace_back();
      for (int c = 0; c < page.Columns(); ++c) {
        if (r == 0 || c == 0) {
          row.push_back({Trimmed(page.Text(c, r)), ExportKind::kCaption, {}});
        } else {
          row.push_back(probe.Probe(page, c, r));
        }
      }
    }
  }
  return out;
}

}  // namespace layout
