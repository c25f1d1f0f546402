// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/cell.h"

#include <cstdio>

#include "platform/fatal.h"
#include "text/colour_names.h"
#include "text/font_syntax.h"
#include "text/gtex.h"
#include "text/syntax.h"

namespace {

// "$name" items may name further models; a model that names itself would
// otherwise recurse until the stack runs out.
constexpr int kMaxModelDepth = 16;

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

// Position of the first occurrence of c that no backslash escapes (a
// backslash makes the next byte literal), or npos.
std::size_t FindUnescaped(std::string_view text, char c, std::size_t from = 0) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == c) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::string_view AfterFirstEquals(std::string_view item, bool* found) {
  const std::size_t eq = item.find('=');
  *found = eq != std::string_view::npos;
  return *found ? item.substr(eq + 1) : std::string_view();
}

std::string CellModelText(const std::string& name) {
  const std::string key = "CellModel_" + name;
  if (!gGTex) platform::Fatal("GTEX Error !\nThe index '" + key + "' was not found.");
  return gGTex->Text(key);
}

// The counters are attached for one parse only, even when a fatal stop
// unwinds through it.
class CounterAttachment {
 public:
  CounterAttachment(std::int32_t*& slot, std::int32_t* counters) : slot_(slot) { slot_ = counters; }
  ~CounterAttachment() { slot_ = nullptr; }
  CounterAttachment(const CounterAttachment&) = delete;
  CounterAttachment& operator=(const CounterAttachment&) = delete;

 private:
  std::int32_t*& slot_;
};

}  // namespace

cmcCellObj::cmcCellObj() = default;
cmcCellObj::~cmcCellObj() = default;
cmcCellObj::cmcCellObj(cmcCellObj&&) noexcept = default;
cmcCellObj& cmcCellObj::operator=(cmcCellObj&&) noexcept = default;

cmcCellObj::cmcCellObj(const cmcCellObj& other) { *this = other; }

cmcCellObj& cmcCellObj::operator=(const cmcCellObj& other) {
  if (this == &other) return *this;
  parent_ = other.parent_;
  counters_ = nullptr;
  category_ = other.category_;
  cell_ = other.cell_;
  number_ = other.number_;
  parameter_ = other.parameter_;
  imageIndex_ = other.imageIndex_;
  layout_ = other.layout_;
  state_ = other.state_;
  extra_ = other.extra_;
  color_ = other.color_;
  SetFont(other.font_.get());
  popupMenu_ = other.popupMenu_;
  caption_ = other.caption_;
  return *this;
}

std::string cmcCellObj::Parse(std::string_view row, const cmcCellObj* parent,
                              std::int32_t* counters, bool skipParse) {
  parent_ = parent;
  const std::size_t bar = FindUnescaped(row, '|');
  ResetToParent();
  if (!skipParse) {
    CounterAttachment attach(counters_, counters);
    ParseText(row.substr(0, bar));
  }
  return bar == std::string_view::npos ? std::string() : std::string(row.substr(bar + 1));
}

void cmcCellObj::ResetToParent() {
  parameter_.reset();
  caption_.reset();
  font_.reset();
  popupMenu_.reset();
  // A reused cell parsed without a parent must not keep the binding of the
  // definition it held before.
  category_ = CT_NoCategory;
  cell_ = CL_NoCell;
  number_ = 0;
  imageIndex_ = -1;
  layout_ = state_ = extra_ = 0;
  color_ = kDefaultColor;
  if (!parent_ || parent_ == this) return;
  category_ = parent_->category_;
  cell_ = parent_->cell_;
  number_ = parent_->number_;
  imageIndex_ = parent_->imageIndex_;
  layout_ = parent_->layout_;
  state_ = parent_->state_;
  extra_ = parent_->extra_;
  color_ = parent_->color_;
  parameter_ = parent_->parameter_;
  caption_ = parent_->caption_;
}

const std::string& cmcCellObj::Parameter() const { return parameter_ ? *parameter_ : EmptyText(); }
const std::string& cmcCellObj::Caption() const { return caption_ ? *caption_ : EmptyText(); }

void cmcCellObj::SetFont(const platform::FontValue* font) {
  font_ = font ? std::make_unique<platform::FontValue>(*font) : nullptr;
}

