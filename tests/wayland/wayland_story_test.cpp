// SPDX-License-Identifier: GPL-3.0-or-later
// The program on a Wayland compositor (run by tests/wayland/with-wayland):
// the main window at the size the settings keep, a page, the drop-down list
// opened on a cell and attached to the main window, a pick that changes the
// image, the print preview opened over the window and closed, and what a
// close keeps of the window's bounds.
//
// A compositor takes no made-up input from outside, and the accessibility
// bus reaches no grid cell, so keys go to the widgets as Qt's test events,
// as in the window tests; what this tier adds is the real platform: window
// roles, transient parents, sizes and placement as the compositor handles
// them. With SEACLONE_WAYLAND_SHOTS naming a folder, the compositor's own
// pictures of each step are kept there (weston-screenshooter).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>
#include <optional>

#include "base/evman.h"
#include "model/cell_names.h"
#include "output/preview.h"
#include "output/printer.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "platform/recording_responder.h"
#include "settings/environ.h"
#include "shell/file_dialogs.h"
#include "shell/ind_main.h"
#include "shell/main_form.h"
#include "shell/startup.h"
#include "support/environ_support.h"
#include "ui/flector.h"
#include "ui/grid.h"
#include "ui/grid_accessible.h"
#include "ui/sheet.h"
#include "ui/tree.h"

namespace {

template <typename W>
W* VisibleTopLevel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = dynamic_cast<W*>(w); found && found->isVisible()) return found;
  return nullptr;
}

std::optional<QPoint> FindCell(cuiSheet& sheet, std::uint32_t cell) {
  cuiGrid& grid = *sheet.Grid();
  for (int row = 0; row < grid.RowCount(); ++row)
    for (int column = 0; column < grid.ColCount(); ++column)
      if (sheet.CellAt(column, row).Cell() == cell) return QPoint(column, row);
  return std::nullopt;
}

// The compositor's picture of the whole output, kept as name.png when the
// run asks for pictures. The compositor draws on its own clock: the window's
// last frame is given a moment to reach it first.
void Shot(const QString& name) {
  const QString folder = qEnvironmentVariable("SEACLONE_WAYLAND_SHOTS");
  if (folder.isEmpty()) return;
  QTest::qWait(300);
  QDir().mkpath(folder);
  QTemporaryDir scratch;
  QProcess shooter;
  shooter.setWorkingDirectory(scratch.path());
  shooter.start(QStringLiteral("weston-screenshooter"), {});
  // Waiting here would block the program that the compositor waits for.
  while (!shooter.waitForFinished(20)) QApplication::processEvents();
  const QStringList taken = QDir(scratch.path()).entryList({QStringLiteral("*.png")});
  if (taken.isEmpty()) {
    ADD_FAILURE() << "weston-screenshooter took no picture: "
                  << shooter.readAllStandardError().toStdString();
    return;
  }
  const QString target = QDir(folder).filePath(name + QStringLiteral(".png"));
  QFile::remove(target);
  QFile::rename(QDir(scratch.path()).filePath(taken.first()), target);
}

class WaylandStory : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        << "run under tests/wayland/with-wayland, not on "
        << QGuiApplication::platformName().toStdString();
    platform::SetDataDirOverride(SEACLONE_BIN_DIR);
    // Warnings of the platform plugin say what the compositor refused (a
    // popup without its parent, a role it cannot take).
    previous_ = qInstallMessageHandler(&WaylandStory::Note);
    warnings().clear();
  }
  void TearDown() override {
    form.reset();
    globals.reset();
    qInstallMessageHandler(previous_);
    platform::SetDataDirOverride("");
  }

  static QStringList& warnings() {
    static QStringList list;
    return list;
  }
  static void Note(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg &&
        QByteArray(context.category ? context.category : "").startsWith("qt.qpa.wayland"))
      warnings().append(text);
  }

  void Start(int left, int top, int width, int height) {
    {  // the settings as an earlier run left them; the program reads them itself
      auto seed = store.Make();
      seed->Left = left;
      seed->Top = top;
      seed->Width = width;
      seed->Height = height;
      seed->Save();
    }
    globals = std::make_unique<shell::Globals>(QStringList{QStringLiteral("seaclone")},
                                               testsupport::kTestMutex, store.KeyPath());
    Main().SetFileDialogs(&dialogs);
    form = std::make_unique<TForm1>(&Main());
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get(), 10000));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Main().Navigation().Sheet() != nullptr; }, 10000));
  }

  cuiGrid& OpenPage(const char* reference) {
    QTreeWidgetItem* node = Main().Navigation().Tree()->FindNode(reference);
    EXPECT_NE(node, nullptr) << reference;
    Main().Navigation().Tree()->Widget()->setCurrentItem(node);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          return Main().Navigation().Sheet() &&
                 Main().Navigation().Sheet()->PageReference() == reference;
        },
        10000));
    cuiGrid& grid = *Main().Navigation().Sheet()->Grid();
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid.CellRect(1, 1).height() > 1; }, 10000));
    grid.setFocus();
    return grid;
  }

  indMain& Main() { return globals->Main(); }

  testsupport::EnvironStore store;
  platform::RecordingResponder responder;
  class NoDialogs : public cuiFileDialogs {
   public:
    std::optional<std::string> ChooseOpen(QWidget*, const Request&) override { return {}; }
    std::optional<std::string> ChooseSave(QWidget*, const Request&) override { return {}; }
  } dialogs;
  std::unique_ptr<shell::Globals> globals;
  std::unique_ptr<TForm1> form;
  QtMessageHandler previous_ = nullptr;
};

