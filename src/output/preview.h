// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print preview: the pages of a job drawn as the printer draws them,
// scaled to screen resolution, one at a time. Its tool bar pages through
// them, zooms, changes the printer font size ("&Setting") and starts the
// printing ("&Print", which closes the window with Accepted).
//
//   cuiPreview preview(owner, table, &images, caption);
//   preview.SetJob(source, setup, sheets, fontPoints);
//   if (preview.exec() == QDialog::Accepted) ...  // print
//
// The document's command target must stay installed while it is open (see
// SheetPrintout).

#include <QDialog>
#include <QImage>
#include <memory>
#include <vector>

#include "output/sheet_printout.h"

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QToolButton;
class cuiImageList;
class cmcGTex;

class cuiPreview : public QDialog {
 public:
  // images: the main image list (13 to 17 are the tool bar's pictures); may be null.
  cuiPreview(QWidget* owner, cmcGTex& table, const cuiImageList* images, const QString& caption);
  ~cuiPreview() override;

  // Lays out every page of sheets (those that cannot be printed give none)
  // and shows the first. fontPoints is the printer font size setting: the
  // Setting dialog changes it.
  void SetJob(const output::PrintSource& source, const output::PrintSetup& setup,
              std::vector<layout::TreePage> sheets, int& fontPoints);

  int PageCount() const { return static_cast<int>(pages_.size()); }
  // From 0; clamped to the pages there are.
  int CurrentPage() const { return current_; }
  void ShowPage(int page);
  // The Setting dialog's OK: a new font size, every page laid out again.
  void ApplyFontSize(int points);
  // Opens the Setting dialog.
  void RunSetting();
  const QImage& PageImage() const { return image_; }

  QLineEdit* PageEdit() const { return pageEdit_; }
  QPushButton* PrintButton() const { return print_; }
  QPushButton* SettingButton() const { return setting_; }
  QAction* TopAction() const { return top_; }
  QAction* PreviousAction() const { return previous_; }
  QAction* NextAction() const { return next_; }
  QAction* LastAction() const { return last_; }
  QAction* ZoomAction() const { return zoom_; }
  QLabel* StatusPanel() const { return statusPage_; }
  // Where the page is shown, and the room it is shown in.
  QLabel* Picture() const { return picture_; }
  QScrollArea* PageArea() const { return scroll_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Paginate();
  void Render();
  void ShowImage();
  // The fitted page is as large as the viewport allows.
  bool FitsRoom() const;
  void FitWindow();

  cmcGTex& table_;
  output::PrintSource source_;
  output::PrintSetup setup_;
  std::vector<layout::TreePage> sheets_;
  int* fontPoints_ = nullptr;
  std::vector<std::unique_ptr<output::SheetPrintout>> printouts_;
  // Each page and the printout that paints it.
  struct Page {
    output::SheetPrintout* printout;
    output::PrintedPage page;
  };
  std::vector<Page> pages_;
  int current_ = 0;
  QImage image_;

  QPushButton* print_;
  QPushButton* setting_;
  QAction* top_;
  QAction* previous_;
  QLineEdit* pageEdit_;
  QLabel* countLabel_;
  QAction* next_;
  QAction* last_;
  QAction* zoom_;
  QScrollArea* scroll_;
  QLabel* picture_;
  QStatusBar* status_;
  QLabel* statusPage_;
};
