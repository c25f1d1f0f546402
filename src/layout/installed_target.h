// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A document's cells evaluating against it rather than against whatever
// target was installed: the command-line tool lays out its documents so,
// and the window its second documents (the other side of a comparison, an
// import before it is applied). The target installed before comes back when
// this goes, so these nest.

#include <memory>

class cmcDocument;
class NavigationRole;

namespace layout {

class InstalledTarget {
 public:
  // usable: the usable-channels view, as the pages should show it.
  // navigation: where the cells' choosers open (an import picks from them).
  InstalledTarget(cmcDocument& document, bool usable, NavigationRole* navigation = nullptr);
  ~InstalledTarget();
  InstalledTarget(const InstalledTarget&) = delete;
  InstalledTarget& operator=(const InstalledTarget&) = delete;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace layout
