// SPDX-License-Identifier: GPL-3.0-or-later
// The platform's save dialog as the main window opens it: a clone file or
// an export asks before overwriting, a log that only grows does not.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFileDialog>
#include <QTimer>

#include "shell/file_dialogs.h"

namespace {

struct OverwriteCase {
  const char* name;
  bool appends;
  bool asks;
};

class SaveDialogOverwrite : public ::testing::TestWithParam<OverwriteCase> {};

TEST_P(SaveDialogOverwrite, AsksOnlyWhenTheFileWouldBeReplaced) {
  cuiFileDialogs::Request request;
  request.fileName = "fleet.log.csv";
  request.filter = "CSV|*.csv";
  request.appends = GetParam().appends;

  bool seen = false;
  bool asks = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = true;
    asks = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    dialog->reject();
  });
  cuiQtFileDialogs dialogs;
  EXPECT_FALSE(dialogs.ChooseSave(nullptr, request).has_value());
  ASSERT_TRUE(seen);
  EXPECT_EQ(asks, GetParam().asks);
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveDialogOverwrite,
                         ::testing::Values(OverwriteCase{"ReplacedFile", false, true},
                                           OverwriteCase{"AppendedLog", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
