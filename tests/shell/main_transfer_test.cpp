// SPDX-License-Identifier: GPL-3.0-or-later
// CSV export and import and the comparison with a file, from the main
// window's File menu, with the file dialogs and messages scripted.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <algorithm>

#include <sys/stat.h>

#include "model/cell_names.h"
#include "shell/main_window_support.h"
#include "ui/compare_dialog.h"
#include "ui/import_dialog.h"
#include "ui/menu.h"

namespace {

class MainTransfer : public shelltest::MainWindow {
 protected:
  void TearDown() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (dynamic_cast<cuiCompareDialog*>(w) || dynamic_cast<cuiImportDialog*>(w)) delete w;
    MainWindow::TearDown();
  }
  cuiImportDialog* ImportList() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = dynamic_cast<cuiImportDialog*>(w); d && d->isVisible()) return d;
    return nullptr;
  }
  // Presses the button, as a click would, and lets the page reopen.
  void Press(QPushButton* button) {
    ASSERT_NE(button, nullptr);
    button->click();
    time.AdvanceBy(60);
    QApplication::processEvents();
  }
  cuiCompareDialog* Comparison() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = dynamic_cast<cuiCompareDialog*>(w); d && d->isVisible()) return d;
    return nullptr;
  }
  std::string Item(QTableWidget* table, int row, int column) {
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text().toStdString() : std::string();
  }
};

// Export, an edit, then the import of what was exported: its changes are
// listed first, Apply makes the image the exported one again as one undo
// step, and Ctrl+Z brings the edit back.
TEST_F(MainTransfer, ImportOfTheExportTakesBackAnEditAsOneUndoStep) {
  Start();
  const cmcEeprom exported(Doc().Working());
  Choose(CL_Menu_File_ExportCsv, Path("all.csv"));
  ASSERT_EQ(dialogs.asked.back(), "save");
  EXPECT_EQ(dialogs.last.extension, "csv");
  ASSERT_TRUE(QFile::exists(QString::fromStdString(Path("all.csv"))));
  // The status bar says what went where, with the values counted.
  EXPECT_EQ(Main().Status().Text().rfind("Exported ", 0), 0u) << Main().Status().Text();
  EXPECT_NE(Main().Status().Text().find(" pages to " + Path("all.csv")), std::string::npos)
      << Main().Status().Text();
  EXPECT_EQ(Main().Status().Text().find("Exported 0 "), std::string::npos)
      << Main().Status().Text();

  cuiGrid& grid = OpenFreePage();
  grid.SetCursor(2, 1);
  Type("156.050", Qt::Key_Return);
  grid.SetCursor(2, 2);
  Type("156.075", Qt::Key_Return);
  const cmcEeprom edited(Doc().Working());
  ASSERT_FALSE(edited.Equals(exported));

  Choose(CL_Menu_File_ImportCsv, Path("all.csv"));
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
  cuiImportDialog* list = ImportList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->windowTitle().toStdString(), "Import from CSV");
  EXPECT_TRUE(Doc().Working().Equals(edited));  // nothing applied yet
  ASSERT_EQ(list->Table()->rowCount(), 2);
  EXPECT_EQ(Item(list->Table(), 0, 0), "Free Channels");
  EXPECT_EQ(Item(list->Table(), 0, 1), "1");
  EXPECT_EQ(Item(list->Table(), 0, 2), "Receive (MHz)");
  EXPECT_EQ(Item(list->Table(), 0, 3), "156.05000");
  EXPECT_EQ(Item(list->Table(), 0, 4), "155.50000");
  EXPECT_EQ(Item(list->Table(), 1, 3), "156.07500");
  Press(list->ApplyButton());
  EXPECT_EQ(ImportList(), nullptr);
  EXPECT_TRUE(Doc().Working().Equals(exported));
  EXPECT_TRUE(Doc().IsModified());
  ASSERT_TRUE(WaitUntil([this] { return Main().Navigation().Sheet() != nullptr; }));
  EXPECT_EQ(Shown(2, 1), "155.50000");
  // The two frequencies typed are the values the import changed; the page
  // that reopened by itself has left the message standing.
  EXPECT_EQ(Main().Status().Text(), "Imported all.csv: 2 values changed.");
  Choose(CL_Menu_File_ImportCsv, Path("all.csv"));
  EXPECT_EQ(Main().Status().Text(),
            "Imported all.csv: every value was already as the file has it.");

  QTest::keyClick(KeyTarget(), Qt::Key_Z, Qt::ControlModifier);
  time.AdvanceBy(60);
  QApplication::processEvents();
  EXPECT_TRUE(Doc().Working().Equals(edited));
}

