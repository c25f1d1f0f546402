// SPDX-License-Identifier: GPL-3.0-or-later
// Menus from the shipped overlay and small fixtures: the nested items, the
// shortcuts, the state the evaluator gives every item on a refresh, a click
// reaching the command target, and the Edit menu mirroring a sheet's cell
// popup menu through events 10, 11 and 12.
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <map>

#include "model/clip.h"
#include "ui/builders_support.h"

namespace {

using buildertest::BuilderTest;

// Stands in for a sheet: answers event 12 for its popup menu's root with
// its cursor cell, and records the items its popup menu runs.
struct FakeSheet {
  explicit FakeSheet(cmcEvMan& bus) : bus(bus) {
    bus.Subscribe<ev::AskCellDefinition>(this, [this](const ev::AskCellDefinition& e) {
      if (e.root == nullptr || e.root == static_cast<const QObject*>(&popup))
        this->bus.Reply<ev::AskCellDefinition>(&cursor);
    });
  }
  ~FakeSheet() { bus.Unsubscribe(this); }
  cmcEvMan& bus;
  QMenu popup;
  cmcCellObj cursor;
  std::vector<std::string> clicked;
};

class MenuTest : public BuilderTest {
 protected:
  MenuTest() {
    menu = std::make_unique<cuiMenu>(bus, &window, window.menuBar(), table, "GI_Menu_Main");
    menu->Build();
    target.mainMenu = menu.get();
  }
  ~MenuTest() override { target.mainMenu = nullptr; }

  QAction* Item(std::uint32_t cell, int number = 0) {
    for (QAction* a : Flatten(window.menuBar()->actions())) {
      const cmcCellObj* c = cuiMenu::CellOf(a);
      if (c && c->Cell() == cell && c->Number() == number) return a;
    }
    ADD_FAILURE() << "no item for cell " << cell << "[" << number << "]";
    return nullptr;
  }
  static QList<QAction*> Flatten(const QList<QAction*>& items) {
    QList<QAction*> all;
    for (QAction* a : items) {
      all.push_back(a);
      if (a->menu()) all += Flatten(a->menu()->actions());
    }
    return all;
  }
  static std::string Texts(const QList<QAction*>& items) {
    std::string out;
    for (QAction* a : items) {
      if (!out.empty()) out += '|';
      out += a->isSeparator() ? std::string("-") : a->text().toStdString();
    }
    return out;
  }
  QList<QAction*> EditItems() {
    QAction* edit = menu->FindItem(CL_Menu_Edit_Top);
    return edit->menu() ? edit->menu()->actions() : QList<QAction*>();
  }

