// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's file, model and navigation stories.
#include <QApplication>
#include <QSplitter>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>

#include "model/cell_names.h"
#include "output/html_help.h"
#include "output/preview.h"
#include "output/printer.h"
#include "shell/handover_queue.h"
#include "shell/main_window_support.h"
#include "ui/menu.h"

namespace {

using shelltest::kTitle;
using shelltest::MainWindow;

TEST_F(MainWindow, StartShowsTheInitialImagesFirstPageInACompleteWindow) {
  Start();
  ASSERT_NE(Main().Navigation().Sheet(), nullptr);
  const std::vector<std::string> pages = TreePages();
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(Main().Navigation().Sheet()->PageReference(), pages.front());
  EXPECT_TRUE(Main().Window().SheetPanel()->isAncestorOf(Main().Navigation().Sheet()->Grid()));
  EXPECT_EQ(Title(), "Untitled" + kTitle);
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_TRUE(Doc().Working().Equals(Doc().Initial()));
  EXPECT_FALSE(form->menuBar()->actions().isEmpty());
  EXPECT_TRUE(Main().Window().ToolBar()->Widget()->isVisible());
  EXPECT_EQ(Main().Window().StatusBar()->PanelCount(), 2);
  EXPECT_EQ(pages, ExpectedPages());
  EXPECT_EQ(responder.Count(), 0);
  // The Edit menu: Undo and Redo, then what the cursor cell's menu offers
  // (its placeholder at least).
  QApplication::processEvents();
  Main().Window().Menu()->Refresh();
  const QAction* edit = Main().Window().Menu()->FindItem(CL_Menu_Edit_Top);
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(edit->menu(), nullptr);
  const QList<QAction*> items = edit->menu()->actions();
  ASSERT_GT(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "&Undo");
  EXPECT_EQ(items[1]->text(), "&Redo");
  EXPECT_TRUE(items[2]->isSeparator());
  EXPECT_EQ(cuiMenu::MirroredItemCount(edit), items.size() - 3);
}

TEST_F(MainWindow, NewOpenSaveAsAndReopenKeepTitleAndModifiedFlagInStep) {
  Start();
  const std::string a = Path("a.dat");
  const std::string b = Path("b.dat");

  Edit();
  EXPECT_TRUE(Doc().IsModified());
  dialogs.answers = {a};
  Main().Files().FileSaveAs();
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_EQ(Title(), "a.dat" + kTitle);
  EXPECT_EQ(Main().Status().Text(), "Saved to " + a + ".");
  EXPECT_EQ(gEnviron->Recent.Entry(0), a);
  EXPECT_EQ(Main().Documents().CurrentDirectory(), dir.path().toStdString());
  EXPECT_EQ(dialogs.last.fileName, "Untitled");
  EXPECT_EQ(dialogs.last.extension, "dat");

  // New after an edit asks to save under the current name; No discards.
  Edit();
  responder.Answer(platform::kIdNo);
  Main().Documents().FileNew();
  EXPECT_EQ(responder.Last().text, "Save the changes to 'a.dat'?");
  EXPECT_EQ(responder.Last().style, platform::kMbYesNoCancel | platform::kMbIconExclamation);
  EXPECT_EQ(Title(), "Untitled" + kTitle);
  EXPECT_FALSE(Doc().IsModified());

  // Open through the dialog: the saved image comes back, named, unmodified.
  dialogs.answers = {a};
  Main().Files().FileOpen();
  EXPECT_EQ(Title(), "a.dat" + kTitle);
  EXPECT_EQ(Doc().Working().GetByte(0x9C0), 'Q');

  // Re-opening the open file with changes offers Save As, never an
  // overwrite of the file being re-opened.
  Edit();
  responder.Clear();
  responder.Answer(platform::kIdYes);
  dialogs.answers = {b};
  Main().Documents().OpenFile(a);
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_EQ(responder.Last().text, gGTex->Text("GI_Mess_Confirm_WriteAnother"));
  EXPECT_EQ(dialogs.asked.back(), "save");
  EXPECT_EQ(Title(), "a.dat" + kTitle);
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_EQ(Doc().Working().GetByte(0x9C0), 'Q');  // a.dat as it was
  cmcEeprom saved;
  ASSERT_EQ(cmcDocument::ReadChecked(b, saved), CloneFileCode::kOk);
  EXPECT_EQ(saved.GetByte(0x9C0), 'R');  // the changes went to b.dat
  EXPECT_EQ(gEnviron->Recent.Entry(0), a);
  EXPECT_EQ(gEnviron->Recent.Entry(1), b);
}

TEST_F(MainWindow, ADamagedFileIsRefusedWithItsMessageAndNothingChanges) {
  Start();
  Edit();
  const std::string bad = Path("bad.dat");
  QFile f(QString::fromStdString(bad));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("not a clone file\n");
  f.close();
  const cmcEeprom before(Doc().Working());

  responder.Answer(platform::kIdNo);  // discard the edit
  Main().Documents().OpenFile(bad);
  ASSERT_EQ(responder.Count(), 2);  // the question, then the file's one message
  EXPECT_NE(responder.Last().text, responder.Messages()[0].text);
  EXPECT_TRUE(Doc().Working().Equals(before));
  EXPECT_TRUE(Doc().IsUntitled());
  EXPECT_TRUE(Doc().IsModified());
  EXPECT_EQ(Title(), "Untitled" + kTitle);
  EXPECT_TRUE(gEnviron->Recent.Entry(0).empty());
}

TEST_F(MainWindow, CancelInEveryQuestionStops) {
  Start();
  const std::string a = Path("a.dat");
  dialogs.answers = {a};
  Main().Files().FileSaveAs();
  struct Case {
    const char* what;
    std::function<void()> command;
    int answer;
  };
  const Case cases[] = {
      {"new", [&] { Main().Documents().FileNew(); }, platform::kIdCancel},
      {"open", [&] { Main().Documents().OpenFile(a); }, platform::kIdCancel},
      {"clone read", [&] { Main().Documents().CloneRead(); }, platform::kIdCancel},
      {"model change", [&] { Main().Documents().ChangeModel(3); }, platform::kIdCancel},
      {"close", [&] { EXPECT_FALSE(form->close()); }, platform::kIdCancel},
      // Yes to saving under a new name, then Cancel in the save dialog.
      {"re-open, save cancelled", [&] { Main().Documents().OpenFile(a); }, platform::kIdYes},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Edit();
    const cmcEeprom before(Doc().Working());
    responder.Clear();
    responder.Answer(c.answer);
    c.command();
    EXPECT_GE(responder.Count(), 1);
    EXPECT_TRUE(Doc().Working().Equals(before));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_EQ(Doc().ModelType(), 0);
    EXPECT_TRUE(form->isVisible());
  }
}

TEST_F(MainWindow, TheTreeFollowsTheModelAndThePlanSwitches) {
  Start();
  for (int model : {0, 3, 8, 9, 12, 5}) {
    responder.Answer(platform::kIdOk);
    Main().Documents().ChangeModel(model);
    EXPECT_EQ(Doc().ModelType(), model);
    EXPECT_EQ(gEnviron->ModelType, model);
    EXPECT_EQ(TreePages(), ExpectedPages()) << "model " << model;
    const std::vector<std::string> shown = TreePages();
    const bool suv = std::find(shown.begin(), shown.end(), "GI_Sheet_SuvCh") != shown.end();
    EXPECT_EQ(suv, model >= 8 && model <= 11) << model;
    // The tree built for the new model fills its panel like the first one.
    QTreeWidget* tree = Main().Navigation().Tree()->Widget();
    QWidget* panel = tree->parentWidget();
    QCoreApplication::processEvents();
    EXPECT_EQ(tree->geometry(), panel->contentsRect()) << "model " << model;
  }
  // The USA plan off and on again: the node goes, and comes back where it was.
  const std::vector<std::string> all = TreePages();
  cmcEeprom& image = Doc().Working();
  const std::uint8_t flags = image.GetByte(memmap::kFlags972);
  for (const std::uint8_t value : {static_cast<std::uint8_t>(flags ^ 1u), flags}) {
    image.SetByte(memmap::kFlags972, value);
    globals->Bus().Send(ev::RebuildChannelNodes{});
    EXPECT_EQ(TreePages(), ExpectedPages()) << int(value);
  }
  EXPECT_EQ(TreePages(), all);
}

TEST_F(MainWindow, MakerModeBySwitchOrByTheTypedWordAfterTheCaution) {
  Start({QStringLiteral("seaclone"), QStringLiteral("/KelPish")});
  EXPECT_TRUE(Main().Maker());
  EXPECT_EQ(responder.Count(), 1);
  EXPECT_EQ(TreePages(), ExpectedPages(true));
  EXPECT_EQ(Main().Window().StatusBar()->PanelCount(), 3);
  form.reset();
  globals.reset();

  Start();
  responder.Clear();
  EXPECT_FALSE(Main().Maker());
  const std::vector<std::string> plain = TreePages();
  responder.Answer(platform::kIdCancel);
  for (char ch : std::string("xxKELpish")) Main().KeyTyped(ch);
  EXPECT_FALSE(Main().Maker());
  EXPECT_EQ(TreePages(), plain);
  for (char ch : std::string("kelpis")) Main().KeyTyped(ch);
  EXPECT_EQ(responder.Count(), 1);  // six letters are not the word
  Main().KeyTyped('h');
  EXPECT_TRUE(Main().Maker());
  EXPECT_EQ(TreePages(), ExpectedPages(true));
  EXPECT_NE(TreePages(), plain);
  for (char ch : std::string("kelpish")) Main().KeyTyped(ch);
  EXPECT_EQ(responder.Count(), 2);  // once on, never asked again
  // In maker mode a write asks the caution first; Cancel stops it.
  responder.Answer(platform::kIdCancel);
  EXPECT_FALSE(Main().ConfirmWrite());
}

TEST_F(MainWindow, TheWarningCheckMarksTheErrorPageAndBlocksAWrite) {
  Start();
  cmcEeprom& image = Doc().Working();
  image.SetByte(memmap::kFlags972, image.GetByte(memmap::kFlags972) | 2);  // the weather list shown
  globals->Bus().Send(ev::RebuildChannelNodes{});
  EXPECT_EQ(Main().Navigation().WarningCheck().errors, 0);
  image.SetWord(memmap::kWxBits, 0x03FF);  // every weather channel inhibited
  Main().Documents().NoteActivity();
  time.AdvanceBy(300);  // the deferred check
  QTreeWidgetItem* wx = Main().Navigation().Tree()->FindNode("GI_Sheet_WxCh");
  ASSERT_NE(wx, nullptr);
  EXPECT_EQ(cuiTree::Overlay(wx), cuiTree::kErrorOverlay);
  responder.Clear();
  Main().Documents().CloneWrite();
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_EQ(responder.Last().text, gGTex->Block("GI_Mess_DataError"));
}

TEST_F(MainWindow, AClosedSheetReopensWithItsCursorAndScroll) {
  Start();
  const std::vector<std::string> pages = TreePages();
  ASSERT_GE(pages.size(), 3u);
  Main().Navigation().OpenSheet("GI_Sheet_IntCh");
  QApplication::processEvents();  // the page shows
  cuiGrid* grid = Main().Navigation().Sheet()->Grid();
  ASSERT_NE(grid, nullptr);
  int row = grid->RowCount() - 1;
  while (row > grid->FixedRows() && !grid->SetCursor(grid->Col(), row)) --row;
  const QPoint cursor(grid->Col(), grid->Row());
  const QPoint topLeft(grid->LeftCol(), grid->TopRow());
  ASSERT_GT(topLeft.y(), grid->FixedRows());  // scrolled

  Main().Navigation().OpenSheet(pages.front());
  QApplication::processEvents();
  Main().Navigation().OpenSheet("GI_Sheet_IntCh");

  grid = Main().Navigation().Sheet()->Grid();
  EXPECT_EQ(QPoint(grid->Col(), grid->Row()), cursor);
  EXPECT_EQ(QPoint(grid->LeftCol(), grid->TopRow()), topLeft);
}

TEST_F(MainWindow, TreeWidthComesFromTheSettingsButIsAtLeastEight) {
  for (const int saved : {3, 150}) {
    Start({QStringLiteral("seaclone")}, [&](indEnviron& e) {
      e.SplitterV = saved;
      e.Save();
    });
    EXPECT_EQ(Main().Window().TreePanel()->width(), std::max(8, saved)) << saved;
    form.reset();
    globals.reset();
  }
}

// At the first start nothing says how wide the tree was: it shows its
// names whole ("International channels" was cut at a fixed 200 pixels).
TEST_F(MainWindow, TheFirstStartShowsTheTreesNamesWhole) {
  Start();
  ASSERT_LE(Main().Navigation().Tree()->NamesWidth(), form->width() / 2);
  EXPECT_GE(Main().Window().TreePanel()->width(), Main().Navigation().Tree()->NamesWidth());
}

TEST_F(MainWindow, ClosingAsksToSaveAndStoresTheOuterBoundsAndTreeWidth) {
  Start();
  Edit();
  responder.Answer(platform::kIdCancel);
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());