// Cancel leaves the image, the undo history and the modified flag as
// they were. The list marks a value a spreadsheet may have made a time
// of, and names a number it only rewrote as kept.
TEST_F(MainTransfer, CancelledImportChangesNothing) {
  Start();
  WriteFile(Path("edits.csv"),
            "Page,GI_Sheet_Common_Plans,x\r\nChannel plan,In use\r\nClone comment,12:30:00\r\n"
            "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n1,\"156,8\"\r\n2,155.525\r\n");
  const cmcEeprom before(Doc().Working());
  Choose(CL_Menu_File_ImportCsv, Path("edits.csv"));
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
  cuiImportDialog* list = ImportList();
  ASSERT_NE(list, nullptr);
  QTableWidget* table = list->Table();
  ASSERT_EQ(table->rowCount(), 3);
  EXPECT_EQ(Item(table, 0, 1), "Clone comment");
  EXPECT_EQ(Item(table, 0, 4), "12:30:00");
  EXPECT_EQ(Item(table, 0, 5).rfind("line 3; warning: ", 0), 0u) << Item(table, 0, 5);
  EXPECT_EQ(Item(table, 1, 4), "156.80000");
  EXPECT_EQ(Item(table, 1, 5), "line 6");
  EXPECT_EQ(Item(table, 2, 3), "155.52500");
  EXPECT_EQ(Item(table, 2, 5), "line 7: kept '155.52500'; the spreadsheet rewrote it as '155.525'");
  // A list that warns is not applied by Enter alone.
  EXPECT_TRUE(list->CancelButton()->isDefault());
  Press(list->CancelButton());
  EXPECT_EQ(ImportList(), nullptr);
  EXPECT_TRUE(Doc().Working().Equals(before));
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_FALSE(Main().Documents().CanUndo());
  EXPECT_EQ(Main().Status().Text(), "Import of edits.csv cancelled; the image is as it was.");
}

// The list was made against the image as it was; should the image change
// under it, Apply would undo that change, so it is refused with a word.
TEST_F(MainTransfer, ApplyToAnImageChangedSinceTheListIsRefused) {
  Start();
  WriteFile(Path("one.csv"), "Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n1,156.8\r\n");
  Choose(CL_Menu_File_ImportCsv, Path("one.csv"));
  cuiImportDialog* list = ImportList();
  ASSERT_NE(list, nullptr);
  Edit();
  const cmcEeprom edited(Doc().Working());
  responder.Clear();
  Press(list->ApplyButton());
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_NE(responder.Last().text.find("nothing was imported"), std::string::npos)
      << responder.Last().text;
  EXPECT_TRUE(Doc().Working().Equals(edited));
}

// An import that would change nothing says so without a list to confirm.
TEST_F(MainTransfer, ImportWithoutChangesSaysSoWithoutAList) {
  Start();
  struct Case {
    const char* row;
    const char* status;
  };
  const Case cases[] = {
      {"1,155.50000", "Imported same.csv: every value was already as the file has it."},
      {"1,155.5",
       "Imported same.csv: no value changed; 1 values kept as the image has them, which the "
       "spreadsheet had only rewritten."},
  };
  const cmcEeprom before(Doc().Working());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    WriteFile(Path("same.csv"),
              std::string("Page,GI_Sheet_FreeCh,x\r\nNo.,Receive (MHz)\r\n") + c.row + "\r\n");
    Choose(CL_Menu_File_ImportCsv, Path("same.csv"));
    EXPECT_EQ(ImportList(), nullptr);
    EXPECT_EQ(Main().Status().Text(), c.status);
  }
  EXPECT_TRUE(Doc().Working().Equals(before));
  EXPECT_FALSE(Main().Documents().CanUndo());
}

