// SPDX-License-Identifier: GPL-3.0-or-later
// The window's File > Export and Import with an OpenDocument spreadsheet:
// the dialogs offer it beside CSV, export writes one by the name's
// extension, and a file that is no spreadsheet or holds a refused value
// changes nothing and says why.
#include <QFile>

#include <string>
#include <vector>

#include "model/cell_names.h"
#include "shell/main_window_support.h"
#include "spreadsheet/ods_reader.h"
#include "spreadsheet/zip_archive.h"
#include "ui/menu.h"

namespace {

class MainOds : public shelltest::MainWindow {
 protected:
  std::string Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
  }
};

TEST_F(MainOds, ExportWritesASpreadsheetForAnOdsName) {
  Start();
  Choose(CL_Menu_File_ExportCsv, Path("all.ods"));
  EXPECT_EQ(responder.Count(), 0) << responder.Last().text;
  EXPECT_NE(dialogs.last.filter.find("*.ods"), std::string::npos) << dialogs.last.filter;
  EXPECT_NE(dialogs.last.filter.find("*.csv"), std::string::npos) << dialogs.last.filter;
  std::vector<text::CsvRecord> records;
  std::string error;
  ASSERT_TRUE(spreadsheet::ReadOds(Bytes(Path("all.ods")), records, error)) << error;
  std::vector<std::string> pages;
  for (const text::CsvRecord& record : records)
    if (record.fields[0] == "Page") pages.push_back(record.fields[1]);
  EXPECT_NE(std::find(pages.begin(), pages.end(), "GI_Sheet_FreeCh"), pages.end());
  EXPECT_EQ(pages.front(), "GI_Sheet_Common_Plans");
  EXPECT_FALSE(Doc().IsModified());
}

TEST_F(MainOds, ARefusedSpreadsheetChangesNothing) {
  Start();
  const std::string mime = "application/vnd.oasis.opendocument.spreadsheet";
  const std::string refusedValue =
      "<office:document-content"
      " xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
      " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
      " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
      "<office:spreadsheet><table:table table:name=\"Free Channels\">"
      "<table:table-row><table:table-cell><text:p>Page</text:p></table:table-cell>"
      "<table:table-cell><text:p>GI_Sheet_FreeCh</text:p></table:table-cell></table:table-row>"
      "<table:table-row><table:table-cell><text:p>No.</text:p></table:table-cell>"
      "<table:table-cell><text:p>Receive (MHz)</text:p></table:table-cell></table:table-row>"
      "<table:table-row><table:table-cell><text:p>2</text:p></table:table-cell>"
      "<table:table-cell office:value-type=\"float\" office:value=\"999.99999\">"
      "<text:p>999.99999</text:p></table:table-cell></table:table-row>"
      "</table:table></office:spreadsheet></office:body></office:document-content>";
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> said;
  };
  const std::vector<Case> cases = {
      {"no zip",
       "Page,GI_Sheet_FreeCh,Free Channels\r\n",
       {"cannot be read as an OpenDocument spreadsheet", "not a zip archive"}},
      {"a refused value",
       spreadsheet::ZipOf({{"mimetype", mime, true}, {"content.xml", refusedValue, false}}).value(),
       {"Line 3, Free Channels, row '2', column 'Receive (MHz)'", "999.99999"}},
  };
  const cmcEeprom before(Doc().Working());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(Path("bad.ods"), c.bytes);
    responder.Clear();
    Choose(CL_Menu_File_ImportCsv, Path("bad.ods"));
    ASSERT_EQ(responder.Count(), 1);
    for (const std::string& part : c.said)
      EXPECT_NE(responder.Last().text.find(part), std::string::npos) << responder.Last().text;
    EXPECT_TRUE(Doc().Working().Equals(before));
    EXPECT_FALSE(Doc().IsModified());
  }
}

}  // namespace
