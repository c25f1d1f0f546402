// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/list_table.h"

#include <QHeaderView>
#include <QTableWidget>

QTableWidget* NewListTable(QWidget* parent, int rows, const QStringList& captions) {
  auto* table = new QTableWidget(rows, static_cast<int>(captions.size()), parent);
  table->setHorizontalHeaderLabels(captions);
  table->verticalHeader()->hide();
  // As close as the sheets' rows: a long list should not need much scrolling.
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}
