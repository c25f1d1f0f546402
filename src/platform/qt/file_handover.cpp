// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/file_handover.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <memory>

namespace platform {
namespace {
// Nobody sends more than a file name; a peer that sends more is cut off.
constexpr qsizetype kMaxPath = 64 * 1024;
constexpr int kPeerMs = 2000;
}  // namespace

QString FileHandover::SocketPath(const QString& folder) {
  return QDir(folder).filePath(QStringLiteral("seaclone-open.socket"));
}

FileHandover::FileHandover(const QString& socketPath, QObject* parent) : QObject(parent) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_.listen(socketPath)) {
    QLocalServer::removeServer(socketPath);
    server_.listen(socketPath);
  }
  connect(&server_, &QLocalServer::newConnection, this, &FileHandover::Accept);
}

void FileHandover::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    // The sender closes once it has written the path, so the path is whatever
    // came before the close: any byte a file name may hold, new lines too.
    auto received = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, this, [socket, received] {
      *received += socket->readAll();
      if (received->size() > kMaxPath) socket->abort();
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
      *received += socket->readAll();
      const QString path = received->size() <= kMaxPath ? QFile::decodeName(*received) : QString();
      socket->deleteLater();
      if (!path.isEmpty() && QFileInfo(path).isAbsolute()) emit FileReceived(path);
    });
    // A peer that never closes is not kept for ever.
    QTimer::singleShot(kPeerMs, socket, &QLocalSocket::abort);
  }
}

bool FileHandover::Send(const QString& socketPath, const QString& path, int waitMs) {
  const QByteArray bytes = QFile::encodeName(QFileInfo(path).absoluteFilePath());
  QDeadlineTimer deadline(waitMs);
  do {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
      socket.write(bytes);
      if (!socket.waitForBytesWritten(kPeerMs)) return false;
      socket.disconnectFromServer();
      return socket.state() == QLocalSocket::UnconnectedState ||
             socket.waitForDisconnected(kPeerMs);
    }
    QThread::msleep(50);
  } while (!deadline.hasExpired());
  return false;
}

}  // namespace platform
