// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/html_help.h"

#include <QCursor>
#include <QFileInfo>
#include <cstdlib>

#include "output/html_help_engine.h"
#include "output/html_help_popup.h"
#include "output/html_help_windows.h"
#include "platform/message_box.h"
#include "platform/qt/screens_qt.h"
#include "radio/clone_man_message.h"
#include "text/gtex.h"

namespace {

constexpr const char* kMapKey = "GI_AppItem_CellName_to_ContextID";

int NumberLine(cmcGTex& table, const char* key, int fallback) {
  std::string text;
  if (!table.TryLine(key, 0, &text)) return fallback;
  const int value = std::atoi(text.c_str());
  return value > 0 ? value : fallback;
}

}  // namespace

cuiHtmlHelp::cuiHtmlHelp(cmcGTex& helpTable, QWidget* parent)
    : helpTable_(helpTable), parent_(parent), engine_(std::make_unique<helpview::Engine>()) {}

cuiHtmlHelp::~cuiHtmlHelp() {
  // The windows hold widgets of the engine: they go first.
  delete contents_.data();
  delete popup_.data();
}

bool cuiHtmlHelp::Available() const { return engine_->Loaded(); }

std::string cuiHtmlHelp::HelpFilePath(cmcGTex& helpTable, const std::string& dataDir) {
  return dataDir + helpTable.Line("GI_Sys_MyHelpFile", 0);
}

int cuiHtmlHelp::ContextNumber(cmcGTex& helpTable, const std::string& cellName) {
  std::string line;
  for (int n = 0; helpTable.TryLine(kMapKey, n, &line) && line != "#"; ++n) {
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos && line.compare(0, tab, cellName) == 0 && tab == cellName.size()) {
      return std::atoi(line.c_str() + tab + 1);
    }
  }
  return 0;
}

int cuiHtmlHelp::ShowContents(const std::string& path) { return ShowTopic(path, 0); }

int cuiHtmlHelp::ShowTopic(const std::string& path, int number) {
  if (!engine_->Loaded()) return kNoHelp;
  int result = kNoFile;
  if (engine_->Open(path)) {
    const QUrl topic = number == 0 ? engine_->Home() : engine_->Topic(number);
    if (topic.isValid()) {
      ShowInContents(topic);
      result = kShown;
    } else {
      result = kNoTopic;
    }
  }
  Report(result, path);
  return result;
}

void cuiHtmlHelp::ShowInContents(const QUrl& page) {
  if (!contents_) contents_ = new helpview::ContentsWindow(*engine_, parent_);
  contents_->View()->setSource(page);
  contents_->show();
  contents_->raise();
  contents_->activateWindow();
}

int cuiHtmlHelp::ShowContext(const std::string& path, int number) {
  return ShowContext(path, number, QCursor::pos());
}

int cuiHtmlHelp::ShowContext(const std::string& path, int number, QPoint pointer) {
  if (!engine_->Loaded()) return kNoHelp;
  // A popup already up keeps its size for the next topic; it is hidden
  // while the topic is looked up, and comes back if there is none.
  QRect remembered;
  const bool hadPopup = popup_ && popup_->isVisible();
  if (hadPopup) {
    remembered = popup_->geometry();
    popup_->hide();
  } else if (!popup_) {
    DefinePopup(pointer);
  }
  int result = kShown;
  const QUrl topic = engine_->Open(path) ? engine_->Topic(number) : QUrl();
  if (topic.isValid()) {
    popup_->View()->setSource(topic);
    PositionPopup(pointer, remembered);
  } else if (QFileInfo::exists(QString::fromStdString(path))) {
    if (hadPopup) {
      popup_->setAttribute(Qt::WA_ShowWithoutActivating, true);
      popup_->show();
      popup_->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    result = kNoTopic;
  } else {
    result = kNoFile;
  }
  Report(result, path);
  return result;
}

void cuiHtmlHelp::DefinePopup(QPoint pointer) {
  const QSize size(NumberLine(helpTable_, "GI_Sys_HtmlHelp_Popup_Width", 400),
                   NumberLine(helpTable_, "GI_Sys_HtmlHelp_Popup_Height", 300));
  popup_ = new helpview::PopupWindow(*engine_, parent_);
  // The popup is one topic's window: a link to another page of the manual
  // opens the help window there, with the contents beside it.
  popup_->View()->SetManualLinkHandler([this](const QUrl& page) { ShowInContents(page); });
  popup_->resize(size);
  popup_->move(helppopup::FirstPlace(pointer, size));
}

void cuiHtmlHelp::PositionPopup(QPoint pointer, const QRect& remembered) {
  const QSize size = helppopup::ReusedSize(remembered, popup_->size());
  const QRect work = platform::WorkAreaAtPoint(pointer);
  popup_->resize(size);
  popup_->move(helppopup::Place(pointer, work, size));
  popup_->show();
}

void cuiHtmlHelp::Report(int result, const std::string& path) {
  if (result != kNoFile && result != kNoTopic) return;
  std::string caption;
  if (!(gGTex && gGTex->TryLine("GI_Sys_AppTitle", 0, &caption)))
    helpTable_.TryLine("GI_Sys_AppTitle", 0, &caption);
  if (result == kNoFile) {
    platform::ShowMessage(cloneman::FormatText(helpTable_.Line("GI_Sys_HtmlHelp_Error", 0), path),
                          caption, platform::kMbOk | platform::kMbIconStop);
  } else {
    platform::ShowMessage(helpTable_.Line("GI_Sys_HtmlHelp_Error", 1), caption,
                          platform::kMbOk | platform::kMbIconExclamation);
  }
}

QWidget* cuiHtmlHelp::ContentsWindow() const { return contents_; }
QWidget* cuiHtmlHelp::PopupWindow() const { return popup_; }

std::string cuiHtmlHelp::PopupSource() const {
  return popup_ ? popup_->View()->source().toString().toStdString() : std::string();
}

std::string cuiHtmlHelp::ContentsSource() const {
  return contents_ ? contents_->View()->source().toString().toStdString() : std::string();
}
