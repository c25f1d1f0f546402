// SPDX-License-Identifier: GPL-3.0-or-later
// The help: the popup placement rules, the cell-name map, the compiled
// manual against the map and the shipped pages, and what each request
// shows when the file or the topic is missing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QWidget>
#include <fstream>
#include <set>

#include "layout/page_layout.h"
#include "layout/tree_pages.h"
#include "model/cell_names.h"
#include "output/html_help.h"
#include "output/html_help_engine.h"
#include "output/html_help_popup.h"
#include "output/html_help_windows.h"
#include "platform/recording_responder.h"
#include "support/eval_support.h"
#include "support/fixed_pitch_canvas.h"
#include "support/layout_support.h"
#include "text/gtex.h"

namespace {

constexpr const char* kHelpTable = SEACLONE_BIN_DIR "/TB58H.OVL";

std::string BuiltHelpFile() {
  cmcGTex table;
  table.Bind(kHelpTable);
  return cuiHtmlHelp::HelpFilePath(table, SEACLONE_BIN_DIR "/");
}

// The map's lines as the program reads them.
std::vector<std::pair<std::string, int>> ShippedMap() {
  cmcGTex table;
  table.Bind(kHelpTable);
  std::vector<std::pair<std::string, int>> map;
  for (int n = 0;; ++n) {
    const std::string line = table.Line("GI_AppItem_CellName_to_ContextID", n);
    if (line == "#") break;
    const std::size_t tab = line.find('\t');
    map.emplace_back(line.substr(0, tab), std::stoi(line.substr(tab + 1)));
  }
  return map;
}

struct PlaceCase {
  const char* what;
  QPoint pointer;
  QRect work;
  QSize size;
  QPoint expected;
};

TEST(HelpPopupPlace, FollowsThePointerInsideTheWorkArea) {
  const QRect screen(0, 0, 1920, 1040);
  const QRect right(1920, 0, 1280, 1024);  // a second monitor right of the first
  const PlaceCase cases[] = {
      {"centred on the pointer", {800, 300}, screen, {400, 300}, {600, 300}},
      {"odd width halves toward zero", {800, 300}, screen, {401, 300}, {600, 300}},
      {"near the left edge starts at the edge", {150, 300}, screen, {400, 300}, {0, 300}},
      {"half the width exactly at the pointer is still at the edge",
       {200, 300},
       screen,
       {400, 300},
       {0, 300}},
      {"near the right edge ends at the edge", {1850, 300}, screen, {400, 300}, {1520, 300}},
      {"near the bottom opens above", {800, 900}, screen, {400, 300}, {600, 600}},
      {"bottom right corner: above and to the left", {1910, 1030}, screen, {400, 300}, {1520, 730}},
      {"no room above: against the bottom",
       {800, 250},
       QRect(0, 0, 1920, 400),
       {400, 300},
       {600, 100}},
      {"room above equal to the height is not enough",
       {800, 300},
       QRect(0, 0, 1920, 500),
       {400, 300},
       {600, 200}},
      {"pointer below the work area: against the bottom",
       {800, 1060},
       screen,
       {400, 300},
       {600, 740}},
      {"on a monitor right of the first", {2000, 100}, right, {400, 300}, {1920, 100}},
      {"work area not at the origin, bottom", {2500, 1000}, right, {400, 300}, {2300, 700}},
  };
  for (const PlaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(helppopup::Place(c.pointer, c.work, c.size), c.expected);
  }
}

TEST(HelpPopupPlace, FirstPlaceAndReusedSize) {
  EXPECT_EQ(helppopup::FirstPlace({500, 40}, {400, 300}), QPoint(300, 40));
  EXPECT_EQ(helppopup::FirstPlace({200, 40}, {400, 300}), QPoint(0, 40));
  EXPECT_EQ(helppopup::FirstPlace({100, 40}, {400, 300}), QPoint(0, 40));
  EXPECT_EQ(helppopup::ReusedSize(QRect(), {400, 300}), QSize(400, 300));
  EXPECT_EQ(helppopup::ReusedSize(QRect(0, 0, 0, 0), {400, 300}), QSize(400, 300));
  EXPECT_EQ(helppopup::ReusedSize(QRect(10, 20, 500, 250), {400, 300}), QSize(500, 250));
}

TEST(HelpContextNumber, FirstExactNameBeforeTheEndMarker) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("TB58H.OVL").toStdString();
  std::ofstream(path) << "#GI_AppItem_CellName_to_ContextID\n"
                         "CL_Comm_BeepLong\t7\n"
                         "CL_Comm_Beep\t42\n"
                         "CL_Comm_Beep\t43\n"
                         "CL_Comm_TOT\t0051\n"
                         "#\n"
                         "CL_Comm_Moni\t99\n"
                         "#End_Of_Ovl\n";
  cmcGTex table;
  ASSERT_TRUE(table.Bind(path));
  const struct {
    const char* cell;
    int number;
  } cases[] = {
      {"CL_Comm_Beep", 42},  // not the longer name before it, and the first of two
      {"CL_Comm_BeepLong", 7}, {"CL_Comm_Bee", 0},   // a prefix is no match
      {"CL_Comm_TOT", 51},     {"CL_Comm_Moni", 0},  // after the end marker
      {"CL_Nothing", 0},       {"", 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(cuiHtmlHelp::ContextNumber(table, c.cell), c.number) << c.cell;
}

TEST(HelpManual, EveryContextNumberOpensATopicOfTheBuiltFile) {
  helpview::Engine engine;
  ASSERT_TRUE(engine.Loaded());
  ASSERT_TRUE(engine.Open(BuiltHelpFile())) << BuiltHelpFile();
  const auto map = ShippedMap();
  ASSERT_FALSE(map.empty());
  std::set<int> numbers;
  for (const auto& [cell, number] : map) {
    EXPECT_GT(number, 0) << cell;
    EXPECT_TRUE(numbers.insert(number).second) << cell << " shares " << number;
    const QUrl topic = engine.Topic(number);
    ASSERT_TRUE(topic.isValid()) << cell << " " << number;
    EXPECT_EQ(topic.fragment().toStdString(), cell);
    QUrl page = topic;
    page.setFragment({});
    const QByteArray html = engine.FileData(page);
    EXPECT_TRUE(html.contains(("id=\"" + cell + "\"").c_str())) << topic.toString().toStdString();
  }
  EXPECT_FALSE(engine.Topic(0).isValid());
  EXPECT_FALSE(engine.FileData(engine.Home()).isEmpty());
}

// Every cell the shipped pages show, for every model type in both views.
class ShippedPageCells : public evaltest::ShippedOverlayTest {
 protected:
  std::set<std::uint32_t> Cells() {
    std::set<std::uint32_t> cells;
    testsupport::FixedPitchCanvas canvas;
    std::vector<std::string> keys;
    for (const layout::TreePage& page : layout::TreeBodyPages(table)) keys.push_back(page.sheetKey);
    for (const char* key : {"GI_Sheet_CloneInfo", "GI_Sheet_Info_Batt", "GI_Sheet_Info_Batt_Suv"})
      keys.push_back(key);
    for (int model = 0; model < 13; ++model) {
      for (const bool usable : {false, true}) {
        UseModel(model, usable);
        layout::PageContext context;
        context.image = &target.image;
        context.modelType = model;
        context.usableView = usable;
        context.infoStatus = 0x1E;
        context.canvas = &canvas;
        for (const std::string& key : keys) {
          layout::PageLayout page(table, key, context);
          page.Layout();
          for (int r = 0; r < page.RowCount(); ++r) {
            for (int c = 0; c < page.ColumnCount(); ++c) {
              const std::uint32_t cell = page.CellAt(c, r).cell.Cell();
              if (cell != CL_NoCell) cells.insert(cell);
            }
          }
        }
      }
    }
    return cells;
  }
};

TEST_F(ShippedPageCells, EveryCellOnAPageHasATopic) {
  cmcGTex help;
  ASSERT_TRUE(help.Bind(kHelpTable));
  const std::set<std::uint32_t> cells = Cells();
  ASSERT_GT(cells.size(), 50u);
  std::vector<std::string> without;
  for (const std::uint32_t cell : cells) {
    const std::string name(CellName(cell));
    if (cuiHtmlHelp::ContextNumber(help, name) == 0) without.push_back(name);
  }
  EXPECT_EQ(without, std::vector<std::string>());
}

class HelpRequests : public ::testing::Test {
 protected:
  HelpRequests() { table.Bind(kHelpTable); }
  std::string Line(int n) { return table.Line("GI_Sys_HtmlHelp_Error", n); }

  cmcGTex table;
  platform::RecordingResponder messages;
  QWidget owner;
};

TEST_F(HelpRequests, MissingFileReportsLineZeroWithThePath) {
  cuiHtmlHelp help(table, &owner);
  ASSERT_TRUE(help.Available());
  const std::string missing = SEACLONE_BIN_DIR "/no-such-help.qch";
  const std::string expected = Line(0).substr(0, Line(0).find("%s")) + missing;
  EXPECT_EQ(help.ShowContents(missing), cuiHtmlHelp::kNoFile);
  EXPECT_EQ(help.ShowContext(missing, 1001, {500, 500}), cuiHtmlHelp::kNoFile);
  ASSERT_EQ(messages.Count(), 2);
  for (const auto& m : messages.Messages()) {
    EXPECT_EQ(m.text.rfind(expected, 0), 0u) << m.text;
    EXPECT_EQ(m.style & platform::kMbIconMask, platform::kMbIconStop);
  }
  EXPECT_TRUE(help.ContentsWindow() == nullptr || !help.ContentsWindow()->isVisible());
  EXPECT_FALSE(help.PopupWindow()->isVisible());
}

TEST_F(HelpRequests, MissingTopicReportsLineOneAndKeepsTheOpenPopup) {
  cuiHtmlHelp help(table, &owner);
  const std::string file = BuiltHelpFile();
  const int first = cuiHtmlHelp::ContextNumber(table, "CL_Comm_Beep");
  ASSERT_NE(first, 0);
  ASSERT_EQ(help.ShowContext(file, first, {600, 400}), cuiHtmlHelp::kShown);
  EXPECT_EQ(messages.Count(), 0);
  const std::string shown = help.PopupSource();
  EXPECT_EQ(help.ShowContext(file, 999999, {600, 400}), cuiHtmlHelp::kNoTopic);
  ASSERT_EQ(messages.Count(), 1);
  EXPECT_EQ(messages.Last().text, Line(1));
  EXPECT_EQ(messages.Last().style & platform::kMbIconMask, platform::kMbIconExclamation);
  // The earlier topic comes back where it was.
  EXPECT_TRUE(help.PopupWindow()->isVisible());
  EXPECT_EQ(help.PopupSource(), shown);
}

TEST_F(HelpRequests, ContextOpensTheTopicAndASecondRequestKeepsTheSize) {
  cuiHtmlHelp help(table, &owner);
  const std::string file = BuiltHelpFile();
  const int beep = cuiHtmlHelp::ContextNumber(table, "CL_Comm_Beep");
  const int tot = cuiHtmlHelp::ContextNumber(table, "CL_Comm_TOT");
  ASSERT_EQ(help.ShowContext(file, beep, {600, 400}), cuiHtmlHelp::kShown);
  QWidget* popup = help.PopupWindow();
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->size(), QSize(std::stoi(table.Line("GI_Sys_HtmlHelp_Popup_Width", 0)),
                                 std::stoi(table.Line("GI_Sys_HtmlHelp_Popup_Height", 0))));
  EXPECT_EQ(QUrl(QString::fromStdString(help.PopupSource())).fragment(), "CL_Comm_Beep");
  popup->resize(333, 222);
  ASSERT_EQ(help.ShowContext(file, tot, {600, 400}), cuiHtmlHelp::kShown);
  EXPECT_EQ(help.PopupWindow(), popup);
  EXPECT_EQ(popup->size(), QSize(333, 222));
  EXPECT_EQ(QUrl(QString::fromStdString(help.PopupSource())).fragment(), "CL_Comm_TOT");
  EXPECT_EQ(messages.Count(), 0);
}

// Catches what would go to the desktop's web browser.
class DesktopUrls : public QObject {
  Q_OBJECT
 public:
  DesktopUrls() {
    for (const char* scheme : kSchemes) QDesktopServices::setUrlHandler(scheme, this, "Open");
  }
  ~DesktopUrls() override {
    for (const char* scheme : kSchemes) QDesktopServices::unsetUrlHandler(scheme);
  }
  std::vector<std::string> opened;
 public slots:
  void Open(const QUrl& url) { opened.push_back(url.toString().toStdString()); }

