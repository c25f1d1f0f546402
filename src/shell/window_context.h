// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the parts of the main controller share, owned by the controller and
// handed to each part by reference: the event bus, the main window once it
// is built with its image lists, the progress window of the exchanges, the
// questions and messages of the core (message boxes), and whether maker
// mode is on (the document and the write ranges follow it).

#include <QMainWindow>
#include <QPointer>
#include <functional>

class cmcEvMan;
class cmcGTex;
class cmcProgressSink;
class cuiImageList;
class UserQuestions;

namespace shell {

struct WindowContext {
  WindowContext(cmcEvMan& events, UserQuestions& user) : bus(events), questions(user) {}

  // The main text table (bound by the controller).
  static cmcGTex& Table();
  // The wait cursor over the whole application while a command works.
  static void WaitCursor(bool on);

  cmcEvMan& bus;
  UserQuestions& questions;
  QPointer<QMainWindow> form;  // null until the window is built and once it goes
  cuiImageList* treeImages = nullptr;
  cuiImageList* barImages = nullptr;
  cmcProgressSink* progress = nullptr;
  bool maker = false;
  // Whether an exchange or print job is under way (the owner knows them
  // all): nothing that would change the image or take the port starts then.
  std::function<bool()> busy;
  // Port > Find the Radio, offered by a clone command whose radio did not
  // answer (the navigation opens it).
  std::function<void()> findRadio;
  bool Busy() const { return busy && busy(); }
};

}  // namespace shell
