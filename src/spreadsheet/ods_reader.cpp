// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/ods_reader.h"

#include <QXmlStreamReader>

#include <algorithm>

#include "spreadsheet/zip_archive.h"

namespace spreadsheet {
namespace {

const QString kOffice = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");

// Far beyond any sheet's row count, and far from the int's end.
constexpr std::size_t kLastRow = std::size_t{1} << 30;

constexpr char kMimeType[] = "application/vnd.oasis.opendocument.spreadsheet";

class ContentReader {
 public:
  ContentReader(const std::string& content, std::vector<text::CsvRecord>& records)
      : xml_(QByteArray::fromStdString(content)), records_(records) {}

  bool Read(std::string& error) {
    while (!xml_.atEnd() && !xml_.hasError()) {
      if (xml_.readNext() == QXmlStreamReader::StartElement && Is(kTable, QLatin1String("table")))
        Table();
    }
    if (xml_.hasError()) {
      error = problem_.empty()
                  ? "its content is damaged (line " + std::to_string(xml_.lineNumber()) +
                        " of content.xml: " + xml_.errorString().toStdString() + ")"
                  : problem_;
      return false;
    }
    return true;
  }

 private:
  bool Is(const QString& ns, QLatin1String name) const {
    return xml_.namespaceUri() == ns && xml_.name() == name;
  }

  // A repeat count of the element: at least 1.
  std::size_t Repeat(QLatin1String attribute) const {
    bool ok = false;
    const qulonglong n = xml_.attributes().value(kTable, attribute).toULongLong(&ok);
    // Capped, so that what is counted from it cannot overflow.
    return ok && n > 0 ? static_cast<std::size_t>(std::min<qulonglong>(n, kLastRow)) : 1;
  }

  // Counts what repeats and spaces spell out: a file of a few kilobytes
  // could otherwise ask for gigabytes.
  bool Spend(std::size_t cells, std::size_t bytes) {
    if (cells > kMostCells - std::min(kMostCells, cells_) ||
        bytes > text::kCsvLimit - std::min(text::kCsvLimit, bytes_)) {
      problem_ = "it spells out more than " + std::to_string(kMostCells) + " cells or " +
                 std::to_string(text::kCsvLimit >> 20) + " MB of text, far more than any export";
      xml_.raiseError(QString::fromStdString(problem_));
      return false;
    }
    cells_ += cells;
    bytes_ += bytes;
    return true;
  }

  void Table() {
    const std::string sheet =
        xml_.attributes().value(kTable, QLatin1String("name")).toString().toStdString();
    const std::size_t first = records_.size();
    int row = 0;
    while (!xml_.atEnd() && !xml_.hasError()) {
      const auto token = xml_.readNext();
      if (token == QXmlStreamReader::EndElement && Is(kTable, QLatin1String("table"))) break;
      if (token != QXmlStreamReader::StartElement) continue;
      if (Is(kTable, QLatin1String("table-row"))) {
        Row(row);
      } else if (Is(kOffice, QLatin1String("annotation")) || Is(kTable, QLatin1String("table"))) {
        xml_.skipCurrentElement();
      }
    }
    if (records_.size() > first &&
        !(records_[first].fields.size() >= 2 && records_[first].fields[0] == "Page")) {
      records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(first),
                      text::CsvRecord{records_[first].line, {"Page", sheet}});
    }
    PadToCaptions(first);
  }

  // A cell left empty at a row's end is a value all the same (a channel
  // without a name): the rows below the caption row get their trailing
  // empty fields back, as the CSV of the same page has them.
  void PadToCaptions(std::size_t first) {
    if (records_.size() < first + 2) return;
    const std::size_t width = records_[first + 1].fields.size();
    for (std::size_t i = first + 2; i < records_.size(); ++i) {
      std::vector<std::string>& fields = records_[i].fields;
      if (fields.size() >= width) continue;
      if (!Spend(width - fields.size(), 0)) return;
      fields.resize(width);
    }
  }