std::string cmcCellObj::PopupMenu() const {
  for (const cmcCellObj* c = this; c; c = c->parent_) {
    if (c->popupMenu_ && !c->popupMenu_->empty()) return *c->popupMenu_;
    if (c->parent_ == c) break;
  }
  return {};
}

bool cmcCellObj::Flag(int d) const {
  if (d >= 0 && d < 4) return state_ & (0x10 << d);
  if (d >= 4 && d < 8) return extra_ & (0x01 << (d - 4));
  return false;
}

void cmcCellObj::SetFlag(int d, bool on) {
  std::uint8_t* byte = nullptr;
  std::uint8_t bit = 0;
  if (d >= 0 && d < 4) {
    byte = &state_;
    bit = static_cast<std::uint8_t>(0x10 << d);
  } else if (d >= 4 && d < 8) {
    byte = &extra_;
    bit = static_cast<std::uint8_t>(0x01 << (d - 4));
  } else {
    return;
  }
  *byte = static_cast<std::uint8_t>(on ? *byte | bit : *byte & ~bit);
}

void cmcCellObj::ParseText(std::string_view text) {
  // Split into attribute text (inside braces) and caption text. Escaped
  // pairs travel whole into either part, so "\{" stays a literal brace and
  // the escape is resolved by the part's own reader.
  std::string attributes;
  std::string caption;
  bool inAttributes = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& part = inAttributes ? attributes : caption;
    if (c == '\\' && i + 1 < text.size()) {
      part += text.substr(i, 2);
      ++i;
    } else if (c == '{') {
      inAttributes = true;
    } else if (c == '}' && inAttributes) {
      inAttributes = false;
    } else {
      part += c;
    }
  }
  ParseAttributes(attributes, 0);
  ParseCaption(caption);
}

void cmcCellObj::ParseAttributes(std::string_view text, int depth) {
  auto setBit = [](std::uint8_t& byte, std::uint8_t bit, bool on) {
    byte = static_cast<std::uint8_t>(on ? byte | bit : byte & ~bit);
  };
  bool negate = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case '\\': ++i; continue;
      case '!': negate = true; continue;
      case '(': {
        std::size_t close = FindUnescaped(text, ')', i + 1);
        if (close == std::string_view::npos) close = text.size();
        ParseKeyItem(text.substr(i + 1, close - i - 1), depth);
        i = close;
        break;
      }
      case '<':
      case '^':
      case '>':
        layout_ = static_cast<std::uint8_t>((layout_ & ~0x03) | (c == '<' ? 0 : c == '^' ? 1 : 2));
        break;
      case '~':
      case '-':
      case '_':
        layout_ = static_cast<std::uint8_t>((layout_ & ~0x0C) | ((c == '~'   ? 0
                                                                  : c == '-' ? 1
                                                                             : 2)
                                                                 << 2));
        break;
      case 'W': setBit(layout_, kWidenColumn, !negate); break;
      case 'H': setBit(layout_, kHeightenRow, !negate); break;
      case '+': setBit(layout_, kJoinLeft, !negate); break;
      case 'B': setBit(layout_, kRuleBottom, !negate); break;
      case 'X':
      case 'Q': {
        const std::uint8_t kind = c == 'X' ? 1 : 2;
        state_ = static_cast<std::uint8_t>(negate ? state_ & ~kind : (state_ & ~0x03) | kind);
        break;
      }
      case 'S': setBit(state_, kSelectable, !negate); break;
      case 'T': setBit(state_, kRowMarker, !negate); break;
      default: continue;  // not a code: the negation waits for the next one
    }
    negate = false;
  }
}