  QMainWindow window;
  std::unique_ptr<cuiMenu> menu;
};

// What the shipped menu must hold whatever items are added: every item runs
// a cell, no two items share a shortcut, and the menus nest.
TEST_F(MenuTest, ShippedMainMenuNestsItsItems) {
  const QList<QAction*> top = window.menuBar()->actions();
  EXPECT_EQ(Texts(top), "&File|&Edit|&View|&Port|&Model|&Clone|&Help");
  std::map<QString, QString> shortcutOwner;
  for (QAction* a : Flatten(top)) {
    if (a->isSeparator()) continue;
    SCOPED_TRACE(a->text().toStdString());
    if (!a->menu()) {
      EXPECT_NE(cuiMenu::CellOf(a), nullptr) << "an item without a cell does nothing";
    }
    for (const QKeySequence& key : a->shortcuts()) {
      const auto [owner, added] = shortcutOwner.emplace(key.toString(), a->text());
      EXPECT_TRUE(added) << key.toString().toStdString() << " is also "
                         << owner->second.toStdString() << "'s shortcut";
    }
  }
  ASSERT_NE(top[0]->menu(), nullptr);
  EXPECT_NE(menu->FindItem(CL_Menu_File_ExportCsv), nullptr);
  // A line may carry several shortcuts: the first is shown, each works.
  EXPECT_EQ(menu->FindItem(CL_Menu_Edit_Undo)->shortcuts(),
            QList<QKeySequence>{QKeySequence("Ctrl+Z")});
  EXPECT_EQ(menu->FindItem(CL_Menu_Edit_Redo)->shortcuts(),
            (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
  ASSERT_NE(top[1]->menu(), nullptr);
  EXPECT_EQ(Texts(top[1]->menu()->actions()), "&Undo|&Redo|-")
      << "Undo and Redo head the Edit menu; a sheet's cell menu follows them";
  ASSERT_NE(top[2]->menu(), nullptr);
  EXPECT_EQ(top[2]->menu()->actions()[0]->menu()->actions().size(), 5);
  EXPECT_EQ(menu->FindItem(CL_Menu_Clone_Info)->text(), "Radio &Information...");
  EXPECT_EQ(menu->FindItem(CL_Menu_Clone_Verify)->text(), "&Verify After Write");
  EXPECT_EQ(menu->FindItem(CL_PMenu_Paste), nullptr);
  EXPECT_TRUE(menu->Contains(Item(CL_Model, 12)));
  QAction stranger;
  EXPECT_FALSE(menu->Contains(&stranger));
}

TEST_F(MenuTest, EmptyBodyGivesNoItemsAndBuildReplacesTheOldOnes) {
  QMenu popup;
  cuiMenu empty(bus, nullptr, &popup, table, "GI_Menu_Empty");
  empty.Build();
  EXPECT_TRUE(popup.actions().isEmpty());
  menu->Build();
  EXPECT_EQ(window.menuBar()->actions().size(), 7);
}

TEST_F(MenuTest, ShortcutsRunTheirCommands) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  struct Case {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* call;
  };
  const Case cases[] = {
      {Qt::Key_N, Qt::ControlModifier, "New"},
      {Qt::Key_O, Qt::ControlModifier, "Open"},
      {Qt::Key_S, Qt::ControlModifier, "SaveAs"},  // no file name yet
      {Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier, "SaveAs"},
      {Qt::Key_P, Qt::ControlModifier, "PrintCurrent"},
      {Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier, "PrintAll"},
      {Qt::Key_R, Qt::ControlModifier, "CloneRead"},
      {Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier, "CloneWrite"},
      {Qt::Key_I, Qt::ControlModifier, "CloneInfo"},
      {Qt::Key_F1, Qt::NoModifier, "HelpContents"},
      {Qt::Key_Q, Qt::ControlModifier, "Exit"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    target.calls.clear();
    QTest::keyClick(&window, c.key, c.modifiers);
    EXPECT_EQ(target.calls, std::vector<std::string>{c.call});
  }
  // A parameter-less item has no shortcut.
  EXPECT_TRUE(menu->FindItem(CL_Help_About)->shortcut().isEmpty());
  EXPECT_TRUE(Item(CL_Model, 3)->shortcut().isEmpty());
}

TEST_F(MenuTest, RefreshShowsTheTargetsState) {
  target.port = 2;
  target.model = 5;
  target.fontSize = 125;
  target.printable = false;
  target.recent = {"C:/radio/boat & home.dat"};
  bus.Send(ev::RefreshMenus{});

  struct Expect {
    std::uint32_t cell;
    int number;
    bool checked, visible, enabled;
  };
  auto check = [&](const char* when, std::initializer_list<Expect> items) {
    for (const Expect& e : items) {
      QAction* a = Item(e.cell, e.number);
      ASSERT_NE(a, nullptr);
      const std::string what = std::string(when) + ": " + a->text().toStdString();
      EXPECT_EQ(a->isChecked(), e.checked) << what;
      EXPECT_EQ(a->isVisible(), e.visible) << what;
      EXPECT_EQ(a->isEnabled(), e.enabled) << what;
    }
  };
  check("first", {{CL_Menu_Port_Com, 1, false, true, true},
                  {CL_Menu_Port_Com, 2, true, true, true},
                  {CL_Model, 5, true, true, true},
                  {CL_Model, 0, false, true, true},
                  {CL_Menu_View_FontSize, 125, true, true, true},
                  {CL_Menu_View_ToolBar, 0, true, true, true},
                  {CL_Menu_File_Print_Current, 0, false, true, false},
                  {CL_Menu_File_Recent, 0, false, true, true},
                  {CL_Menu_File_Recent, 1, false, false, false}});
  EXPECT_EQ(Item(CL_Menu_File_Recent, 0)->text(), "&1 C:/radio/boat && home.dat");

  target.port = 4;
  target.printable = true;
  target.toolBar = false;
  target.recent.clear();
  bus.Send(ev::RefreshMenus{});
  check("after a change", {{CL_Menu_Port_Com, 2, false, true, true},
                           {CL_Menu_Port_Com, 4, true, true, true},
                           {CL_Menu_View_ToolBar, 0, false, true, true},
                           {CL_Menu_File_Print_Current, 0, false, true, true},
                           {CL_Menu_File_Recent, 0, false, true, false}});
  EXPECT_EQ(Item(CL_Menu_File_Recent, 0)->text(), "&1 ");
}

TEST_F(MenuTest, RefreshReplacesFlagsTheDefinitionPreset) {
  QMenu popup;
  cuiMenu preset(bus, nullptr, &popup, table, "GI_Menu_Preset");
  preset.Build();
  QAction* item = popup.actions()[0];
  EXPECT_TRUE(cuiMenu::CellOf(item)->Flag(cmcCellObj::kFlagDisabled));
  preset.Refresh();
  EXPECT_TRUE(item->isEnabled());
  EXPECT_TRUE(item->isVisible());
}

TEST_F(MenuTest, ClickRunsTheCommandAndRefreshes) {
  target.port = 1;
  menu->Refresh();
  QAction* com3 = Item(CL_Menu_Port_Com, 3);
  target.port = 3;  // what the port command leads to
  com3->trigger();
  EXPECT_EQ(target.calls, (std::vector<std::string>{"Port 3"}));
  EXPECT_TRUE(com3->isChecked());
  EXPECT_FALSE(Item(CL_Menu_Port_Com, 1)->isChecked());

  Item(CL_Model, 7)->trigger();
  EXPECT_EQ(target.calls.back(), "Model 7");

  // A menu with its own click function leaves the command to it.
  QMenu popup;
  std::vector<QAction*> clicked;
  cuiMenu own(bus, nullptr, &popup, table, "GI_PMenu_Setting",
              [&](QAction* a) { clicked.push_back(a); });
  own.Build();
  target.calls.clear();
  popup.actions()[0]->trigger();
  EXPECT_EQ(clicked, std::vector<QAction*>{popup.actions()[0]});
  EXPECT_TRUE(target.calls.empty());
}

TEST_F(MenuTest, PopupItemsAreEvaluatedOnTheSheetsCursorCell) {
  target.clip.CopyFromImage(target.image, 1, 0, 1);  // international rows
  FakeSheet sheet(bus);
  cuiMenu popup(bus, &sheet, &sheet.popup, table, "GI_PMenu_Ch", [&](QAction*) {});
  popup.Build();
  QAction* paste = popup.FindItem(CL_PMenu_Paste);
  ASSERT_NE(paste, nullptr);
  EXPECT_EQ(paste->shortcut(), QKeySequence("Ctrl+V"));

  struct Case {
    int category;
    bool enabled;
  };
  for (const Case& c : {Case{CT_IntCh, true}, Case{CT_UsaCh, false}, Case{CT_IntCh, true}}) {
    sheet.cursor.SetCategory(c.category);
    sheet.cursor.SetCell(CL_ChList_Tag);
    popup.Refresh();
    EXPECT_EQ(paste->isEnabled(), c.enabled) << "category " << c.category;
  }
}

TEST_F(MenuTest, EditMenuMirrorsTheSheetsPopupMenu) {
  FakeSheet sheet(bus);
  sheet.cursor.SetCategory(CT_IntCh);
  auto popup = std::make_unique<cuiMenu>(
      bus, &sheet, &sheet.popup, table, "GI_PMenu_Ch",
      [&](QAction* a) { sheet.clicked.push_back(a->text().toStdString()); });
  popup->Build();
  const std::string kOwn = "&Undo|&Redo|-";

  // An empty Edit menu asks for its placeholder on the next refresh.
  menu->Refresh();
  Deliver();
  EXPECT_EQ(Texts(EditItems()), kOwn + "|(No commands for this item)");
  menu->Refresh();
  EXPECT_TRUE(EditItems()[3]->isVisible());
  EXPECT_FALSE(EditItems()[3]->isEnabled());
  menu->Refresh();
  Deliver();
  EXPECT_EQ(Texts(EditItems()), kOwn + "|(No commands for this item)") << "one placeholder only";

  // Clearing takes what a cell menu lent, never Undo and Redo.
  bus.Send(ev::ClearCellMenu{kEvCellMenuItem});
  EXPECT_EQ(Texts(EditItems()), kOwn);
  bus.Send(ev::FillCellMenu{popup.get(), kEvCellMenuItem, "GI_PMenu_Ch"});
  EXPECT_EQ(
      Texts(EditItems()),
      kOwn +
          "|&Edit|-|&Copy Channel|&Paste Channel|-|Move &Up|Move Do&wn|C&lear|&Delete|&Insert "
          "Blank Channel|-|"
          "&Help on This Item");
  // The mirrored items belong to the popup menu, act on the sheet's cursor
  // cell and click through the sheet.
  QAction* copy = EditItems()[5];
  EXPECT_EQ(copy->parent(), &sheet.popup);
  EXPECT_EQ(cuiMenu::CellOf(copy)->Category(), CT_PopupMenu);
  target.clip.CopyFromImage(target.image, 1, 0, 1);
  menu->Refresh();
  EXPECT_TRUE(EditItems()[6]->isEnabled()) << "paste on an international channel";
  copy->trigger();
  EXPECT_EQ(sheet.clicked, std::vector<std::string>{"&Copy Channel"});
  EXPECT_TRUE(target.calls.empty());

  // The items go with the popup menu, and a fill naming a menu that is gone
  // is ignored.
  const void* gone = popup.get();
  popup.reset();
  EXPECT_EQ(Texts(EditItems()), kOwn);
  bus.Send(ev::FillCellMenu{gone, kEvCellMenuItem, "GI_PMenu_Ch"});
  EXPECT_EQ(Texts(EditItems()), kOwn);
}

}  // namespace
