// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/document_pages.h"

#include <optional>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "model/command_roles.h"
#include "model/command_target.h"
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

// The cells evaluate against this document while it lives.
class InstalledTarget {
 public:
  InstalledTarget(cmcDocument& document, bool usable, NavigationRole* navigation)
      : target_(document),
        view_(usable),
        commands_(target_, {.view = &view_, .ports = &target_, .navigation = navigation}),
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

DocumentPages::DocumentPages() = default;
DocumentPages::~DocumentPages() = default;

int DocumentPages::Open(const Options& options, NavigationRole* navigation) {
  std::optional<layout::TreePage> chosen;
  if (!options.page.empty()) {
    chosen = ChosenPage(options.page);
    if (!chosen) return kExitUsage;
  }
  if (const int opened = OpenFile(options.file, document_); opened != kExitOk) return opened;
  Install(options, std::move(chosen), navigation);
  return kExitOk;
}

void DocumentPages::Install(const Options& options, std::optional<layout::TreePage> chosen,
                            NavigationRole* navigation) {
  // The data stay as the file holds them; only the pages follow the model.
  if (options.model >= 0) document_.ChangeModel(options.model, false);

  target_ = std::make_unique<InstalledTarget>(document_, options.usable, navigation);
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
  Install(options, std::move(chosen), nullptr);
  return kExitOk;
}

std::optional<layout::TreePage> DocumentPages::Page(const std::string& key) {
  for (const layout::TreePage& node : layout::TreeBodyPages(*gGTex)) {
    if (node.sheetKey == key) return node;
  }
  return std::nullopt;
}

}  // namespace cli