TEST_F(WaylandStory, PageChooserPickPreviewAndTheSizeKept) {
  // Bounds an X session left, the window on a second monitor right of this
  // compositor's only output.
  Start(1500, 30, 900, 700);
  if (HasFatalFailure()) return;
  // The size comes back; the position is the compositor's to choose.
  // The frame comes from the program itself here, after the window shows.
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return form->frameGeometry().size() == QSize(900, 700); }, 5000))
      << form->frameGeometry().width() << "x" << form->frameGeometry().height();

  cuiGrid& grid = OpenPage("GI_Sheet_Common_Common");
  cuiSheet& page = *Main().Navigation().Sheet();
  const auto power = FindCell(page, CL_Comm_TxPow);
  ASSERT_TRUE(power) << "no TX power cell on the common settings page";
  grid.SetCursor(power->x(), power->y());
  const QString before = GridCellText(grid, power->x(), power->y());
  Shot(QStringLiteral("page"));

  // The list opens as a popup of the main window: on Wayland a window
  // without that link cannot be placed under its cell at all.
  QTest::keyClick(&grid, Qt::Key_Return);
  QPointer<cuiFlector> list;
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return (list = VisibleTopLevel<cuiFlector>()) != nullptr; }, 10000));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(list.data(), 10000));
  ASSERT_NE(list->windowHandle(), nullptr);
  EXPECT_EQ(list->windowHandle()->type(), Qt::Popup);
  EXPECT_EQ(list->windowHandle()->transientParent(), form->windowHandle());
  Shot(QStringLiteral("chooser"));
  // Still open once the compositor has dealt with it: a list that its own
  // showing deactivated would be gone before the user could pick.
  QTest::qWait(200);
  ASSERT_FALSE(list.isNull());
  EXPECT_TRUE(list->isVisible());

  cuiSheet& choices = list->Sheet();
  cuiGrid& listGrid = *choices.Grid();
  const int current = listGrid.Row();
  listGrid.SetCursor(listGrid.Col(), current + 1 < listGrid.RowCount() ? current + 1 : 0);
  QTest::keyClick(&listGrid, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([] { return VisibleTopLevel<cuiFlector>() == nullptr; }, 10000));
  const QString after = GridCellText(*Main().Navigation().Sheet()->Grid(), power->x(), power->y());
  EXPECT_NE(after, before) << "the pick did not reach the cell";
  EXPECT_TRUE(Main().Documents().Document().IsModified());

  // The print preview, as Print opens it, over the main window; closed
  // without printing.
  cuiPrinter* printer = Main().View().Printer();
  ASSERT_NE(printer, nullptr);
  QTemporaryDir out;
  const QString pdf = out.filePath(QStringLiteral("page.pdf"));
  printer->setUpPrinter = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(pdf);
    return true;
  };
  QWindow* previewParent = nullptr;
  bool previewShown = false;
  bool previewOnOutput = false;
  QSize previewFrame;
  QTimer::singleShot(0, [&] {
    cuiPreview* preview = nullptr;
    if (QTest::qWaitFor([&] { return (preview = VisibleTopLevel<cuiPreview>()) != nullptr; },
                        10000) &&
        QTest::qWaitForWindowExposed(preview, 10000)) {
      previewShown = true;
      previewParent = preview->windowHandle()->transientParent();
      // A page taller than the screen: the window takes the room the
      // compositor gives it, all of it on the output (the first configure
      // may still be on its way).
      const QRect output = preview->screen()->geometry();
      previewOnOutput = QTest::qWaitFor(
          [&] { return preview->frameGeometry().height() <= output.height(); }, 5000);
      previewFrame = preview->frameGeometry().size();
      Shot(QStringLiteral("preview"));
    }
    if (preview) preview->reject();
  });
  Main().Commands().PrintCurrent();
  EXPECT_TRUE(previewShown);
  EXPECT_EQ(previewParent, form->windowHandle());
  EXPECT_TRUE(previewOnOutput) << "the preview's frame is " << previewFrame.width() << "x"
                               << previewFrame.height();
  EXPECT_FALSE(QFile::exists(pdf)) << "printed, though the preview was closed";
  EXPECT_TRUE(form->isEnabled());

  // A close keeps the size shown and leaves the saved position alone: the
  // compositor never told one (the window only believes it stands where it
  // was pulled onto this output), and a later start on X still has it.
  const QSize shown = form->frameGeometry().size();
  responder.Answer(platform::kIdNo);  // the changes are not to be saved
  ASSERT_TRUE(form->close());
  form.reset();
  globals.reset();  // the settings are written as the program ends
  auto saved = store.Make();
  saved->Load();
  EXPECT_EQ(QSize(saved->Width, saved->Height), shown);
  EXPECT_EQ(QPoint(saved->Left, saved->Top), QPoint(1500, 30));

  EXPECT_TRUE(warnings().isEmpty()) << warnings().join(QLatin1Char('\n')).toStdString();
}

}  // namespace
