// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/file_dialogs.h"

#include <QFileDialog>
#include <QStringList>

namespace {

QFileDialog* MakeDialog(QWidget* owner, const cuiFileDialogs::Request& request) {
  auto* dialog = new QFileDialog(owner);
  dialog->setAttribute(Qt::WA_DeleteOnClose, false);
  dialog->setDirectory(QString::fromStdString(request.directory));
  dialog->setNameFilter(QString::fromStdString(QtFilterFromOverlay(request.filter)));
  dialog->setDefaultSuffix(QString::fromStdString(request.extension));
  dialog->setOption(QFileDialog::ReadOnly, false);
  dialog->setSizeGripEnabled(true);
  return dialog;
}

std::optional<std::string> Run(QFileDialog* dialog) {
  std::optional<std::string> chosen;
  if (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty())
    chosen = dialog->selectedFiles().front().toStdString();
  delete dialog;
  return chosen;
}

}  // namespace

std::string QtFilterFromOverlay(const std::string& filter) {
  const QString text = QString::fromStdString(filter);
  if (!text.contains(QLatin1Char('|'))) return filter;
  const QStringList parts = text.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // Windows names the patterns in the caption already; Qt adds them itself.
    QString name = parts[i];
    const qsizetype paren = name.indexOf(QLatin1Char('('));
    if (paren > 0) name = name.left(paren).trimmed();
    filters << name + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;")).toStdString();
}

std::optional<std::string> cuiQtFileDialogs::ChooseOpen(QWidget* owner, const Request& request) {
  QFileDialog* dialog = MakeDialog(owner, request);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  return Run(dialog);
}

std::optional<std::string> cuiQtFileDialogs::ChooseSave(QWidget* owner, const Request& request) {
  QFileDialog* dialog = MakeDialog(owner, request);
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, request.appends);
  dialog->selectFile(QString::fromStdString(request.fileName));
  return Run(dialog);
}