void cmcCellObj::ParseKeyItem(std::string_view item, int depth) {
  bool found = false;
  if (item.starts_with('$')) {
    const std::string name(item.substr(1));
    if (depth >= kMaxModelDepth) platform::Fatal("Cell model nested too deeply.\n'" + name + "'");
    ParseAttributes(CellModelText(name), depth + 1);
  } else if (item.starts_with("Color")) {
    const std::string_view value = AfterFirstEquals(item, &found);
    if (found) ColourValue(value, &color_);
  } else if (item.starts_with("Font")) {
    const std::string_view value = AfterFirstEquals(item, &found);
    if (!found) return;
    if (!font_) {
      font_ = parent_ && parent_->font_ ? std::make_unique<platform::FontValue>(*parent_->font_)
                                        : std::make_unique<platform::FontValue>();
    }
    ApplyFontDescriptor(value, *font_);
  } else if (item.starts_with('%')) {
    ParseBinding(item.substr(1));
  } else if (item.starts_with('@')) {
    ParseCounterItem(item);
  } else if (item.starts_with("ImageIndex")) {
    const std::string_view value = AfterFirstEquals(item, &found);
    if (found) imageIndex_ = ReadNumber(value);
  } else if (item.starts_with("PopupMenu")) {
    const std::string_view value = AfterFirstEquals(item, &found);
    if (found) popupMenu_ = std::string(value);
  } else if (item.starts_with("Flag")) {
    if (item.size() < 7 || item[5] != '=') return;
    const char d = item[4];
    const char b = item[6];
    if (d < '0' || d > '7' || (b != '0' && b != '1')) return;
    SetFlag(d - '0', b == '1');
  }
}

int cmcCellObj::CounterRef(std::string_view text, std::size_t* end) const {
  const bool wellFormed = text.size() >= 4 && text.starts_with("@ch") && text[3] >= '0' &&
                          text[3] <= '9' && (text.size() == 4 || text[4] < '0' || text[4] > '9');
  if (!wellFormed || !counters_) platform::Fatal("Ch No. Error");
  *end = 4;
  return text[3] - '0';
}

void cmcCellObj::ParseCounterItem(std::string_view item) {
  std::size_t end = 0;
  const int d = CounterRef(item, &end);
  const std::string_view rest = SkipBlanksView(item.substr(end));
  if (rest.starts_with("++")) {
    counters_[d] = static_cast<std::int32_t>(static_cast<std::uint32_t>(counters_[d]) + 1u);
  } else if (rest.starts_with('=')) {
    counters_[d] = ReadNumber(rest.substr(1));
  }
}

void cmcCellObj::ParseBinding(std::string_view text) {
  // A category comes first when a full stop that no backslash precedes
  // appears anywhere; parameters that hold a full stop escape it.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '.' && (i == 0 || text[i - 1] != '\\')) {
      category_ = CategoryFromName(text.substr(0, i));
      text = text.substr(i + 1);
      break;
    }
  }
  const std::size_t nameEnd = text.find_first_of("[:");
  cell_ = CellFromName(text.substr(0, nameEnd));
  std::string_view rest =
      nameEnd == std::string_view::npos ? std::string_view() : text.substr(nameEnd);

  if (rest.starts_with('[')) {
    const std::size_t close = rest.find(']');
    const std::string_view index =
        rest.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    if (index.starts_with('@')) {
      std::size_t end = 0;
      const int d = CounterRef(index, &end);  // stops the program without counters
      number_ = counters_[d];
    } else {
      number_ = ReadNumber(index);
    }
    rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
  }

  const std::size_t colon = rest.find(':');
  if (colon == std::string_view::npos) return;
  std::string parameter;
  const std::string_view raw = rest.substr(colon + 1);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\\' && ++i == raw.size()) break;
    parameter += raw[i];
  }
  parameter_ = std::move(parameter);
}

void cmcCellObj::ParseCaption(std::string_view text) {
  std::string trimmed(text);
  Trim(trimmed);
  if (trimmed.empty()) return;  // the parent's caption stays
  std::string out;
  for (std::size_t i = 0; i < trimmed.size(); ++i) {
    const char c = trimmed[i];
    if (c != '\\') {
      out += c;
      continue;
    }
    if (i + 1 >= trimmed.size()) break;  // a lone backslash at the end escapes nothing
    const char next = trimmed[++i];
    if (next == 'N' || next == 'n') {
      out += '\n';
    } else if (next == '_') {
      out += ' ';
    } else if (next == '(') {
      const std::size_t close = trimmed.find(')', i + 1);
      if (close == std::string::npos) platform::Fatal("Illegal Ch No.");
      const std::string_view inner = std::string_view(trimmed).substr(i + 1, close - i - 1);
      std::size_t end = 0;
      const int d = CounterRef(inner, &end);
      const auto value =
          static_cast<std::int32_t>(static_cast<std::uint32_t>(counters_[d]) +
                                    static_cast<std::uint32_t>(ReadNumber(inner.substr(end))));
      char digits[7];  // at most six characters, as the cell always showed
      std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
      out += digits;
      i = close;
    } else {
      out += next;
    }
  }
  caption_ = std::move(out);
}
