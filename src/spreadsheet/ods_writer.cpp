// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/ods_writer.h"

#include <QXmlStreamWriter>

#include <algorithm>
#include <map>
#include <tuple>

#include "spreadsheet/sheet_names.h"
#include "spreadsheet/zip_archive.h"
#include "text/csv_records.h"

namespace spreadsheet {
namespace {

using layout::ExportCell;
using layout::ExportKind;
using layout::ExportPage;

constexpr char kMimeType[] = "application/vnd.oasis.opendocument.spreadsheet";
constexpr char kOffice[] = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr char kStyle[] = "urn:oasis:names:tc:opendocument:xmlns:style:1.0";
constexpr char kText[] = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr char kTable[] = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr char kNumber[] = "urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0";
constexpr char kFo[] = "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0";
constexpr char kOf[] = "urn:oasis:names:tc:opendocument:xmlns:of:1.2";
constexpr char kConfig[] = "urn:oasis:names:tc:opendocument:xmlns:config:1.0";
constexpr char kManifest[] = "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The digits a number cell shows, so that the spreadsheet shows (and
// saves) the same text: "156.80000" keeps its five decimals, "05" its zero.
struct Digits {
  int integer = 1;
  int decimals = 0;
  bool operator<(const Digits& o) const {
    return std::tie(integer, decimals) < std::tie(o.integer, o.decimals);
  }
};

Digits DigitsOf(const std::string& number) {
  std::string digits = number;
  if (!digits.empty() && digits[0] == '-') digits.erase(0, 1);
  const std::size_t point = digits.find('.');
  const std::string whole = digits.substr(0, point);
  Digits out;
  out.integer = whole.size() > 1 && whole[0] == '0' ? static_cast<int>(whole.size()) : 1;
  out.decimals = point == std::string::npos ? 0 : static_cast<int>(digits.size() - point - 1);
  return out;
}

QString StyleName(const Digits& d) {
  return QStringLiteral("ceN%1_%2").arg(d.integer).arg(d.decimals);
}

// Text as ODF paragraphs keep it: a line per paragraph, runs of spaces (and
// spaces at either end, which readers drop) as text:s, tabs as text:tab.
void WriteParagraphs(QXmlStreamWriter& xml, const std::string& value) {
  const QString text = Q(value);
  for (const QString& line : text.split('\n')) {
    xml.writeStartElement(kText, "p");
    QString run;
    int i = 0;
    while (i < line.size()) {
      const QChar c = line[i];
      if (c == ' ') {
        int spaces = 0;
        while (i < line.size() && line[i] == ' ') ++spaces, ++i;
        const bool edge = run.isEmpty() && i - spaces == 0;
        const bool atEnd = i == line.size();
        if (!edge && !atEnd) {
          run += ' ';
          --spaces;
        }
        if (!run.isEmpty()) xml.writeCharacters(run);
        run.clear();
        if (spaces > 0) {
          xml.writeStartElement(kText, "s");
          if (spaces > 1) xml.writeAttribute(kText, "c", QString::number(spaces));
          xml.writeEndElement();
        }
        continue;
      }
      if (c == '\t') {
        if (!run.isEmpty()) xml.writeCharacters(run);
        run.clear();
        xml.writeEmptyElement(kText, "tab");
      } else if (c != '\r') {
        run += c;
      }
      ++i;
    }
    if (!run.isEmpty()) xml.writeCharacters(run);
    xml.writeEndElement();
  }
}

// One validation per distinct list of values; the spreadsheet refuses a
// typed value outside it and offers the list in a drop-down.
class Validations {
 public:
  QString NameFor(const std::vector<std::string>& choices, const std::string& address) {
    auto [at, added] = byList_.try_emplace(choices, QString());
    if (added) {
      at->second = QStringLiteral("val%1").arg(byList_.size());
      order_.push_back({at->second, choices, address});
    }
    return at->second;
  }

