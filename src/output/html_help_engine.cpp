// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/html_help_engine.h"

#include <QFileInfo>
#include <QTemporaryDir>

#ifdef SEACLONE_HAVE_QT_HELP
#include <QHelpEngine>
#include <QHelpLink>
#endif

namespace helpview {

QString ContextIdentifier(int number) { return QStringLiteral("context.%1").arg(number); }

#ifdef SEACLONE_HAVE_QT_HELP

Engine::Engine() : folder_(std::make_unique<QTemporaryDir>()) {
  if (!folder_->isValid()) return;
  auto engine = std::make_unique<QHelpEngine>(folder_->filePath(QStringLiteral("seaclone.qhc")));
  engine->setReadOnly(false);
  // setupData fails when the SQLite driver the help module stores its
  // collection in cannot be loaded: help is then unavailable, not broken.
  if (!engine->setupData()) return;
  engine_ = std::move(engine);
}

Engine::~Engine() = default;

bool Engine::Open(const std::string& path) {
  if (!engine_) return false;
  if (!namespace_.isEmpty() && path == path_ && QFileInfo::exists(QString::fromStdString(path)))
    return true;
  const QString file = QFileInfo(QString::fromStdString(path)).absoluteFilePath();
  if (!QFileInfo(file).isFile()) return false;
  const QString name = QHelpEngineCore::namespaceName(file);
  if (name.isEmpty()) return false;
  if (!namespace_.isEmpty() && namespace_ != name) engine_->unregisterDocumentation(namespace_);
  if (engine_->registeredDocumentations().contains(name)) engine_->unregisterDocumentation(name);
  if (!engine_->registerDocumentation(file)) return false;
  path_ = path;
  namespace_ = name;
  return true;
}

QUrl Engine::Topic(int number) const {
  if (!engine_ || namespace_.isEmpty()) return {};
  const QList<QHelpLink> links = engine_->documentsForIdentifier(ContextIdentifier(number));
  return links.isEmpty() ? QUrl() : links.first().url;
}

QUrl Engine::Home() const {
  if (namespace_.isEmpty()) return {};
  return QUrl(QStringLiteral("qthelp://%1/doc/index.html").arg(namespace_));
}

QByteArray Engine::FileData(const QUrl& url) const {
  return engine_ ? engine_->fileData(url) : QByteArray();
}

#else

// Never made: the engine is never loaded without the module.
class QHelpEngine {};

Engine::Engine() = default;
Engine::~Engine() = default;
bool Engine::Open(const std::string&) { return false; }
QUrl Engine::Topic(int) const { return {}; }
QUrl Engine::Home() const { return {}; }
QByteArray Engine::FileData(const QUrl&) const { return {}; }

#endif

}  // namespace helpview
