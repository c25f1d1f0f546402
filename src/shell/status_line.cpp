// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/status_line.h"

#include <QApplication>
#include <QPainter>

#include "base/events.h"
#include "base/evman.h"
#include "model/evaluator.h"
#include "platform/qt/qt_colour.h"
#include "shell/status_bar.h"

namespace shell {

StatusLine::StatusLine(cmcEvMan& bus)
    : bus_(bus), textColour_(kStatusTextColor), background_(kStatusBackColor) {
  bus_.Subscribe<ev::StatusText>(this, [this](const ev::StatusText& e) {
    if (quiet_ && e.text.empty()) return;
    Set(e.text, e.color, e.background);
  });
}

StatusLine::~StatusLine() { bus_.Unsubscribe(this); }

void StatusLine::Show(const std::string& text) { Set(text, kStatusTextColor, kStatusBackColor); }

void StatusLine::Set(std::string text, std::uint32_t textColour, std::uint32_t background) {
  text_ = std::move(text);
  textColour_ = textColour;
  background_ = background;
  if (bar_) bar_->RepaintPanels();
}

void StatusLine::Draw(QPainter& painter, const QRect& rect) const {
  const QPalette palette = bar_ ? bar_->palette() : QApplication::palette();
  painter.fillRect(rect, platform::ToQColor(background_, palette));
  painter.setPen(platform::ToQColor(textColour_, palette));
  painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(text_));
}

}  // namespace shell