  void Write(QXmlStreamWriter& xml) const {
    if (order_.empty()) return;
    xml.writeStartElement(kTable, "content-validations");
    for (const Entry& entry : order_) {
      QString list;
      QString shown;
      for (const std::string& choice : entry.choices) {
        QString quoted = Q(choice);
        quoted.replace('"', "\"\"");
        list += (list.isEmpty() ? "\"" : ";\"") + quoted + "\"";
        shown += (shown.isEmpty() ? "" : ", ") + Q(choice);
      }
      xml.writeStartElement(kTable, "content-validation");
      xml.writeAttribute(kTable, "name", entry.name);
      xml.writeAttribute(kTable, "condition", "of:cell-content-is-in-list(" + list + ")");
      xml.writeAttribute(kTable, "allow-empty-cell", "false");
      xml.writeAttribute(kTable, "display-list", "unsorted");
      xml.writeAttribute(kTable, "base-cell-address", Q(entry.address));
      xml.writeStartElement(kTable, "error-message");
      xml.writeAttribute(kTable, "message-type", "stop");
      xml.writeAttribute(kTable, "display", "true");
      xml.writeAttribute(kTable, "title", "Not a value the radio takes");
      WriteParagraphs(xml, "Pick one of: " + shown.toStdString());
      xml.writeEndElement();
      xml.writeEndElement();
    }
    xml.writeEndElement();
  }

