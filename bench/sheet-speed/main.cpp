// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-bench-sheet-speed: builds the international channel sheet (the
// largest page) on the initial image of model type 0 and times, offscreen,
//   build + first paint, a full repaint, a scroll by one page;
// each as the median over the runs and as a fraction of a 16.7 ms frame.
//
//   seaclone-bench-sheet-speed [--runs N] [--screenshots DIR]
//
// With --screenshots it also saves the international channel page and the
// common settings page as PNG files in DIR. Exit status 0 when build + first
// paint fit in one frame and repaint and scroll in half a frame, else 1.

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/evman.h"
#include "model/cell_names.h"
#include "model/command_target.h"
#include "platform/paths.h"
#include "radio/document.h"
#include "radio/document_target.h"
#include "shell/icons.h"
#include "text/gtex.h"
#include "ui/grid.h"
#include "ui/image_list.h"
#include "ui/iui_sheet.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Ms(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

void Paint(cuiSheet& sheet, QImage& target) {
  QWidget* viewport = sheet.Grid()->viewport();
  viewport->render(&target);
}

std::unique_ptr<iuiSheet> Open(cmcEvMan& bus, QWidget& host, cmcGTex& table, const char* key,
                               const cuiImageList& images) {
  auto sheet = std::make_unique<iuiSheet>(bus, &host, nullptr, CL_NoCell, 0, table, key, &images);
  sheet->Build();
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 31;
  std::string shots;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
      runs = std::max(std::atoi(argv[++i]), 1);
    else if (!std::strcmp(argv[i], "--screenshots") && i + 1 < argc)
      shots = argv[++i];
  }
  // Column widths go to a settings store of the run's own.
  QTemporaryDir config;
  ::setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
  if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  cmcGTex table;
  cmcEvMan bus;  // the sheets talk to nobody here
  table.Bind(platform::DataDir() + "TB58.OVL");
  gGTex = &table;
  cmcDocument document(0);
  cmcDocumentTarget target(document);
  SetCommandTarget(&target.Commands());
  cuiImageList images(QSize(16, 16));
  FillImageList(images, kTreeIcons.data(), kTreeIcons.size(), IconFolder());

  QWidget host;
  host.resize(800, 600);
  host.show();
  QImage frame(host.size(), QImage::Format_ARGB32_Premultiplied);

  std::vector<double> first, repaint, scroll;
  for (int run = 0; run < runs; ++run) {
    QElapsedTimer timer;
    timer.start();
    auto sheet = Open(bus, host, table, "GI_Sheet_IntCh", images);
    Paint(*sheet, frame);
    first.push_back(Ms(timer));

    timer.restart();
    Paint(*sheet, frame);
    repaint.push_back(Ms(timer));

    cuiGrid& grid = *sheet->Grid();
    timer.restart();
    grid.SetTopLeft(grid.LeftCol(), grid.TopRow() + grid.VisibleRowCount());
    Paint(*sheet, frame);
    scroll.push_back(Ms(timer));
  }

  struct Figure {
    const char* name;
    double ms;
    double limit;  // in frames
  };
  const Figure figures[] = {
      {"build + first paint", Median(first), 1.0},
      {"full repaint", Median(repaint), 0.5},
      {"scroll by one page", Median(scroll), 0.5},
  };
  bool met = true;
  std::printf("GI_Sheet_IntCh, model type 0, %d runs, 800 x 600 offscreen\n", runs);
  for (const Figure& f : figures) {
    const double frames = f.ms / kFrameMs;
    std::printf("  %-20s median %7.3f ms  = %5.3f frame (target <= %.1f)\n", f.name, f.ms, frames,
                f.limit);
    met = met && frames <= f.limit;
  }

  if (!shots.empty()) {
    for (const char* key : {"GI_Sheet_IntCh", "GI_Sheet_Common_Common"}) {
      auto sheet = Open(bus, host, table, key, images);
      QApplication::processEvents();
      const std::string path = shots + "/" + key + ".png";
      host.grab().save(QString::fromStdString(path));
      std::printf("  saved %s\n", path.c_str());
    }
  }
  SetCommandTarget(nullptr);
  gGTex = nullptr;
  return met ? 0 : 1;
}
