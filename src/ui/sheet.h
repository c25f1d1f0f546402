// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A page of cells on a grid. The page itself (style, row map, conditions,
// cells, sizes) is a layout::PageLayout; the sheet puts it on a cuiGrid
// inside a parent widget, draws its cells, keeps its column widths in the
// settings store and redraws the cells that an evaluation concerns.
//
//   iuiSheet sheet(panel, nullptr, CL_NoCell, 0, table, "GI_Sheet_IntCh", &images);
//   sheet.SetPageName("GI_Sheet_IntCh");
//   sheet.Build();
//
// Owners call Build once; a new page, or a printout, takes a new sheet.
// The interactive half (cursor moves, multi-selection, keys and mouse, the
// in-place editor and the cell popup menu) lives in sheet_cursor.cpp and
// sheet_editor.cpp.

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "layout/page_context.h"
#include "layout/page_layout.h"
#include "layout/page_text.h"
#include "layout/redraw_relation.h"
#include "model/capsule.h"
#include "model/cell_names.h"
#include "platform/canvas.h"

class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QMouseEvent;
class cuiCellEditor;
class cuiMenu;
class cmcGTex;
class cuiGrid;
class cuiImageList;
class cmcEvMan;

class cuiSheetCanvas;

class cuiSheet {
 public:
  static constexpr int kMinColumnWidth = 10;
  static constexpr int kMaxColumnWidth = 650;
  static constexpr int kWarningImage = 4;
  static constexpr int kErrorImage = 5;

  // initialCell CL_NoCell: no initial cell. owner and images may be null;
  // the owner capsule is copied. The sheet talks to menus, the tree and the
  // main controller over bus.
  cuiSheet(cmcEvMan& bus, QWidget* parent, const cmcCellCapsule* owner, std::uint32_t initialCell,
           int initialNumber, cmcGTex& table, std::string sheetKey, const cuiImageList* images);
  virtual ~cuiSheet();
  cuiSheet(const cuiSheet&) = delete;
  cuiSheet& operator=(const cuiSheet&) = delete;

  // The text after the page reference's first comma, from the main controller.
  virtual void SetExtraText(std::string text) { extraText_ = std::move(text); }
  // Creates the controls, lays the page out and places the cursor.
  virtual void Build();
  virtual std::string GetTitle() const;
  virtual bool IsPrintable() const;
  virtual void LoadColumnWidths();
  virtual void SaveColumnWidths();

  // --- Set before Build.
  void SetPageName(std::string reference) { pageReference_ = std::move(reference); }
  const std::string& PageReference() const { return pageReference_; }
  void SetInitialPosition(int column, int row, int leftCol, int topRow);
  void SetForgetWidths(bool forget) { forgetWidths_ = forget; }
  void SetListMode(bool on) { listMode_ = on; }
  bool ListMode() const { return listMode_; }
  // Lays out for a printer or preview whose vertical resolution is dpi:
  // paddings scale by dpi ÷ screen dpi, and fontSize (a negative character
  // height in printer pixels, 0 for none) replaces the basic cell's height.
  void SetPrinter(int dpi, int fontSize);
  // Draws on a preview bitmap: paddings stay unscaled.
  void SetPreview(bool on) { preview_ = on; }
  bool Printing() const { return printing_; }
  // The cell evaluator by default.
  void SetEvaluator(layout::PageText::EvaluateFunction evaluate) { evaluate_ = evaluate; }
  // Where stored widths are read and written; the product's key by default.
  void SetSettingsKeyPath(std::string keyPath) { keyPath_ = std::move(keyPath); }

  // --- After Build.
  cuiGrid* Grid() const { return grid_; }
  layout::PageLayout& Page() { return *page_; }
  // A slot outside the grid, or before Build, stops the program.
  cmcCellObj& CellAt(int column, int row);
  void ResetScroll();
  int ExtentWidth() const;
  int ExtentHeight() const;
  // The column width that shows every text of column c.
  void FitColumn(int column);

