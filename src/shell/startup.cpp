// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup.h"

#include <QFileInfo>
#include <QTimer>
#include <cstdlib>
#include <exception>

#include "base/evman.h"
#include "model/command_target.h"
#include "platform/instance_guard.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/qt/file_handover.h"
#include "platform/qt/qt_message_responder.h"
#include "platform/task_bar.h"
#include "settings/environ.h"
#include "shell/handover_queue.h"
#include "shell/ind_main.h"
#include "shell/main_form.h"
#include "shell/paint_watch.h"
#include "text/gtex.h"
#include "ui/message_box_questions.h"

namespace shell {
namespace {

// Test seams, read only by the automated tests of the real program: message
// boxes answered on standard error instead of shown (nobody can click them
// there), and the main window closed normally after the given milliseconds.
constexpr char kNonInteractiveVariable[] = "SEACLONE_NONINTERACTIVE";
constexpr char kCloseAfterVariable[] = "SEACLONE_TEST_CLOSE_MS";

QString HandoverSocket() {
  const std::string folder = platform::InstanceGuard::RuntimeFolder();
  return folder.empty() ? QString()
                        : platform::FileHandover::SocketPath(QString::fromStdString(folder));
}

void ShowException(const char* what) {
  platform::ShowMessage(what, platform::ExecutableFileName(),
                        platform::kMbOk | platform::kMbIconStop);
}

}  // namespace

bool HasMakerSwitch(const QStringList& arguments) {
  for (const QString& a : arguments)
    if (a.compare(QStringLiteral("/kelpish"), Qt::CaseInsensitive) == 0) return true;
  return false;
}

Globals::Globals(const QStringList& arguments)
    : Globals(arguments, indEnviron::kMutexName, indEnviron::kKeyPath) {}

Globals::Globals(const QStringList& arguments, const std::string& mutexName,
                 const std::string& keyPath)
    : maker_(HasMakerSwitch(arguments)) {
  environ_ = std::make_unique<indEnviron>(mutexName, keyPath);
  gEnviron = environ_.get();
  gtex_ = std::make_unique<cmcGTex>();
  gGTex = gtex_.get();
  helpGtex_ = std::make_unique<cmcGTex>();
  gHelpGTex = helpGtex_.get();
  evman_ = std::make_unique<cmcEvMan>();
  // A second copy builds nothing more: it leaves before any window.
  if (!FirstInstance()) return;
  questions_ = std::make_unique<MessageBoxQuestions>();
  previousQuestions_ = SetDefaultQuestions(questions_.get());
  main_ = std::make_unique<indMain>(*evman_, *questions_, arguments);
  SetCommandTarget(&main_->Commands());
}

Globals::~Globals() {
  // Reverse order of construction; each pointer is cleared before its
  // object goes, so nothing reaches a destroyed global.
  if (main_) SetCommandTarget(nullptr);
  main_.reset();
  if (questions_) SetDefaultQuestions(previousQuestions_);
  questions_.reset();
  evman_.reset();
  gHelpGTex = nullptr;
  helpGtex_.reset();
  gGTex = nullptr;
  gtex_.reset();
  gEnviron = nullptr;
  environ_.reset();
}

bool Globals::FirstInstance() const { return environ_->FirstInstance() == 1; }

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    ShowException("Unknown exception.");
  }
  return false;
}

QString FileArgument(const QStringList& arguments) {
  // A name relative to the folder the program was started in would be
  // remembered among the recent files as it stands, and found nowhere once
  // the program starts elsewhere.
  for (qsizetype i = 1; i < arguments.size(); ++i)
    if (!HasMakerSwitch({arguments[i]})) return QFileInfo(arguments[i]).absoluteFilePath();
  return {};
}

int RunMainWindow(QApplication& app, Globals& globals) {
  try {
    const auto firstPaint = FirstPaintReport();
    TForm1 form(&globals.Main());
    form.show();
    HandoverQueue handed(&form, &globals.Main());
    std::unique_ptr<platform::FileHandover> handover;
    if (const QString socket = HandoverSocket(); !socket.isEmpty()) {
      handover = std::make_unique<platform::FileHandover>(socket);
      QObject::connect(handover.get(), &platform::FileHandover::FileReceived, &form,
                       [&handed](const QString& path) { handed.Add(path); });
    }
    const QString file = FileArgument(QApplication::arguments());
    if (!file.isEmpty()) {
      QTimer::singleShot(
          0, &form, [&globals, file] { globals.Main().Documents().OpenFile(file.toStdString()); });
    }
    if (const char* ms = std::getenv(kCloseAfterVariable)) {
      QTimer::singleShot(std::atoi(ms), &form, &QWidget::close);
    }
    app.exec();
  } catch (const std::exception& e) {
    ShowException(e.what());
  } catch (...) {
    ShowException("Unknown exception.");
  }
  return 0;
}

int Main(int argc, char** argv) {
  Application app(argc, argv);
  // Outlives the globals, so that a fatal stop while they are destroyed
  // still has its message box.
  platform::QtMessageResponder responder;
  struct Installed {
    explicit Installed(platform::MessageResponder* r) {
      if (!std::getenv(kNonInteractiveVariable)) platform::SetMessageResponder(r);
    }
    ~Installed() { platform::SetMessageResponder(nullptr); }
  } installed(&responder);

  Globals globals(QApplication::arguments());
  platform::ShowTaskBar();
  // A second copy leaves before any window, writing nothing; a file it was
  // given goes to the copy that runs. Nothing is said when that fails: a
  // second start has always been silent.
  if (!globals.FirstInstance()) {
    const QString file = FileArgument(QApplication::arguments());
    if (const QString socket = HandoverSocket(); !file.isEmpty() && !socket.isEmpty())
      platform::FileHandover::Send(socket, file);
    return 0;
  }
  return RunMainWindow(app, globals);
}

}  // namespace shell
