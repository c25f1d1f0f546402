// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/fatal.h"
#include "platform/message_box.h"
#include "text/gtex.h"

namespace fuzz {
namespace {
class Silent : public platform::MessageResponder {
 public:
  int Show(const std::string&, const std::string&, unsigned) override { return platform::kIdOk; }
};

QTemporaryDir& TempDir() {
  static QTemporaryDir dir;
  return dir;
}
}  // namespace

void Init() {
  static bool done = false;
  if (done) return;
  done = true;
  static Silent silent;
  platform::SetMessageResponder(&silent);
  platform::SetFatalHandler([](const std::string& text) { throw platform::FatalStop(text); });
}

std::string WriteTempFile(const std::string& name, const uint8_t* data, size_t size) {
  const std::string path = TempDir().filePath(QString::fromStdString(name)).toStdString();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

cmcGTex& MainOverlay() {
  static cmcGTex* table = [] {
    // Same assembly as cmake/ConcatOverlay.cmake: fragments in name order,
    // each ending in a line feed, then the end key.
    QDir fragments(QStringLiteral(SEACLONE_SOURCE_DIR "/data/overlay/main"));
    std::string content;
    for (const QString& name :
         fragments.entryList({QStringLiteral("*.ovl")}, QDir::Files, QDir::Name)) {
      std::ifstream in(fragments.filePath(name).toStdString(), std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      std::string part = text.str();
      if (!part.empty() && part.back() != '\n') part += '\n';
      content += part;
    }
    content += "#End_Of_Ovl\n";
    const std::string path =
        WriteTempFile("TB58.OVL", reinterpret_cast<const uint8_t*>(content.data()), content.size());
    auto* t = new cmcGTex;
    if (!t->Bind(path)) Finding("cannot bind the assembled overlay");
    return t;
  }();
  gGTex = table;
  return *table;
}

void Finding(const char* what) {
  std::fprintf(stderr, "FINDING: %s\n", what);
  std::abort();
}

}  // namespace fuzz
