// SPDX-License-Identifier: GPL-3.0-or-later
// The main controller: building the window from its parts, hosting the
// document, closing, and the About box.
#include "shell/main_controller.h"

#include <QApplication>
#include <QMainWindow>
#include <QPainter>
#include <QTreeWidget>

#include "base/events.h"
#include "base/evman.h"
#include "model/cell_names.h"
#include "model/memory_map.h"
#include "platform/fatal.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "settings/environ.h"
#include "text/gtex.h"
#include "ui/about_box.h"
#include "ui/information.h"
#include "ui/progress_window.h"
#include "ui/sheet.h"
#include "ui/tree.h"

cuiMain::cuiMain(cmcEvMan& bus, UserQuestions& questions, std::string projectCode, int imageSize)
    : projectCode_(std::move(projectCode)), imageSize_(imageSize), context_(bus, questions) {
  if (gGTex && gHelpGTex) {
    const std::string dir = platform::DataDir();
    gGTex->Bind(dir + projectCode_ + ".OVL");
    gHelpGTex->Bind(dir + projectCode_ + "H.OVL");
  }
  Bus().Subscribe<ev::CommandsChanged>(this, [this](const ev::CommandsChanged&) {
    Bus().Send(ev::RefreshMenus{});
    Bus().Send(ev::RefreshToolBar{});
  });
  Bus().Subscribe<ev::ShowAbout>(this, [this](const ev::ShowAbout&) { ShowAboutBox(); });
  context_.busy = [this] { return ExchangeOrPrintRunning(); };
  context_.findRadio = [this] { navigation_.FindRadio(); };
  cuiMain::Reset();
}

cuiMain::~cuiMain() {
  Bus().Unsubscribe(this);
  if (GetCommandTarget() == &commands_) SetCommandTarget(nullptr);
  navigation_.Release();
  window_.Release();
}

void cuiMain::Reset() {}

cmcGTex& cuiMain::Table() { return shell::WindowContext::Table(); }

void cuiMain::SetProgressSink(cmcProgressSink* sink) {
  if (!sink) {
    ownProgress_ = std::make_unique<cuiProgressWindow>(context_.form);
    sink = ownProgress_.get();
  }
  context_.progress = sink;
  if (documents_.HasDocument()) documents_.Document().CloneMan().SetProgressSink(sink);
}

void cuiMain::BuildWindow(QMainWindow* form, cuiImageList* treeImages, cuiImageList* barImages) {
  // 1. The document on the initial image of a known model.
  int model = gEnviron ? gEnviron->ModelType : 0;
  if (model < 0 || model >= memmap::kModelTypes) model = 0;
  if (gEnviron) gEnviron->ModelType = model;
  documents_.Start(model, this, [this] {
    const shell::Navigation::Counts counts = navigation_.WarningCheck();
    return cmcDocument::WarningCounts{counts.errors, counts.warnings};
  });
  cmcDocument& doc = documents_.Document();
  context_.form = form;
  if (!context_.progress) SetProgressSink(nullptr);
  doc.CloneMan().SetProgressSink(context_.progress);
  doc.CloneMan().SetPortNumber(ports_.CurrentPort());
  ports_.Follow(&doc.CloneMan());
  navigation_.CloseSheet();

  // 2. Menu and tool bar; 3. tree panel, splitter and sheet panel.
  context_.treeImages = treeImages;
  context_.barImages = barImages;
  window_.BuildFrame(form, view_.ToolBarVisible());

  // 4. The tree, as wide as the user left it.
  BuildTree();
  window_.PlaceSplitter(navigation_.Tree()->NamesWidth());

  // 5. Status bar: the message panel, then a square one.
  window_.BuildStatusBar(
      [this](QPainter& p, int panel, const QRect& r) { DrawStatusPanel(p, panel, r); },
      [this] { LayoutStatusBar(); });
  status_.Attach(window_.StatusBar());

  // 6. Title.
  documents_.UpdateTitle();

  // 7. The memory map must fit the image.
  if (imageSize_ < memmap::kImageSize) {
    form->show();
    platform::Fatal("Self Check Error.\nEEPROM Map is too large.");
  }

  // 8. The tick that opens sheets and runs the deferred warning check. The
  // printer and the help are made when first asked for.
  navigation_.StartTicking([this] { view_.HelpOnCursorCell(); });
  form->show();
}

void cuiMain::BuildTree() { navigation_.BuildTree(); }

cuiSheet* cuiMain::CreateSheet(QWidget* parent, const std::string& key) {
  auto* sheet =
      new cuiSheet(Bus(), parent, nullptr, CL_NoCell, 0, Table(), key, context_.treeImages);
  // The column widths go with the other settings of this environment.
  if (gEnviron) sheet->SetSettingsKeyPath(gEnviron->KeyPath());
  return sheet;
}

void cuiMain::DrawStatusPanel(QPainter& painter, int panel, const QRect& rect) {
  if (panel != 0) return;
  status_.Draw(painter, rect);
}

// --- The document's host.

void cuiMain::DocumentChanged(Change what) {
  switch (what) {
    case kNew:
    case kOpened:
    case kRead: navigation_.CloseSheet(); break;
    case kModelChanged:
      if (gEnviron) gEnviron->ModelType = documents_.Document().ModelType();
      // The tree follows the model; BuildTree closes the sheet.
      if (context_.form) BuildTree();
      break;
    case kWritten:
    case kUndone:
      navigation_.CloseSheet();  // reopened fresh by the timer, where the cursor was
      break;
    case kSaved:
    case kModified: break;
  }
  documents_.UpdateTitle();
}

void cuiMain::InformationReceived() {
  if (!context_.form) return;
  new cuiInformation(Bus(), context_.form, Table().Text("GI_Sys_AppTitle"), Table(),
                     "GI_Sheet_CloneInfo", context_.treeImages);
}

void cuiMain::CommitViewEdits() { Bus().Send(ev::CommitEditor{}); }
void cuiMain::ChannelListsChanged() { Bus().Send(ev::RebuildChannelNodes{}); }

bool cuiMain::ExchangeOrPrintRunning() {
  return (documents_.HasDocument() && documents_.Document().CloneMan().IsBusy()) ||
         transfers_.Running() || view_.PrintJobActive();
}

void cuiMain::ShowAboutBox() {
  if (aboutBox_) {
    aboutBox_();
    return;
  }
  if (!context_.form) return;
  // The box frees itself when it closes and gives the main window back.
  new cuiAboutBox(context_.form, Table(), QApplication::windowIcon().pixmap(32, 32),
                  [this](QChar c) { KeyTyped(c.toLatin1()); });
}

// --- Closing.

bool cuiMain::CanClose() {
  if (context_.form && !context_.form->isEnabled()) return false;
  return !documents_.HasDocument() || documents_.ConfirmDiscard(false) != platform::kIdCancel;
}

void cuiMain::OnClose() {
  if (gEnviron && window_.TreePanel()) gEnviron->SplitterV = window_.TreePanel()->width();
  navigation_.Release();
  context_.form = nullptr;
}

void cuiMain::ReleaseWindow() {
  navigation_.Release();
  window_.Release();
  status_.Attach(nullptr);
  // The help window holds widgets of the help engine, and the printer's
  // dialogs belong to the form: both go before it.
  view_.Release();
  // The progress window points at the form it disables.
  if (context_.progress == ownProgress_.get()) context_.progress = nullptr;
  if (documents_.HasDocument() && !context_.progress)
    documents_.Document().CloneMan().SetProgressSink(nullptr);
  ownProgress_.reset();
  context_.form = nullptr;
}
