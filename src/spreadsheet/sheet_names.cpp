// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/sheet_names.h"

#include <QSet>
#include <QString>

namespace spreadsheet {
namespace {

constexpr int kLongest = 31;

QString Mended(const std::string& title) {
  QString name = QString::fromStdString(title).simplified();
  for (QChar& c : name) {
    if (QStringLiteral("[]*?:/\\").contains(c) || c.category() == QChar::Other_Control) c = '-';
  }
  while (name.startsWith('\'')) name.remove(0, 1);
  while (name.endsWith('\'')) name.chop(1);
  name = name.left(kLongest).trimmed();
  return name.isEmpty() ? QStringLiteral("Page") : name;
}

}  // namespace

std::vector<std::string> SheetNames(const std::vector<std::string>& titles) {
  std::vector<std::string> names;
  QSet<QString> taken;
  for (const std::string& title : titles) {
    const QString base = Mended(title);
    QString name = base;
    for (int n = 2; taken.contains(name.toCaseFolded()); ++n) {
      const QString suffix = " (" + QString::number(n) + ")";
      name = base.left(kLongest - static_cast<int>(suffix.size())).trimmed() + suffix;
    }
    taken.insert(name.toCaseFolded());
    names.push_back(name.toStdString());
  }
  return names;
}

std::string CellAddress(const std::string& sheet, int column, int row) {
  std::string letters;
  for (int c = column + 1; c > 0; c = (c - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  std::string quoted = "'";
  for (const char c : sheet) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'." + letters + std::to_string(row + 1);
}

}  // namespace spreadsheet
