// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The clone information dialog: the page "GI_Sheet_CloneInfo" (or any
// sheet key) in a bevelled panel with an OK button, sized to the page,
// centred over its owner and kept inside the owner's work area. It is
// modeless, but its owner is disabled while it exists; closing it deletes
// it, which enables the owner again.
//
//   new cuiInformation(bus, mainWindow, caption, table, "GI_Sheet_CloneInfo", &images);

#include <QDialog>
#include <memory>
#include <string>

class QPushButton;
class cmcEvMan;
class cmcGTex;
class cuiImageList;
class iuiSheet;

class cuiInformation : public QDialog {
 public:
  // Shows the dialog at once.
  cuiInformation(cmcEvMan& bus, QWidget* owner, const std::string& caption, cmcGTex& table,
                 const std::string& sheetKey, const cuiImageList* images);
  ~cuiInformation() override;

  iuiSheet& Sheet() { return *sheet_; }
  QPushButton* Button() const { return button_; }

 private:
  QWidget* owner_;
  std::unique_ptr<iuiSheet> sheet_;
  QPushButton* button_ = nullptr;
};
