// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli pages`: the pages of a clone data file as tables of the
// texts their cells show, laid out by the same page layer as the window.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/page_table.h"
#include "layout/page_context.h"
#include "layout/page_layout.h"
#include "layout/page_text.h"
#include "layout/tree_pages.h"
#include "model/command_roles.h"
#include "model/command_target.h"
#include "radio/document.h"
#include "radio/document_target.h"
#include "text/gtex.h"

namespace cli {
namespace {

// The view settings of a program without a window: the usable-channels
// view as the command line asks, the rest as the program starts.
class CommandLineView : public ViewSettingsRole {
 public:
  explicit CommandLineView(bool usable) : usable_(usable) {}
  int FontSize() const override { return 100; }
  void SetFontSize(int) override {}
  bool ToolBarVisible() const override { return true; }
  void ToggleToolBar() override {}
  bool UsableChannelsView() const override { return usable_; }

 private:
  bool usable_;
};

// The cells evaluate against this document while it lives.
class InstalledTarget {
 public:
  InstalledTarget(cmcDocument& document, bool usable)
      : target_(document),
        view_(usable),
        commands_(target_, {.view = &view_, .ports = &target_}),
        previous_(GetCommandTarget()) {
    SetCommandTarget(&commands_);
  }
  ~InstalledTarget() { SetCommandTarget(previous_); }
  InstalledTarget(const InstalledTarget&) = delete;
  InstalledTarget& operator=(const InstalledTarget&) = delete;

 private:
  cmcDocumentTarget target_;
  CommandLineView view_;
  CommandTarget commands_;
  CommandTarget* previous_;
};

PageTable TableOf(const layout::TreePage& node, const layout::PageContext& context) {
  layout::PageLayout page(*gGTex, node.sheetKey, context);
  page.SetPageReference(node.reference);
  page.Layout();
  layout::PageText text(page);
  PageTable table{node.sheetKey, page.Title().empty() ? node.caption : page.Title(), {}};
  table.rows.resize(static_cast<std::size_t>(page.RowCount()));
  for (int r = 0; r < page.RowCount(); ++r) {
    for (int c = 0; c < page.ColumnCount(); ++c) {
      table.rows[static_cast<std::size_t>(r)].push_back(
          {text.Show(c, r).text, page.CellAt(c, r).cell.HorizontalAlign()});
    }
  }
  return table;
}

// The tree node of --page, shown or not; none, said as a usage error, when
// no node opens that page.
std::optional<layout::TreePage> ChosenPage(const std::string& key) {
  const std::vector<layout::TreePage> nodes = layout::TreeBodyPages(*gGTex);
  std::string keys;
  for (const layout::TreePage& node : nodes) {
    if (node.sheetKey == key) return node;
    if (keys.find(node.sheetKey) == std::string::npos)
      keys += (keys.empty() ? "" : ", ") + node.sheetKey;
  }
  StandardError().Message("seaclone-cli: --page " + key + " names no page; the pages are " + keys +
                          "\n(try seaclone-cli --help)");
  return std::nullopt;
}

}  // namespace

int RunPages(const Options& options) {
  std::optional<layout::TreePage> chosen;
  if (!options.page.empty()) {
    chosen = ChosenPage(options.page);
    if (!chosen) return kExitUsage;
  }
  cmcDocument document;
  if (const int opened = OpenFile(options.file, document); opened != kExitOk) return opened;
  // The data stay as the file holds them; only the pages follow the model.
  if (options.model >= 0) document.ChangeModel(options.model, false);

  InstalledTarget target(document, options.usable);
  layout::PageContext context;
  context.image = &document.Working();
  context.modelType = document.ModelType();
  context.usableView = options.usable;
  const std::vector<layout::TreePage> pages =
      chosen ? std::vector<layout::TreePage>{*chosen}
             : layout::ShownTreePages(*gGTex,
                                      {&document.Working(), document.ModelType(), options.maker});

  for (std::size_t i = 0; i < pages.size(); ++i) {
    const PageTable table = TableOf(pages[i], context);
    std::string out = options.format == PageFormat::Csv ? CsvTable(table) : TextTable(table);
    if (options.format == PageFormat::Text && i + 1 < pages.size()) out += "\n";
    // A full disk or a closed pipe ends the listing; main reports it.
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size()) break;
  }
  return kExitOk;
}

}  // namespace cli