// A refused value names its row and column in one message and leaves the
// image and the undo history as they were, though a value before it in
// the file was good.
// A name typed into the save dialog may name a pipe or a device: the
// export is refused and leaves it what it was, never a regular file in
// its place.
TEST_F(MainTransfer, ExportRefusesATargetThatIsNoRegularFile) {
  Start();
  const std::string fifo = Path("pipe.csv");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  responder.Clear();
  Choose(CL_Menu_File_ExportCsv, fifo);
  ASSERT_EQ(responder.Count(), 1);
  EXPECT_NE(responder.Last().text.find(fifo), std::string::npos) << responder.Last().text;
  struct stat info {};
  ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(MainTransfer, ARefusedValueChangesNothing) {
  Start();
  WriteFile(Path("bad.csv"),
            "Page,GI_Sheet_FreeCh,Free Channels\r\nNo.,Name,Receive (MHz)\r\n"
            "1,AAA,156.80000\r\n2,CCA,999.99999\r\n3,CCB,12x\r\n");
  const cmcEeprom before(Doc().Working());
  Choose(CL_Menu_File_ImportCsv, Path("bad.csv"));
  ASSERT_EQ(responder.Count(), 1);
  const std::string text = responder.Last().text;
  EXPECT_NE(text.find("row '2'"), std::string::npos) << text;
  EXPECT_NE(text.find("column 'Receive (MHz)'"), std::string::npos) << text;
  EXPECT_NE(text.find("999.99999"), std::string::npos) << text;
  // Every refused value is named at once, not only the first.
  EXPECT_NE(text.find("row '3'"), std::string::npos) << text;
  EXPECT_NE(text.find("'12x'"), std::string::npos) << text;
  EXPECT_TRUE(Doc().Working().Equals(before));
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_FALSE(Main().Documents().CanUndo());
}

TEST_F(MainTransfer, CompareWithFileListsTheDifferencesOrSaysThereAreNone) {
  Start();
  struct Case {
    const char* file;
    bool differs;
  };
  const Case cases[] = {{"TB58_01_EUR.DAT", true}, {"TB58_00_USA.DAT", false}};
  const cmcEeprom before(Doc().Working());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string copy = Path(c.file);
    QFile::remove(QString::fromStdString(copy));
    ASSERT_TRUE(
        QFile::copy(QStringLiteral(SEACLONE_BIN_DIR "/") + c.file, QString::fromStdString(copy)));
    Choose(CL_Menu_File_Compare, copy);
    cuiCompareDialog* dialog = Comparison();
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(dialog->Heading()->text().toStdString().find(c.file), std::string::npos);
    QTableWidget* table = dialog->Table();
    EXPECT_EQ(dialog->Differences().Empty(), !c.differs);
    if (c.differs) {
      ASSERT_GT(table->rowCount(), 1);
      EXPECT_FALSE(Item(table, 0, 0).empty());
      EXPECT_NE(Item(table, 0, 3), Item(table, 0, 4));
    } else {
      ASSERT_EQ(table->rowCount(), 1);
      EXPECT_EQ(Item(table, 0, 0), "No differences.");
    }
    dialog->close();
    QApplication::processEvents();
  }
  EXPECT_TRUE(Doc().Working().Equals(before));
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
}

// A double click on a difference opens its page with the cursor on it.
TEST_F(MainTransfer, DoubleClickOnADifferenceOpensItsCell) {
  Start();
  Doc().Working().WriteBlock(memmap::FreeRecord(2) + 4, "QQQ", 3);
  Main().Documents().NoteActivity();
  ASSERT_TRUE(QFile::copy(QStringLiteral(SEACLONE_BIN_DIR "/TB58_00_USA.DAT"),
                          QString::fromStdString(Path("usa.dat"))));
  Choose(CL_Menu_File_Compare, Path("usa.dat"));
  cuiCompareDialog* dialog = Comparison();
  ASSERT_NE(dialog, nullptr);
  // The free channels' names also caption their rows in the channel lists.
  const auto& cells = dialog->Differences().cells;
  const auto found = std::find_if(cells.begin(), cells.end(), [](const layout::CellDifference& c) {
    return c.reference == "GI_Sheet_FreeCh";
  });
  ASSERT_NE(found, cells.end());
  const layout::CellDifference& cell = *found;
  EXPECT_EQ(cell.before, "QQQ");
  EXPECT_EQ(cell.after, "L3");
  emit dialog->Table()->cellDoubleClicked(static_cast<int>(found - cells.begin()), 0);
  ASSERT_TRUE(WaitUntil([&] {
    return Main().Navigation().Sheet() &&
           Main().Navigation().Sheet()->PageReference() == cell.reference &&
           Main().Navigation().Sheet()->Grid();
  }));
  EXPECT_EQ(Main().Navigation().Sheet()->Grid()->Col(), cell.pageColumn);
  EXPECT_EQ(Main().Navigation().Sheet()->Grid()->Row(), cell.pageRow);
}

}  // namespace
