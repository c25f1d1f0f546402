// SPDX-License-Identifier: GPL-3.0-or-later
// The tool bar from the shipped overlay and small fixtures: buttons in line
// order, gaps and row breaks, check buttons following the target's state,
// and a click reaching the command target.
#include <QAccessible>
#include <QMainWindow>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "ui/builders_support.h"
#include "ui/image_list.h"
#include "ui/tool_bar.h"

namespace {

using buildertest::BuilderTest;

class ToolBarTest : public BuilderTest {
 protected:
  std::unique_ptr<cuiToolBar> Make(const std::string& key, cuiToolBar::ClickFn click = {}) {
    auto bar = std::make_unique<cuiToolBar>(bus, &window, table, key, &images);
    bar->Build(std::move(click));
    bar->AddTo(&window);
    return bar;
  }
  // Tool tips of the buttons and "gap" for the gaps, in order.
  static std::string Row(QToolBar* row) {
    std::string out;
    for (QAction* a : row->actions()) {
      if (!out.empty()) out += '|';
      QWidget* w = row->widgetForAction(a);
      if (qobject_cast<QToolButton*>(w))
        out += a->toolTip().toStdString();
      else
        out += "gap" + std::to_string(w->width());
    }
    return out;
  }
  QAction* Button(cuiToolBar& bar, std::uint32_t cell, int number = 0) {
    for (QToolBar* row : bar.Rows())
      for (QAction* a : row->actions())
        if (const cmcCellObj* c = bar.CellOf(a); c && c->Cell() == cell && c->Number() == number)
          return a;
    ADD_FAILURE() << "no button for cell " << cell;
    return nullptr;
  }

  QMainWindow window;
  cuiImageList images{QSize(16, 16)};
};

TEST_F(ToolBarTest, ShippedButtonsComeInLineOrderWithGaps) {
  auto bar = Make("GI_ToolBar_Main");
  window.show();
  ASSERT_EQ(bar->Rows().size(), 1u);
  EXPECT_EQ(Row(bar->Widget()),
            "New|Open a clone data file|Save|gap8|Use COM1|Use COM2|Use COM3|Use COM4|Find the "
            "radio on every serial port|gap8|Read from the radio|Write to the radio|Radio "
            "information");
  EXPECT_EQ(bar->CellOf(bar->Widget()->actions()[3]), nullptr) << "a gap carries no cell";
}

TEST_F(ToolBarTest, EmptyBodyGivesNoButtons) {
  auto bar = Make("GI_ToolBar_Empty");
  EXPECT_TRUE(bar->Widget()->actions().isEmpty());
}

TEST_F(ToolBarTest, SlashStartsANewRowBelow) {
  auto bar = Make("GI_ToolBar_Rows");
  window.resize(600, 300);
  window.show();
  ASSERT_EQ(bar->Rows().size(), 2u);
  EXPECT_EQ(Row(bar->Rows()[0]), "New|gap8|Print");
  EXPECT_EQ(Row(bar->Rows()[1]), "COM1|COM2");
  EXPECT_GE(bar->Rows()[1]->y(), bar->Rows()[0]->geometry().bottom());
  bar->SetVisible(false);
  EXPECT_FALSE(bar->Rows()[1]->isVisible());
}

TEST_F(ToolBarTest, RefreshPressesAndDisablesButtonsAsTheTargetSays) {
  auto bar = Make("GI_ToolBar_Rows");
  struct Case {
    bool menusEvent;  // the menus' refresh rather than the tool bar's own
    int port;
    bool printable;
    bool com1, com2, printEnabled;
  };
  const Case cases[] = {
      {false, 2, false, false, true, false},
      {false, 1, true, true, false, true},
      {true, 3, false, false, false, false},
  };
  for (const Case& c : cases) {
    target.port = c.port;
    target.printable = c.printable;
    if (c.menusEvent)
      bus.Send(ev::RefreshMenus{});
    else
      bus.Send(ev::RefreshToolBar{});
    const std::string name = std::string(c.menusEvent ? "menus" : "tool bar") + " refresh, port " +
                             std::to_string(c.port);
    EXPECT_EQ(Button(*bar, CL_Menu_Port_Com, 1)->isChecked(), c.com1) << name;
    EXPECT_EQ(Button(*bar, CL_Menu_Port_Com, 2)->isChecked(), c.com2) << name;
    EXPECT_EQ(Button(*bar, CL_Menu_File_Print_Current)->isEnabled(), c.printEnabled) << name;
    EXPECT_FALSE(Button(*bar, CL_Menu_File_New)->isCheckable()) << name;
    EXPECT_FALSE(Button(*bar, CL_Menu_File_New)->isChecked()) << name;
  }
}

TEST_F(ToolBarTest, AScreenReaderHearsCommandsAsPushButtonsAndPortsAsToggles) {
  auto bar = Make("GI_ToolBar_Main");
  window.show();
  target.port = 2;
  bus.Send(ev::RefreshToolBar{});
  struct Case {
    std::uint32_t cell;
    int number;
    bool toggle;
    bool pressed;
  };
  const Case cases[] = {
      {CL_Menu_File_New, 0, false, false},   {CL_Menu_File_Save, 0, false, false},
      {CL_Menu_Clone_Read, 0, false, false}, {CL_Menu_Clone_Info, 0, false, false},
      {CL_Menu_Port_Com, 1, true, false},    {CL_Menu_Port_Com, 2, true, true},
  };
  for (const Case& c : cases) {
    const std::string name = std::to_string(c.cell) + "/" + std::to_string(c.number);
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(
        bar->Widget()->widgetForAction(Button(*bar, c.cell, c.number)));
    ASSERT_NE(button, nullptr) << name;
    const QAccessible::State state = button->state();
    EXPECT_EQ(state.checkable, c.toggle) << name;
    EXPECT_EQ(state.checked, c.pressed) << name;
    if (!c.toggle) {
      EXPECT_EQ(button->role(), QAccessible::PushButton) << name;
    }
  }
}

TEST_F(ToolBarTest, ClickRunsTheButtonsCommand) {
  auto bar = Make("GI_ToolBar_Main");
  window.show();
  target.port = 1;
  bus.Send(ev::RefreshToolBar{});
  struct Case {
    std::uint32_t cell;
    int number;
    const char* call;
  };
  for (const Case& c : {Case{CL_Menu_File_Open, 0, "Open"}, Case{CL_Menu_Port_Com, 3, "Port 3"},
                        Case{CL_Menu_Clone_Read, 0, "CloneRead"}}) {
    target.calls.clear();
    QAction* button = Button(*bar, c.cell, c.number);
    QTest::mouseClick(bar->Widget()->widgetForAction(button), Qt::LeftButton);
    EXPECT_EQ(target.calls, std::vector<std::string>{c.call}) << c.call;
    // Until the state is asked again a click changes nothing on the button.
    EXPECT_FALSE(button->isChecked()) << c.call;
  }

  std::vector<QAction*> clicked;
  auto own = Make("GI_ToolBar_Rows", [&](QAction* a) { clicked.push_back(a); });
  target.calls.clear();
  Button(*own, CL_Menu_File_New)->trigger();
  EXPECT_EQ(clicked, std::vector<QAction*>{Button(*own, CL_Menu_File_New)});
  EXPECT_TRUE(target.calls.empty());
}

}  // namespace
