// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window as the program builds it, on the shipped overlay and
// initial images, with real widgets and files in a temporary folder; the
// user's answers come from a scripted message responder and file dialogs.
#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMenuBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <deque>

#include "base/events.h"
#include "base/evman.h"
#include "layout/tree_pages.h"
#include "model/cell_names.h"
#include "model/evaluator.h"
#include "model/memory_map.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/recording_responder.h"
#include "platform/virtual_timer_service.h"
#include "settings/environ.h"
#include "shell/file_dialogs.h"
#include "shell/ind_main.h"
#include "shell/main_form.h"
#include "shell/startup.h"
#include "shell/status_bar.h"
#include "support/environ_support.h"
#include "text/gtex.h"
#include "ui/cell_editor.h"
#include "ui/grid.h"
#include "ui/menu.h"
#include "ui/sheet.h"
#include "ui/tool_bar.h"
#include "ui/tree.h"

namespace shelltest {

inline const std::string kTitle = " - Seaclone Marine VHF Programmer";

// Answers the open and save dialogs from a queue; an empty queue cancels.
class ScriptedDialogs : public cuiFileDialogs {
 public:
  std::optional<std::string> ChooseOpen(QWidget*, const Request& r) override {
    return Next("open", r);
  }
  std::optional<std::string> ChooseSave(QWidget*, const Request& r) override {
    return Next("save", r);
  }
  std::optional<std::string> Next(const std::string& kind, const Request& r) {
    asked.push_back(kind);
    last = r;
    if (answers.empty()) return std::nullopt;
    std::string path = answers.front();
    answers.pop_front();
    return path;
  }
  std::deque<std::string> answers;
  std::vector<std::string> asked;
  Request last;
};

// The window on the program's own timers; Settle lets the 50 ms tick open
// the first page. MainWindow below runs it on virtual time instead.
class MainWindowBase : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetDataDirOverride(SEACLONE_BIN_DIR); }
  void TearDown() override {
    form.reset();
    globals.reset();
    platform::SetDataDirOverride("");
  }

  // Starts the program with these settings and arguments, up to its first
  // page.
  void Start(const QStringList& arguments = {QStringLiteral("seaclone")},
             const std::function<void(indEnviron&)>& settings = {}) {
    // The settings as an earlier run left them.
    if (settings) {
      auto seed = store.Make();
      settings(*seed);
    }
    globals = std::make_unique<shell::Globals>(arguments, testsupport::kTestMutex, store.KeyPath());
    Main().SetFileDialogs(&dialogs);
    form = std::make_unique<TForm1>(&Main());
    Settle();
  }
  virtual void Settle() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return Main().Navigation().Sheet() != nullptr; }, 10000));
  }
  indMain& Main() { return globals->Main(); }
  cmcDocument& Doc() { return Main().Documents().Document(); }
  std::string Title() const { return form->windowTitle().toStdString(); }
  std::string Path(const char* name) const {
    return dir.filePath(QString::fromLatin1(name)).toStdString();
  }

  // The page references of the tree's nodes, in tree order.
  std::vector<std::string> TreePages() const {
    std::vector<std::string> pages;
    for (QTreeWidgetItem* node : globals->Main().Navigation().Tree()->Nodes())
      if (const cmcCellObj* cell = cuiTree::CellOf(node); cell && cell->HasParameter())
        pages.push_back(cell->Parameter());
    return pages;
  }
  std::vector<std::string> ExpectedPages(bool maker = false) {
    std::vector<std::string> pages;
    const layout::TreeState state{&Doc().Working(), Doc().ModelType(), maker};
    for (const auto& page : layout::ShownTreePages(*gGTex, state)) pages.push_back(page.reference);
    return pages;
  }
  // The free channels page, chosen in the tree as a user does, with the
  // grid focused.
  cuiGrid& OpenFreePage() {
    QApplication::setActiveWindow(form.get());
    QTreeWidgetItem* node = Main().Navigation().Tree()->FindNode("GI_Sheet_FreeCh");
    EXPECT_NE(node, nullptr);
    Main().Navigation().Tree()->Widget()->setCurrentItem(node);
    EXPECT_TRUE(WaitUntil([this] {
      return Main().Navigation().Sheet() &&
             Main().Navigation().Sheet()->PageReference() == "GI_Sheet_FreeCh";
    }));
    cuiGrid& grid = *Main().Navigation().Sheet()->Grid();
    // The editor opens over a cell only once the page has its size.
    EXPECT_TRUE(WaitUntil([&] { return grid.isVisible() && grid.CellRect(2, 1).height() > 1; }));
    grid.setFocus();
    return grid;
  }
  // Runs the timers and the event loop until done() holds.
  virtual bool WaitUntil(const std::function<bool()>& done, int limitMs = 10000) {
    return QTest::qWaitFor(done, limitMs);
  }
  // Keys go where a user's would: the editor while it shows, else the grid.
  QWidget* KeyTarget() {
    cuiSheet* sheet = Main().Navigation().Sheet();
    if (sheet->Editor() && sheet->Editor()->isVisible()) return sheet->Editor();
    return sheet->Grid();
  }
  void Type(const std::string& text, Qt::Key finish) {
    for (char ch : text) QTest::keyClicks(KeyTarget(), QString(QChar(ch)));
    QTest::keyClick(KeyTarget(), finish);
  }
  std::string Shown(int column, int row) {
    return CellText(Main().Navigation().Sheet()->CellAt(column, row), 0);
  }

  void Edit() {
    Doc().Working().SetByte(0x9C0, Doc().Working().GetByte(0x9C0) == 'Q' ? 'R' : 'Q');
    Main().Documents().NoteActivity();
  }

  testsupport::EnvironStore store;
  platform::RecordingResponder responder;
  ScriptedDialogs dialogs;
  QTemporaryDir dir;
  std::unique_ptr<shell::Globals> globals;
  std::unique_ptr<TForm1> form;
};

// Virtual time: every tick, time-out and deferred check runs only when the
// test advances it.
class MainWindow : public MainWindowBase {
 protected:
  void Settle() override { time.AdvanceBy(60); }
  bool WaitUntil(const std::function<bool()>& done, int limitMs = 10000) override {
    // The tree's selection delay runs on a Qt timer, the rest on virtual
    // time: both move on together.
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
      if (clock.elapsed() > limitMs) return false;
      time.AdvanceBy(10);
      QTest::qWait(5);
    }
    return true;
  }
  // What a user's click on the menu item does, the file dialog answering
  // path.
  void Choose(std::uint32_t cell, const std::string& path) {
    dialogs.answers.push_back(path);
    QAction* item = Main().Window().Menu()->FindItem(cell);
    ASSERT_NE(item, nullptr) << CellName(cell);
    item->trigger();
    time.AdvanceBy(60);  // the page reopens
    QApplication::processEvents();
  }
  void WriteFile(const std::string& path, const std::string& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  platform::ScopedVirtualTime time;
};

}  // namespace shelltest
