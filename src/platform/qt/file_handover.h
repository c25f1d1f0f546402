// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second start with a file hands the file to the copy that runs: the first
// copy listens on a local socket beside its single-instance lock (so it is
// per user, and a test's own lock folder gives it its own socket), a later
// copy connects, sends the absolute path and leaves.

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace platform {

class FileHandover : public QObject {
  Q_OBJECT
 public:
  // The socket for the lock folder folder (InstanceGuard::RuntimeFolder()).
  static QString SocketPath(const QString& folder);

  // Listens on the socket; one left behind by a copy that crashed is
  // replaced, which is safe only while the caller holds the lock.
  explicit FileHandover(const QString& socketPath, QObject* parent = nullptr);
  bool Listening() const { return server_.isListening(); }

  // Sends path, made absolute against the current folder, to the copy that
  // listens. The first copy may still be starting, so a refused connection
  // is tried again until waitMs has passed. False when nobody took it.
  static bool Send(const QString& socketPath, const QString& path, int waitMs = 3000);

 signals:
  // The absolute path that a later start was given.
  void FileReceived(const QString& path);

 private:
  void Accept();
  QLocalServer server_;
};

}  // namespace platform