 private:
  struct Entry {
    QString name;
    std::vector<std::string> choices;
    std::string address;
  };
  std::map<std::vector<std::string>, QString> byList_;
  std::vector<Entry> order_;
};

void StartDocument(QXmlStreamWriter& xml, const char* root) {
  xml.writeStartDocument();
  xml.writeNamespace(kOffice, "office");
  xml.writeNamespace(kStyle, "style");
  xml.writeNamespace(kText, "text");
  xml.writeNamespace(kTable, "table");
  xml.writeNamespace(kNumber, "number");
  xml.writeNamespace(kFo, "fo");
  xml.writeNamespace(kOf, "of");
  xml.writeNamespace(kConfig, "config");
  xml.writeStartElement(kOffice, root);
  xml.writeAttribute(kOffice, "version", "1.3");
}

void WriteStyles(QXmlStreamWriter& xml, const std::vector<Digits>& numbers,
                 const std::vector<int>& widths) {
  xml.writeStartElement(kOffice, "automatic-styles");
  for (std::size_t i = 0; i < widths.size(); ++i) {
    xml.writeStartElement(kStyle, "style");
    xml.writeAttribute(kStyle, "name", QStringLiteral("co%1").arg(widths[i]));
    xml.writeAttribute(kStyle, "family", "table-column");
    xml.writeEmptyElement(kStyle, "table-column-properties");
    xml.writeAttribute(kStyle, "column-width", QStringLiteral("%1mm").arg(widths[i]));
    xml.writeEndElement();
  }
  // Text cells carry the text format ("@"), so that what the user types
  // there stays text too: "06" is not turned into 6.
  xml.writeStartElement(kNumber, "text-style");
  xml.writeAttribute(kStyle, "name", "Ntext");
  xml.writeEmptyElement(kNumber, "text-content");
  xml.writeEndElement();
  for (const Digits& d : numbers) {
    xml.writeStartElement(kNumber, "number-style");
    xml.writeAttribute(kStyle, "name", QStringLiteral("N%1_%2").arg(d.integer).arg(d.decimals));
    xml.writeEmptyElement(kNumber, "number");
    xml.writeAttribute(kNumber, "decimal-places", QString::number(d.decimals));
    xml.writeAttribute(kNumber, "min-integer-digits", QString::number(d.integer));
    xml.writeEndElement();
  }
  const auto cellStyle = [&](const QString& name, const QString& data, bool bold) {
    xml.writeStartElement(kStyle, "style");
    xml.writeAttribute(kStyle, "name", name);
    xml.writeAttribute(kStyle, "family", "table-cell");
    xml.writeAttribute(kStyle, "data-style-name", data);
    if (bold) {
      xml.writeEmptyElement(kStyle, "text-properties");
      xml.writeAttribute(kFo, "font-weight", "bold");
    }
    xml.writeEndElement();
  };
  cellStyle("ceText", "Ntext", false);
  cellStyle("ceCaption", "Ntext", true);
  for (const Digits& d : numbers)
    cellStyle(StyleName(d), QStringLiteral("N%1_%2").arg(d.integer).arg(d.decimals), false);
  xml.writeEndElement();
}

void WriteTextCell(QXmlStreamWriter& xml, const std::string& text, const QString& style,
                   const QString& validation = {}) {
  xml.writeStartElement(kTable, "table-cell");
  xml.writeAttribute(kTable, "style-name", style);
  if (!validation.isEmpty()) xml.writeAttribute(kTable, "content-validation-name", validation);
  if (!text.empty()) {
    xml.writeAttribute(kOffice, "value-type", "string");
    WriteParagraphs(xml, text);
  }
  xml.writeEndElement();
}

constexpr int kNarrowest = 15;

// A column as wide as its longest text, in millimetres, a little over what
// the default font needs.
int WidthOf(const ExportPage& page, std::size_t column) {
  std::size_t longest = 0;
  for (const auto& row : page.rows) {
    if (column < row.size())
      longest = std::max<std::size_t>(longest, Q(row[column].text).trimmed().size());
  }
  return std::clamp(static_cast<int>(longest) * 2 + 4, kNarrowest, 80);
}

void WriteTable(QXmlStreamWriter& xml, const ExportPage& page, const std::string& name,
                const std::string& model, Validations& validations) {
  xml.writeStartElement(kTable, "table");
  xml.writeAttribute(kTable, "name", Q(name));
  const std::size_t columns = page.rows.empty() ? 0 : page.rows.front().size();
  for (std::size_t c = 0; c < std::max<std::size_t>(columns, 4); ++c) {
    xml.writeEmptyElement(kTable, "table-column");
    xml.writeAttribute(kTable, "style-name",
                       QStringLiteral("co%1").arg(c < columns ? WidthOf(page, c) : kNarrowest));
    xml.writeAttribute(kTable, "default-cell-style-name", "ceText");
  }
  xml.writeStartElement(kTable, "table-row");
  for (const std::string& field : {std::string("Page"), page.key, page.title, model})
    WriteTextCell(xml, field, "ceText");
  xml.writeEndElement();
  for (std::size_t r = 0; r < page.rows.size(); ++r) {
    xml.writeStartElement(kTable, "table-row");
    for (std::size_t c = 0; c < page.rows[r].size(); ++c) {
      const ExportCell& cell = page.rows[r][c];
      switch (cell.kind) {
        case ExportKind::kCaption:
          WriteTextCell(xml, cell.text, r == 0 ? "ceCaption" : "ceText");
          break;
        case ExportKind::kText: WriteTextCell(xml, cell.text, "ceText"); break;
        case ExportKind::kChoice:
          WriteTextCell(xml, cell.text, "ceText",
                        validations.NameFor(cell.choices, CellAddress(name, static_cast<int>(c),
                                                                      static_cast<int>(r) + 1)));
          break;
        case ExportKind::kNumber: {
          const std::string number = text::Trimmed(cell.text);
          xml.writeStartElement(kTable, "table-cell");
          xml.writeAttribute(kTable, "style-name", StyleName(DigitsOf(number)));
          xml.writeAttribute(kOffice, "value-type", "float");
          xml.writeAttribute(kOffice, "value", Q(number));
          xml.writeTextElement(kText, "p", Q(number));
          xml.writeEndElement();
          break;
        }
      }
    }
    xml.writeEndElement();
  }
  xml.writeEndElement();
}

}  // namespace

std::string OdsContent(const std::vector<ExportPage>& pages, const std::string& model) {
  std::vector<std::string> titles;
  for (const ExportPage& page : pages) titles.push_back(page.title);
  const std::vector<std::string> names = SheetNames(titles);

  std::vector<Digits> numbers;
  std::vector<int> widths{kNarrowest};
  for (const ExportPage& page : pages) {
    const std::size_t columns = page.rows.empty() ? 0 : page.rows.front().size();
    for (std::size_t c = 0; c < columns; ++c) widths.push_back(WidthOf(page, c));
    for (const auto& row : page.rows) {
      for (const ExportCell& cell : row) {
        if (cell.kind == ExportKind::kNumber) numbers.push_back(DigitsOf(text::Trimmed(cell.text)));
      }
    }
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end(),
                            [](const Digits& a, const Digits& b) { return !(a < b) && !(b < a); }),
                numbers.end());
  std::sort(widths.begin(), widths.end());
  widths.erase(std::unique(widths.begin(), widths.end()), widths.end());

