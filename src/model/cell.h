// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One cell definition: a caption with display attributes, optionally bound
// to a named value of the cell model. Sheets, menus, tool bars and the tree
// all build their items from cell texts in the overlay file; a row of cells
// is one line, cells separated by "|":
//
//   {S>(%CT_UsaCh.CL_ChList_No[@ch1])(@ch1++)}Ch\(@ch0+1)|{<}next cell
//
// Text inside braces is attribute text (codes, and key items in
// parentheses); the rest is the caption. A cell starts from its parent's
// settings, so a sheet's basic cell gives every cell its colour and flags.
//
// Reading a row:
//   std::string rest = line;
//   while (!rest.empty()) { cells.emplace_back(); rest = cells.back().Parse(rest, &basic,
//   counters); }

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/cell_names.h"
#include "platform/font_value.h"

// The triple that sheets use to find a cell again.
struct CellKey {
  int category = CT_NoCategory;
  std::uint32_t cell = CL_NoCell;
  int number = 0;
  friend bool operator==(const CellKey&, const CellKey&) = default;
};

class cmcCellObj {
 public:
  static constexpr int kCounterCount = 10;
  static constexpr std::uint32_t kDefaultColor = 0x80000005;  // clWindow

  // Layout byte.
  static constexpr std::uint8_t kWidenColumn = 0x10;
  static constexpr std::uint8_t kHeightenRow = 0x20;
  static constexpr std::uint8_t kJoinLeft = 0x40;
  static constexpr std::uint8_t kRuleBottom = 0x80;
  // State byte.
  static constexpr std::uint8_t kSelectable = 0x04;
  static constexpr std::uint8_t kRowMarker = 0x08;
  // Flags 0-3, which the evaluator uses as run-time state of command cells.
  static constexpr int kFlagChecked = 0;
  static constexpr int kFlagHidden = 1;
  static constexpr int kFlagDisabled = 2;
  static constexpr int kFlagCaptionReplaced = 3;

  cmcCellObj();
  ~cmcCellObj();
  // Deep copies: strings duplicated, the font cloned, the parent link kept.
  cmcCellObj(const cmcCellObj& other);
  cmcCellObj& operator=(const cmcCellObj& other);
  cmcCellObj(cmcCellObj&&) noexcept;
  cmcCellObj& operator=(cmcCellObj&&) noexcept;

  // Parses the first cell of a row: links the parent, resets to the
  // parent's settings and, unless skipParse is set, reads the text up to
  // the first "|" that no backslash escapes. counters points at
  // kCounterCount counters that "@chN" references read and change; they are
  // used only during this call. Returns the rest of the row after the "|"
  // (empty when there is none).
  std::string Parse(std::string_view row, const cmcCellObj* parent,
                    std::int32_t* counters = nullptr, bool skipParse = false);

  // Back to the defaults, then the parent's plain fields and copies of its
  // parameter and caption; font and popup menu start empty.
  void ResetToParent();

  const cmcCellObj* Parent() const { return parent_; }
  void SetParent(const cmcCellObj* parent) { parent_ = parent; }

  // Binding.
  int Category() const { return category_; }
  void SetCategory(int category) { category_ = category; }
  std::uint32_t Cell() const { return cell_; }
  void SetCell(std::uint32_t cell) { cell_ = cell; }
  int Number() const { return number_; }
  void SetNumber(int number) { number_ = number; }
  CellKey Key() const { return {category_, cell_, number_}; }
  bool HasParameter() const { return parameter_.has_value(); }
  // The text after ":" in the binding; empty when there is none.
  const std::string& Parameter() const;
  void SetParameter(std::optional<std::string> parameter) { parameter_ = std::move(parameter); }

  // Display.
  bool HasCaption() const { return caption_.has_value(); }
  const std::string& Caption() const;
  void SetCaption(std::string_view caption) { caption_ = std::string(caption); }
  void ClearCaption() { caption_.reset(); }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index) { imageIndex_ = index; }
  std::uint32_t Color() const { return color_; }
  void SetColor(std::uint32_t color) { color_ = color; }
  // The cell's own font; none means "the sheet's font".
  const platform::FontValue* Font() const { return font_.get(); }
  void SetFont(const platform::FontValue* font);
  // Own popup menu name if set and not empty, else the parent's, up the
  // chain; empty at the root.
  std::string PopupMenu() const;
  const std::optional<std::string>& OwnPopupMenu() const { return popupMenu_; }

  // The three flag bytes, raw and by meaning.
  std::uint8_t LayoutByte() const { return layout_; }
  std::uint8_t StateByte() const { return state_; }
  std::uint8_t ExtraFlags() const { return extra_; }
  void SetLayoutByte(std::uint8_t b) { layout_ = b; }
  void SetStateByte(std::uint8_t b) { state_ = b; }
  void SetExtraFlags(std::uint8_t b) { extra_ = b; }
  int HorizontalAlign() const { return layout_ & 3; }       // 0 left, 1 centre, 2 right
  int VerticalAlign() const { return (layout_ >> 2) & 3; }  // 0 top, 1 centre, 2 bottom
  bool WidenColumn() const { return layout_ & kWidenColumn; }
  bool HeightenRow() const { return layout_ & kHeightenRow; }
  bool JoinLeft() const { return layout_ & kJoinLeft; }
  bool RuleBottom() const { return layout_ & kRuleBottom; }
  int EdgeRule() const { return state_ & 3; }  // 0 none, 1 (X) or 2 (Q)
  bool Selectable() const { return state_ & kSelectable; }
  bool RowMarker() const { return state_ & kRowMarker; }
  // Flags 0-3 live in state bits 4-7, flags 4-7 in extra bits 0-3.
  bool Flag(int d) const;
  void SetFlag(int d, bool on);

 private:
  void ParseText(std::string_view text);
  void ParseAttributes(std::string_view text, int depth);
  void ParseKeyItem(std::string_view item, int depth);
  void ParseBinding(std::string_view text);
  void ParseCounterItem(std::string_view item);
  void ParseCaption(std::string_view text);
  // Counter d of "@chd" at the start of text; *end receives the position
  // after the reference. A malformed reference or missing counters is fatal.
  int CounterRef(std::string_view text, std::size_t* end) const;

  const cmcCellObj* parent_ = nullptr;
  std::int32_t* counters_ = nullptr;
  int category_ = CT_NoCategory;
  std::uint32_t cell_ = CL_NoCell;
  int number_ = 0;
  std::optional<std::string> parameter_;
  int imageIndex_ = -1;
  std::uint8_t layout_ = 0;
  std::uint8_t state_ = 0;
  std::uint8_t extra_ = 0;
  std::uint32_t color_ = kDefaultColor;
  std::unique_ptr<platform::FontValue> font_;
  std::optional<std::string> popupMenu_;
  std::optional<std::string> caption_;
};
