// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Notices when a sheet's grid has been painted, for the start-up and page
// switch timings: it watches every paint of a grid's viewport in the
// application and calls back once control is back in the event loop, so the
// painted frame has been handed on by then.

#include <QObject>
#include <functional>
#include <memory>

namespace shell {

class PaintWatch : public QObject {
 public:
  using Painted = std::function<void()>;
  // Watches the whole application until destroyed.
  explicit PaintWatch(Painted painted);
  ~PaintWatch() override;

  // Paints of a grid seen since the last call.
  bool TakePainted();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Painted painted_;
  bool seen_ = false;
  bool pending_ = false;
};

// With SEACLONE_REPORT_FIRST_PAINT set, the program writes
// "seaclone-first-paint <ns>" on standard output once its first sheet has
// been painted, <ns> being the monotonic clock (CLOCK_MONOTONIC) in
// nanoseconds; the start-up benchmark compares it with its own clock taken
// before it started the process. Returns the watch to keep alive, or null.
std::unique_ptr<PaintWatch> FirstPaintReport();

}  // namespace shell