  // Draws a cell onto painter at rect; the grid's drawing and printing both
  // come here.
  void DrawCell(QPainter& painter, int column, int row, const QRect& rect);
  // Invalidates every shown cell that stands in one of mask's relations
  // (layout::RelationBit) to the probe's cell.
  void RedrawRelated(const cmcCellCapsule& probe, unsigned mask);
  // The capsules' change callback: RedrawRelated with the notification flags.
  void OnCapsuleChange(cmcCellCapsule& capsule, int flags);

  // --- Cursor, selection and keys.
  // Steps the cursor to the next selectable cell; a step that finds none in
  // a straight line takes the nearest one further on (not in list mode).
  void MoveCursor(int dx, int dy);
  // Hands a key, a popup command or (text set) a typed text to the cell's
  // evaluator and acts on its answer.
  void SendKey(int column, int row, int action, int popupCommand,
               const std::string* text = nullptr);
  bool MultiSelectionActive() const { return multiActive_; }
  int AnchorColumn() const { return anchorCol_; }
  int AnchorRow() const { return anchorRow_; }
  // Drawn selected: a selected or line-highlighted slot of a multi-selectable row.
  bool SlotMarked(int column, int row) const;

  // --- In-place editor.
  void OpenEditor(int column, int row, const std::string& text, int cursor, int selection);
  // Commits and hides the editor; focusBack returns the focus to the grid.
  void CloseEditor(bool focusBack);
  void CommitEditor();
  cuiCellEditor* Editor() const { return editor_; }

  // --- Cell popup menu.
  QMenu* PopupMenu() const { return popup_; }
  cuiMenu* CellMenu() const { return cellMenu_.get(); }
  const std::string& LastMenuName() const { return lastMenuName_; }

 protected:
  // What the page reads while it lays out. The base fills the display font
  // size and the printing values; iuiSheet adds the document's.
  virtual layout::PageContext MakeContext() const;
  // Drawing shows no highlight under the in-place editor.
  virtual bool EditorShowing() const;
  // Rebuilds the cursor cell's popup menu when the cell or its menu changed.
  virtual void RefreshCellMenu(bool forced);

  cmcGTex& Table() const { return table_; }
  const std::string& SheetKey() const { return sheetKey_; }

 private:
  struct DrawState;

  void CreateControls();
  void ApplyLayout();
  void PlaceCursor();
  std::vector<int> DefaultRowHeights();
  void Subscribe();
  void ClampColumnWidths();
  // Columns that keep stored widths: those with a selectable cell below
  // the fixed rows.
  std::vector<int> WidthColumns() const;
  // Widens every column to the texts its cells show.
  void FitColumnsToTexts();
  // Stored (screen) widths times this are printer pixels.
  double PrintWidthFactor() const;
  void ForgetAllWidths();
  void UpdateTints();
  bool IsHighlighted(int column, int row) const;
  void DrawMarks(QPainter& painter, const DrawState& state, bool error);
  void DrawPrintedMark(QPainter& painter, int x, int y, int size, bool error);

