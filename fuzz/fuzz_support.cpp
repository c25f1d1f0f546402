#include "fuzz_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <fstream>

#include "platform/fatal.h"
#include "platform/message_box.h"

namespace fuzz {
namespace {
class Silent : public platform::MessageResponder {
 public:
  int Show(const std::string&, const std::string&, unsigned) override { return platform::kIdOk; }
};
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
  static QTemporaryDir dir;
  const std::string path = dir.filePath(QString::fromStdString(name)).toStdString();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace fuzz