  void Row(int& row) {
    const std::size_t repeat = Repeat(QLatin1String("number-rows-repeated"));
    std::vector<std::string> fields;
    std::size_t pendingEmpty = 0;
    while (!xml_.atEnd() && !xml_.hasError()) {
      const auto token = xml_.readNext();
      if (token == QXmlStreamReader::EndElement && Is(kTable, QLatin1String("table-row"))) break;
      if (token != QXmlStreamReader::StartElement) continue;
      if (!Is(kTable, QLatin1String("table-cell")) &&
          !Is(kTable, QLatin1String("covered-table-cell"))) {
        xml_.skipCurrentElement();
        continue;
      }
      const std::size_t cells = Repeat(QLatin1String("number-columns-repeated"));
      const std::string value = Cell();
      if (value.empty()) {
        // Spelt out only when a later cell of the row holds something.
        pendingEmpty += std::min(cells, kMostCells);
        continue;
      }
      if (!Spend(pendingEmpty + cells, cells * value.size())) return;
      fields.resize(fields.size() + pendingEmpty);
      pendingEmpty = 0;
      fields.insert(fields.end(), cells, value);
    }
    if (fields.empty()) {
      // Blank rows (the sheet's unused million) cost nothing.
      row =
          static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(row) + repeat, kLastRow));
      return;
    }
    std::size_t bytes = 0;
    for (const std::string& field : fields) bytes += field.size();
    const std::size_t copies = std::min(repeat, kMostCells) - 1;
    if (copies > 0 && !Spend(fields.size() * copies, bytes * copies)) return;
    for (std::size_t i = 0; i <= copies; ++i) records_.push_back({++row, fields});
  }

  // The text the cell shows: its paragraphs joined by line breaks, or for a
  // value without text (a producer that writes none) the value itself.
  std::string Cell() {
    QString value = xml_.attributes().value(kOffice, QLatin1String("value")).toString();
    if (value.isEmpty())
      value = xml_.attributes().value(kOffice, QLatin1String("string-value")).toString();
    QString shown;
    bool paragraphs = false;
    while (!xml_.atEnd() && !xml_.hasError()) {
      const auto token = xml_.readNext();
      if (token == QXmlStreamReader::EndElement) break;  // the cell's own end
      if (token != QXmlStreamReader::StartElement) continue;
      if (Is(kText, QLatin1String("p")) || Is(kText, QLatin1String("h"))) {
        if (paragraphs) shown += '\n';
        paragraphs = true;
        Paragraph(shown);
      } else {
        xml_.skipCurrentElement();  // a comment (office:annotation), a shape
      }
    }
    return (paragraphs ? shown : value).toStdString();
  }

  // A paragraph's text as ODF lays it down: white space in the XML
  // collapses to one space, text:s, text:tab and text:line-break stand for
  // what they name.
  void Paragraph(QString& out) {
    int depth = 1;
    bool collapsing = true;  // at the start, and after a space of the text
    while (depth > 0 && !xml_.atEnd() && !xml_.hasError()) {
      const auto token = xml_.readNext();
      if (token == QXmlStreamReader::EndElement) {
        --depth;
      } else if (token == QXmlStreamReader::Characters) {
        for (QChar c : xml_.text()) {
          if (c == '\n' || c == '\r' || c == '\t') c = ' ';
          if (c == ' ' && collapsing) continue;
          collapsing = c == ' ';
          out += c;
        }
      } else if (token == QXmlStreamReader::StartElement) {
        if (Is(kText, QLatin1String("s"))) {
          bool ok = false;
          const int n = xml_.attributes().value(kText, QLatin1String("c")).toInt(&ok);
          const int spaces = ok && n > 0 ? n : 1;
          if (!Spend(0, static_cast<std::size_t>(spaces))) return;
          out += QString(spaces, ' ');
          collapsing = false;
          xml_.skipCurrentElement();
        } else if (Is(kText, QLatin1String("tab"))) {
          out += '\t';
          collapsing = false;
          xml_.skipCurrentElement();
        } else if (Is(kText, QLatin1String("line-break"))) {
          out += '\n';
          collapsing = false;
          xml_.skipCurrentElement();
        } else if (Is(kOffice, QLatin1String("annotation")) || Is(kText, QLatin1String("note"))) {
          xml_.skipCurrentElement();
        } else {
          ++depth;  // a span, a link: their text counts
        }
      }
    }
  }

  QXmlStreamReader xml_;
  std::vector<text::CsvRecord>& records_;
  std::size_t cells_ = 0;
  std::size_t bytes_ = 0;
  std::string problem_;
};

}  // namespace

bool ReadOdsContent(const std::string& xml, std::vector<text::CsvRecord>& records,
                    std::string& error) {
  records.clear();
  ContentReader reader(xml, records);
  if (reader.Read(error)) return true;
  records.clear();
  return false;
}

bool ReadOds(const std::string& bytes, std::vector<text::CsvRecord>& records, std::string& error) {
  std::string mimetype;
  switch (ReadZipEntry(bytes, "mimetype", 256, mimetype)) {
    case ZipRead::kNotZip:
      error = "it is no OpenDocument spreadsheet (not a zip archive)";
      return false;
    case ZipRead::kRead:
      if (text::Trimmed(mimetype) != kMimeType) {
        error = "it is no OpenDocument spreadsheet (its type is '" + text::Echoed(mimetype) + "')";
        return false;
      }
      break;
    default: break;  // some writers leave it out; content.xml decides
  }
  std::string content;
  switch (ReadZipEntry(bytes, "content.xml", text::kCsvLimit, content)) {
    case ZipRead::kRead: break;
    case ZipRead::kNotZip:
      error = "it is no OpenDocument spreadsheet (not a zip archive)";
      return false;
    case ZipRead::kMissing:
      error = "it is no OpenDocument spreadsheet (it has no content.xml)";
      return false;
    case ZipRead::kTooLarge:
      error = "its content.xml unpacks to more than " + std::to_string(text::kCsvLimit >> 20) +
              " MB, far more than any export";
      return false;
    case ZipRead::kBroken:
      error = "it is damaged: its content.xml cannot be unpacked";
      return false;
  }
  if (!ReadOdsContent(content, records, error)) return false;
  // An import of nothing is surely the wrong file, not a wish to change nothing.
  if (records.empty()) {
    error = "it holds no rows";
    return false;
  }
  return true;
}

}  // namespace spreadsheet
