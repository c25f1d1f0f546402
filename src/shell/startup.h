// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The life of the process: the global objects that exist for all of it,
// built right after the Qt application object (screens can be asked only
// once it exists) in this order and destroyed in the reverse one:
//   1. the environment (single instance and settings)   gEnviron
//   2. the main text table                              gGTex
//   3. the help text table                              gHelpGTex
//   4. the event bus                                    Bus()
//   5. the core's questions, as message boxes           DefaultQuestions()
//   6. the main controller                              Main()
// The bus is no global: the main controller gets it by reference and hands
// it to every view it builds. The questions are given to the main
// controller the same way; they are also installed as the default for the
// documents the window does not make itself (those of a fleet run).
// The environment goes last, so the settings that the main controller puts
// back while the window closes are the ones written.

#include <QApplication>
#include <QStringList>
#include <memory>
#include <string>

class indEnviron;
class cmcGTex;
class cmcEvMan;
class indMain;
class MessageBoxQuestions;
class UserQuestions;

namespace shell {

// The maker switch: an argument "/kelpish" in any letter case.
bool HasMakerSwitch(const QStringList& arguments);

class Globals {
 public:
  // Builds the globals and sets the g* pointers; mutexName and keyPath are
  // those of the environment (the product's by default).
  explicit Globals(const QStringList& arguments);
  Globals(const QStringList& arguments, const std::string& mutexName, const std::string& keyPath);
  ~Globals();
  Globals(const Globals&) = delete;
  Globals& operator=(const Globals&) = delete;

  // False for a second copy of the program, which must leave at once.
  bool FirstInstance() const;
  // The maker switch was given; the main window turns maker mode on.
  bool MakerSwitch() const { return maker_; }
  // The main controller; its command roles are the installed command target.
  indMain& Main() { return *main_; }
  cmcEvMan& Bus() { return *evman_; }

 private:
  bool maker_ = false;
  std::unique_ptr<indEnviron> environ_;
  std::unique_ptr<cmcGTex> gtex_;
  std::unique_ptr<cmcGTex> helpGtex_;
  std::unique_ptr<cmcEvMan> evman_;
  std::unique_ptr<MessageBoxQuestions> questions_;
  UserQuestions* previousQuestions_ = nullptr;
  std::unique_ptr<indMain> main_;
};

// A Qt application that shows an exception escaping one event in a message
// box and goes on: one failed command must not take the user's unsaved
// image down with the whole program.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Creates the main form, shows it and runs the message loop until it
// closes; an exception that escapes is shown once. A file named on the
// command line is opened once the window stands, and so is a file that a
// later start hands over. Returns the exit status.
int RunMainWindow(QApplication& app, Globals& globals);

// The first argument after the program that is not the maker switch: the
// clone data file to open at start, as an absolute path.
QString FileArgument(const QStringList& arguments);

// The whole program below main(): builds the globals, leaves at once when
// another copy runs (handing it the file argument, if any), else runs the
// main window.
int Main(int argc, char** argv);

}  // namespace shell