 private:
  static constexpr const char* kSchemes[] = {"qthelp", "http", "https", "file"};
};

// Follows the nth link of the browser's page with the keyboard, as a user
// does: Tab to it, Enter.
void FollowLink(QTextBrowser* view, int nth = 1) {
  view->moveCursor(QTextCursor::Start);
  for (int i = 0; i < nth; ++i) QTest::keyClick(view, Qt::Key_Tab);
  ASSERT_TRUE(view->textCursor().hasSelection()) << "no link on the page";
  QTest::keyClick(view, Qt::Key_Return);
}

// Links in the manual turn its pages in the help window; the popup's links
// open the help window there; only a web link goes to the desktop.
TEST_F(HelpRequests, ManualLinksStayInTheHelpAndWebLinksGoToTheDesktop) {
  DesktopUrls desktop;
  cuiHtmlHelp help(table, &owner);
  const std::string file = BuiltHelpFile();

  ASSERT_EQ(help.ShowContents(file), cuiHtmlHelp::kShown);
  helpview::Browser* view = static_cast<helpview::ContentsWindow*>(help.ContentsWindow())->View();
  const QUrl home = view->source();
  FollowLink(view, 2);  // the first is the page's own link to the contents
  EXPECT_NE(view->source(), home);
  EXPECT_EQ(view->source().scheme(), QStringLiteral("qthelp"));
  EXPECT_FALSE(view->toPlainText().isEmpty());
  EXPECT_EQ(desktop.opened, std::vector<std::string>());

  const int beep = cuiHtmlHelp::ContextNumber(table, "CL_Comm_Beep");
  ASSERT_EQ(help.ShowContext(file, beep, {600, 400}), cuiHtmlHelp::kShown);
  auto* popup = static_cast<helpview::PopupWindow*>(help.PopupWindow());
  const std::string topic = help.PopupSource();
  help.ContentsWindow()->hide();
  FollowLink(popup->View());
  EXPECT_TRUE(help.ContentsWindow()->isVisible());
  EXPECT_EQ(view->source(), popup->View()->source().resolved(QUrl(QStringLiteral("index.html"))));
  EXPECT_EQ(help.PopupSource(), topic);
  EXPECT_EQ(desktop.opened, std::vector<std::string>());

  view->setHtml(QStringLiteral("<p><a href=\"https://example.org/radio\">the maker</a></p>"));
  FollowLink(view);
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://example.org/radio"});
  EXPECT_EQ(messages.Count(), 0);
}

TEST_F(HelpRequests, ContentsOpenTheHelpWindow) {
  cuiHtmlHelp help(table, &owner);
  EXPECT_EQ(help.ShowContents(BuiltHelpFile()), cuiHtmlHelp::kShown);
  ASSERT_NE(help.ContentsWindow(), nullptr);
  EXPECT_TRUE(help.ContentsWindow()->isVisible());
  EXPECT_EQ(messages.Count(), 0);
}

}  // namespace

#include "html_help_test.moc"
