// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/document_pages.h"

#include <optional>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "layout/installed_target.h"
#include "text/gtex.h"

namespace cli {
namespace {

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

DocumentPages::DocumentPages() = default;
DocumentPages::~DocumentPages() = default;

int DocumentPages::Open(const Options& options) {
  std::optional<layout::TreePage> chosen;
  if (!options.page.empty()) {
    chosen = ChosenPage(options.page);
    if (!chosen) return kExitUsage;
  }
  if (const int opened = OpenFile(options.file, document_); opened != kExitOk) return opened;
  Install(options, std::move(chosen));
  return kExitOk;
}

void DocumentPages::Install(const Options& options, std::optional<layout::TreePage> chosen) {
  // The data stay as the file holds them; only the pages follow the model.
  if (options.model >= 0) document_.ChangeModel(options.model, false);

  target_ = std::make_unique<layout::InstalledTarget>(document_, options.usable);
  context_.image = &document_.Working();
  context_.modelType = document_.ModelType();
  context_.usableView = options.usable;
  pages_ = chosen ? std::vector<layout::TreePage>{*chosen}
                  : layout::ShownTreePages(
                        *gGTex, {&document_.Working(), document_.ModelType(), options.maker});
}

int DocumentPages::OpenRadio(const Options& options) {
  std::optional<layout::TreePage> chosen;
  if (!options.page.empty()) {
    chosen = ChosenPage(options.page);
    if (!chosen) return kExitUsage;
  }
  if (const int read = ReadRadio(options, document_); read != kExitOk) return read;
  Install(options, std::move(chosen));
  return kExitOk;
}

}  // namespace cli
