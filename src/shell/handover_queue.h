// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files that later starts of the program hand over to the running
// window. Each is opened as File Open would (with the question about
// unsaved changes), in the order they came, but never while something
// holds the program: a dialog, a popup, an exchange with the radio or a
// print job. The progress window and the printing dialog are not modal, so
// the window asks the main controller as well; a file opened during a read
// would be replaced by the radio's image when the read ends, and during a
// write it would take the place of the image the user confirmed.

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QWidget;
class cuiMain;

namespace shell {

class HandoverQueue : public QObject {
 public:
  // How often a waiting file looks whether the program is free again.
  static constexpr int kRetryMs = 200;

  HandoverQueue(QWidget* form, cuiMain* main);

  // Queues path and opens what the program is free to open now.
  void Add(const QString& path);
  // The files still waiting.
  const QStringList& Waiting() const { return waiting_; }

 private:
  bool Held() const;
  void OpenWaiting();

  QPointer<QWidget> form_;
  cuiMain* main_;
  QStringList waiting_;
  QTimer retry_;
  bool opening_ = false;
};

}  // namespace shell
