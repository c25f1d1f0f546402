// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document and the pages that `pages` and `print` lay out: FILE opened
// with the program's checks, laid out for --model, its command target
// installed so that the cells evaluate against it, and the page of --page or
// every page the program's tree shows for it, in tree order.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "layout/page_context.h"
#include "layout/tree_pages.h"
#include "radio/document.h"

namespace layout {
class InstalledTarget;
}

namespace cli {

class DocumentPages {
 public:
  DocumentPages();
  ~DocumentPages();
  DocumentPages(const DocumentPages&) = delete;
  DocumentPages& operator=(const DocumentPages&) = delete;

  // kExitOk, or the exit status of the failure (said on standard error).
  int Open(const Options& options);
  // The same for the image read from the radio of --port or --device.
  int OpenRadio(const Options& options);

  cmcDocument& Document() { return document_; }
  const std::vector<layout::TreePage>& Pages() const { return pages_; }
  // What a page reads while it lays out, for this document.
  const layout::PageContext& Context() const { return context_; }

 private:
  void Install(const Options& options, std::optional<layout::TreePage> chosen);

  cmcDocument document_;
  std::unique_ptr<layout::InstalledTarget> target_;
  std::vector<layout::TreePage> pages_;
  layout::PageContext context_;
};

}  // namespace cli
