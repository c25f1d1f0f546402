// SPDX-License-Identifier: GPL-3.0-or-later
// Columns wide enough for what they show: every page of the tree, maker
// pages included, at every display font size, with nothing stored yet.
#include "layout/tree_pages.h"
#include "support/text_fit_support.h"
#include "ui/real_pages_support.h"

namespace uitest {
namespace {

class ColumnsFit : public RealPages {
 protected:
  // A page as the main window opens it from its tree node.
  iuiSheet& OpenNode(const layout::TreePage& node) {
    sheet = std::make_unique<iuiSheet>(bus, &host, nullptr, CL_NoCell, 0, table, node.sheetKey,
                                       nullptr);
    sheet->SetSettingsKeyPath(keyPath);
    sheet->SetPageName(node.reference);
    if (const std::size_t comma = node.reference.find(','); comma != std::string::npos)
      sheet->SetExtraText(node.reference.substr(comma + 1));
    sheet->Build();
    return *sheet;
  }
};

TEST_F(ColumnsFit, EveryTextFitsItsColumnAtEveryFontSize) {
  for (int model : {0, 1}) {
    UseModel(model, false);
    for (int percentage : {75, 100, 125, 150, 200}) {
      target.fontSize = percentage;
      for (const layout::TreePage& node :
           layout::ShownTreePages(table, {&target.image, model, true})) {
        const std::string what = node.caption + " (model " + std::to_string(model) + ", " +
                                 std::to_string(percentage) + " %)";
        // A fresh store each time: stored widths are the user's, kept as they are.
        platform::OpenSettingsStore(keyPath)->clear();
        ExpectTextsFit(OpenNode(node), 4, what);
        sheet.reset();
      }
    }
  }
}

}  // namespace
}  // namespace uitest