  form->move(40, 50);
  const QRect outer = form->frameGeometry();
  const int treeWidth = Main().Window().TreePanel()->width();
  responder.Answer(platform::kIdNo);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(QRect(gEnviron->Left, gEnviron->Top, gEnviron->Width, gEnviron->Height), outer);
  EXPECT_EQ(gEnviron->SplitterV, treeWidth);
}

// File > Print All through the menu prints every page the tree shows, in
// the printer's own sheets (a file handed over by a later start meanwhile
// waits for the job), and F1 on a page opens the manual at the cell under
// the cursor.
TEST_F(MainWindow, PrintAllAndHelpOnTheCursorCellReachTheirWindows) {
  Start();
  dialogs.answers = {Path("handed.dat")};
  Main().Files().FileSaveAs();
  Main().Documents().FileNew();
  ASSERT_TRUE(Doc().IsUntitled());
  time.AdvanceBy(60);  // the first page again
  shell::HandoverQueue handed(form.get(), &Main());
  cuiPrinter* printer = Main().View().Printer();
  ASSERT_NE(printer, nullptr);
  ASSERT_TRUE(Main().View().CanPrintCurrent());
  const QString pdf = dir.filePath(QStringLiteral("all.pdf"));
  int previewPages = 0;
  printer->setUpPrinter = [&](QPrinter& p) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(pdf);
    return true;
  };
  printer->runPreview = [&](cuiPreview& preview) {
    previewPages = preview.PageCount();
    return true;
  };
  Main().Commands().PrintAll();
  ASSERT_TRUE(printer->JobActive());
  handed.Add(QString::fromStdString(Path("handed.dat")));
  QTest::qWait(3 * shell::HandoverQueue::kRetryMs);
  EXPECT_TRUE(Doc().IsUntitled()) << "opened during the print job";
  for (int i = 0; i < 200 && printer->JobActive(); ++i) time.AdvanceBy(50);
  EXPECT_FALSE(printer->JobActive());
  EXPECT_TRUE(QTest::qWaitFor([&] { return Doc().FilePath() == Path("handed.dat"); }, 5000));
  EXPECT_TRUE(handed.Waiting().isEmpty());
  time.AdvanceBy(60);  // the page of the file opened
  EXPECT_GE(previewPages, static_cast<int>(TreePages().size()));
  QFile out(pdf);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  EXPECT_TRUE(out.read(4) == "%PDF");

  // The first page's cursor cell has a topic of its own.
  cuiSheet* sheet = Main().Navigation().Sheet();
  ASSERT_NE(sheet, nullptr);
  cuiGrid* grid = sheet->Grid();
  const std::uint32_t cell = sheet->CellAt(grid->Col(), grid->Row()).Cell();
  ASSERT_GT(Main().View().HelpContext(cell), 0) << CellName(cell);
  QTest::keyClick(grid, Qt::Key_F1);
  ASSERT_NE(Main().View().Help()->ContentsWindow(), nullptr);
  EXPECT_TRUE(Main().View().Help()->ContentsWindow()->isVisible());
  EXPECT_EQ(
      QUrl(QString::fromStdString(Main().View().Help()->ContentsSource())).fragment().toStdString(),
      CellName(cell))
      << Main().View().Help()->ContentsSource();
  // Shift+F1 is the cell's own small window.
  EXPECT_TRUE(Main().View().Help()->PopupWindow() == nullptr ||
              !Main().View().Help()->PopupWindow()->isVisible());
}

}  // namespace
