// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The read-only table of cells a dialog lists (a comparison, an import's
// changes): whole rows selected, one at a time, the last column stretched.

#include <QStringList>

class QTableWidget;
class QWidget;

QTableWidget* NewListTable(QWidget* parent, int rows, const QStringList& captions);