  // Interaction (sheet_cursor.cpp, sheet_editor.cpp).
  void ConnectInteraction();
  bool OnSelectCell(int column, int row);
  bool OnGridKey(QKeyEvent* event);
  bool OnEditorKey(QKeyEvent* event);
  void OnGridFocusGained();
  void OnGridFocusLost();
  void OnMousePress(QMouseEvent* event);
  void OnMouseRelease(QMouseEvent* event);
  void OnMouseMove(QMouseEvent* event);
  void OnDoubleClick(QMouseEvent* event);
  // The cell popup menu below the cursor cell (the keyboard's menu key).
  void OpenMenuAtCursor();
  // The selectable cell a row-marker run at (column, row) leads to.
  std::optional<QPoint> CursorCellFor(int column, int row) const;
  bool Selectable(int column, int row) const;
  // The next selectable cell one step away, or none.
  std::optional<QPoint> StraightStep(QPoint from, int dx, int dy, bool wrap) const;
  std::optional<QPoint> FallbackStep(QPoint from, int dx, int dy) const;
  void UpdateSelection(int oldCol, int oldRow, int newCol, int newRow, bool extend);
  void SetSelected(int column, int row, bool on);
  void RecomputeLineHighlights();
  void EndMultiSelection();
  void PrepareCapsule(cmcCellCapsule& capsule, int column, int row);
  void RebuildSelection(int column, int row, const cmcCellCapsule& capsule);
  void Reposition(const cmcCellCapsule& capsule);
  EvalResult Run(cmcCellCapsule& capsule);
  void HideEditor();
  // Tells the user, in the status bar, when the value typed into a cell was
  // not taken as typed; before is what the cell showed until then.
  void NoteTypedValue(int column, int row, const std::string& typed, const std::string& before);
  // The cell as the user finds it on the page: its row's label and its
  // column's header ("No. 1, Name").
  std::string CellName(int column, int row);
  // What the cell takes, for its tool tip; empty for none.
  QString CellToolTip(int column, int row) const;
  // Moves made by a key that also closed the editor keep the editor's note
  // in the status bar.
  void ClearStatus();
  // Puts the editor over its cell; false when the cell is out of view.
  bool PlaceEditor();
  void FollowEditor();
  void OnEditorReopen(cmcCellCapsule& capsule, int flag);

  cmcEvMan& bus_;
  QWidget* parent_;
  cmcGTex& table_;
  std::string sheetKey_;
  std::string pageReference_;
  std::string extraText_;
  std::string keyPath_;
  std::unique_ptr<cmcCellCapsule> owner_;
  const cuiImageList* images_;
  std::uint32_t initialCell_;
  int initialNumber_;
  bool busy_ = false;
  bool listMode_ = false;
  bool printing_ = false;
  bool preview_ = false;
  int printDpi_ = 0;
  int printFontSize_ = 0;
  double printScale_ = 1.0;
  bool forgetWidths_ = false;
  bool loadingWidths_ = false;
  int storedCol_ = -1;
  int storedRow_ = -1;
  int storedLeft_ = -1;
  int storedTop_ = -1;

  std::unique_ptr<layout::PageLayout> page_;
  std::unique_ptr<layout::PageText> text_;
  layout::PageText::EvaluateFunction evaluate_ = nullptr;
  // Measures captions and evaluated texts outside a paint.
  QImage measureImage_{1, 1, QImage::Format_RGB32};
  std::unique_ptr<QPainter> measurePainter_;
  std::unique_ptr<cuiSheetCanvas> measureCanvas_;
  // The surface of the paint under way.
  std::unique_ptr<cuiSheetCanvas> paintCanvas_;
  QPainter* paintPainter_ = nullptr;

  layout::Tints tints_;
  std::uint32_t window_ = 0;
  std::uint32_t windowText_ = 0;

  QPointer<QWidget> root_;
  QFrame* titlePanel_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QWidget* gridPanel_ = nullptr;
  cuiGrid* grid_ = nullptr;

  platform::Rect capsuleRect_;
  int rememberedCol_ = 0;
  int rememberedRow_ = 0;
  int anchorCol_ = -1;
  int anchorRow_ = -1;
  bool multiActive_ = false;
  bool mouseHeld_ = false;
  bool shiftHeld_ = false;
  int lastMouseCol_ = -1;
  int lastMouseRow_ = -1;
  cuiCellEditor* editor_ = nullptr;
  int editorCol_ = -1;
  int editorRow_ = -1;
  bool editorDetached_ = false;
  bool keepStatus_ = false;
  QMenu* popup_ = nullptr;
  std::unique_ptr<cuiMenu> cellMenu_;
  std::string lastMenuName_;
  int lastMenuCol_ = -1;
  int lastMenuRow_ = -1;
};
