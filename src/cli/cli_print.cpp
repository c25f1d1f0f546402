// SPDX-License-Identifier: GPL-3.0-or-later
// `seaclone-cli print`: the pages of a clone data file into a PDF file,
// painted by the same printout as the program's File > Print.

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "base/evman.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/document_pages.h"
#include "cli/exit_status.h"
#include "model/clone_file.h"
#include "output/sheet_printout.h"
#include "platform/file_sync.h"
#include "text/gtex.h"
#include "text/input_file.h"
#include "ui/image_list.h"

namespace cli {
namespace {

constexpr int kPdfResolution = 600;

int Refuse(const std::string& pdf, const std::string& why, CloneFileCode code) {
  StandardError().Message("seaclone-cli: cannot write " + pdf + ": " + why);
  return ExitStatus(code);
}

// Whether the file at path is a whole PDF that reached the disk. The PDF
// writer does not report a full disk, but a PDF that was cut short lacks
// the end-of-file mark it writes last.
bool Complete(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (!file) return false;
  constexpr long kTail = 32;
  char tail[kTail + 1] = "";
  bool whole = false;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long size = std::ftell(file);
    const long from = size > kTail ? size - kTail : 0;
    if (size > 0 && std::fseek(file, from, SEEK_SET) == 0) {
      const std::size_t n = std::fread(tail, 1, static_cast<std::size_t>(size - from), file);
      tail[n] = '\0';
      whole = std::strstr(tail, "%%EOF") != nullptr;
    }
  }
  whole = whole && platform::SyncToDisk(file);
  return std::fclose(file) == 0 && whole;
}

// A new empty file beside target that nobody else has, made as any new
// file of the user (the folder's and umask's permissions); "" when the
// folder takes no new file.
std::string NewFileBeside(const std::filesystem::path& target) {
  std::random_device seed;
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::filesystem::path path = target;
    path.replace_filename("." + target.filename().string() + "." +
                          std::to_string(seed() % 1000000) + ".tmp");
    if (std::FILE* file = platform::CreateNewFile(path)) {
      std::fclose(file);
      return path.string();
    }
    if (errno != EEXIST) break;
  }
  return {};
}

// Removes the file at path on the way out unless kept.
struct Scratch {
  std::string path;
  bool keep = false;
  ~Scratch() {
    std::error_code error;
    if (!keep && !path.empty()) std::filesystem::remove(path, error);
  }
};

}  // namespace

int RunPrint(const Options& options) {
  // A device node or FIFO given as OUT.pdf is left alone, not replaced.
  if (!text::IsFileTarget(options.pdf))
    return Refuse(options.pdf, "it is not a regular file", CloneFileCode::kFileOpen);
  DocumentPages opened;
  if (const int status = opened.Open(options); status != kExitOk) return status;

  // The PDF is written beside its target and moved into place only when
  // whole, so that a failure keeps the old file as it was.
  errno = 0;
  Scratch temporary{NewFileBeside(std::filesystem::path(options.pdf))};
  if (temporary.path.empty()) {
    return Refuse(options.pdf, errno != 0 ? std::strerror(errno) : "no file can be made there",
                  CloneFileCode::kFileAccess);
  }
  const std::string& written = temporary.path;

  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setResolution(kPdfResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setFullPage(true);
  printer.setCreator(QString::fromStdString(gGTex->Line("GI_Sys_AppTitle", 0)));
  printer.setOutputFileName(QFile::decodeName(written.c_str()));

  output::PrintSetup setup;
  setup.dpi = printer.logicalDpiY();
  setup.pageWidth = printer.width();
  setup.pageHeight = printer.height();
  setup.margins = output::MarginRect(output::ParseMargins(gGTex->Line("GI_Sys_Printer_Margins", 0)),
                                     setup.dpi, setup.pageWidth, setup.pageHeight);
  setup.fontPoints = options.fontSize;
  // Printed marks are drawn as shapes; the list only has to be there.
  const cuiImageList marks;
  cmcEvMan bus;  // the sheets' bus: nothing else listens here
  const output::PrintSource source{gGTex, &marks, nullptr, {}, &bus};

  QPainter painter;
  if (!painter.begin(&printer))
    return Refuse(options.pdf, "the PDF could not be started", CloneFileCode::kFileAccess);
  bool started = false;
  for (const layout::TreePage& sheet : opened.Pages()) {
    output::SheetPrintout printout(source, sheet, setup);
    for (const output::PrintedPage& page : printout.Pages()) {
      if (started && !printer.newPage())
        return Refuse(options.pdf, "a new page could not be started", CloneFileCode::kFileAccess);
      started = true;
      printout.Paint(painter, page);
    }
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error || !Complete(written))
    return Refuse(options.pdf, "the PDF could not be written whole (is the disk full?)",
                  CloneFileCode::kFileAccess);
  std::error_code error;
  if (!platform::MoveIntoPlace(std::filesystem::path(written), std::filesystem::path(options.pdf),
                               error))
    return Refuse(options.pdf, error.message(), CloneFileCode::kFileAccess);
  temporary.keep = true;
  return kExitOk;
}

}  // namespace cli