  // The validations stand before the tables in the file: a first pass
  // names them, the writing pass finds the same names.
  Validations validations;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    for (std::size_t r = 0; r < pages[p].rows.size(); ++r) {
      for (std::size_t c = 0; c < pages[p].rows[r].size(); ++c) {
        const ExportCell& cell = pages[p].rows[r][c];
        if (cell.kind == ExportKind::kChoice)
          validations.NameFor(cell.choices,
                              CellAddress(names[p], static_cast<int>(c), static_cast<int>(r) + 1));
      }
    }
  }

  QByteArray out;
  QXmlStreamWriter xml(&out);
  StartDocument(xml, "document-content");
  WriteStyles(xml, numbers, widths);
  xml.writeStartElement(kOffice, "body");
  xml.writeStartElement(kOffice, "spreadsheet");
  validations.Write(xml);
  for (std::size_t p = 0; p < pages.size(); ++p)
    WriteTable(xml, pages[p], names[p], model, validations);
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  return out.toStdString();
}

std::string OdsSettings(const std::vector<std::string>& sheetNames) {
  QByteArray out;
  QXmlStreamWriter xml(&out);
  StartDocument(xml, "document-settings");
  const auto item = [&](const char* name, const char* type, const QString& value) {
    xml.writeStartElement(kConfig, "config-item");
    xml.writeAttribute(kConfig, "name", name);
    xml.writeAttribute(kConfig, "type", type);
    xml.writeCharacters(value);
    xml.writeEndElement();
  };
  xml.writeStartElement(kOffice, "settings");
  xml.writeStartElement(kConfig, "config-item-set");
  xml.writeAttribute(kConfig, "name", "ooo:view-settings");
  xml.writeStartElement(kConfig, "config-item-map-indexed");
  xml.writeAttribute(kConfig, "name", "Views");
  xml.writeStartElement(kConfig, "config-item-map-entry");
  item("ViewId", "string", "view1");
  xml.writeStartElement(kConfig, "config-item-map-named");
  xml.writeAttribute(kConfig, "name", "Tables");
  // The page record and the column captions stay in view: the split is
  // frozen (mode 2) below the second row, and the cursor starts below it.
  for (const std::string& name : sheetNames) {
    xml.writeStartElement(kConfig, "config-item-map-entry");
    xml.writeAttribute(kConfig, "name", Q(name));
    item("CursorPositionX", "int", "1");
    item("CursorPositionY", "int", "2");
    item("HorizontalSplitMode", "short", "0");
    item("VerticalSplitMode", "short", "2");
    item("HorizontalSplitPosition", "int", "0");
    item("VerticalSplitPosition", "int", "2");
    item("ActiveSplitRange", "short", "2");
    item("PositionLeft", "int", "0");
    item("PositionRight", "int", "0");
    item("PositionTop", "int", "0");
    item("PositionBottom", "int", "2");
    xml.writeEndElement();
  }
  xml.writeEndElement();
  if (!sheetNames.empty()) item("ActiveTable", "string", Q(sheetNames.front()));
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  return out.toStdString();
}

std::optional<std::string> OdsFile(const std::vector<ExportPage>& pages, const std::string& model) {
  std::vector<std::string> titles;
  for (const ExportPage& page : pages) titles.push_back(page.title);

  QByteArray manifest;
  {
    QXmlStreamWriter xml(&manifest);
    xml.writeStartDocument();
    xml.writeNamespace(kManifest, "manifest");
    xml.writeStartElement(kManifest, "manifest");
    xml.writeAttribute(kManifest, "version", "1.3");
    const auto entry = [&](const char* path, const char* type) {
      xml.writeEmptyElement(kManifest, "file-entry");
      xml.writeAttribute(kManifest, "full-path", path);
      xml.writeAttribute(kManifest, "media-type", type);
    };
    entry("/", kMimeType);
    entry("content.xml", "text/xml");
    entry("settings.xml", "text/xml");
    xml.writeEndElement();
    xml.writeEndDocument();
  }
  // The mimetype entry first and uncompressed: that is how a program tells
  // an OpenDocument file from any other zip.
  return ZipOf({{"mimetype", kMimeType, true},
                {"content.xml", OdsContent(pages, model), false},
                {"settings.xml", OdsSettings(SheetNames(titles)), false},
                {"META-INF/manifest.xml", manifest.toStdString(), false}});
}

}  // namespace spreadsheet
