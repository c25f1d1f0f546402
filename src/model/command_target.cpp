// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/command_target.h"

namespace {
CommandTarget* gTarget = nullptr;
}

void CommandTarget::FileOpen() {
  if (roles_.files) roles_.files->FileOpen();
}
void CommandTarget::FileSaveAs() {
  if (roles_.files) roles_.files->FileSaveAs();
}
std::string CommandTarget::RecentFile(int n) const {
  return roles_.files ? roles_.files->RecentFile(n) : std::string();
}
void CommandTarget::OpenRecent(int n) {
  if (roles_.files) roles_.files->OpenRecent(n);
}
void CommandTarget::OpenBackupFolder() {
  if (roles_.files) roles_.files->OpenBackupFolder();
}
void CommandTarget::ShowBackups() {
  if (roles_.transfer) roles_.transfer->ShowBackups();
}
void CommandTarget::ExportCsv() {
  if (roles_.transfer) roles_.transfer->ExportCsv();
}
void CommandTarget::ImportCsv() {
  if (roles_.transfer) roles_.transfer->ImportCsv();
}
void CommandTarget::CompareWithFile() {
  if (roles_.transfer) roles_.transfer->CompareWithFile();
}
void CommandTarget::CompareWithRadio() {
  if (roles_.transfer) roles_.transfer->CompareWithRadio();
}
void CommandTarget::FleetProgramming() {
  if (roles_.transfer) roles_.transfer->FleetProgramming();
}

int CommandTarget::FontSize() const { return roles_.view ? roles_.view->FontSize() : 0; }
void CommandTarget::SetFontSize(int size) {
  if (roles_.view) roles_.view->SetFontSize(size);
}
bool CommandTarget::ToolBarVisible() const { return roles_.view && roles_.view->ToolBarVisible(); }
void CommandTarget::ToggleToolBar() {
  if (roles_.view) roles_.view->ToggleToolBar();
}
bool CommandTarget::UsableChannelsView() const {
  return roles_.view && roles_.view->UsableChannelsView();
}

int CommandTarget::CurrentPort() const { return roles_.ports ? roles_.ports->CurrentPort() : 0; }
void CommandTarget::SetPort(int port) {
  if (roles_.ports) roles_.ports->SetPort(port);
}

bool CommandTarget::CanPrintCurrent() const {
  return roles_.output && roles_.output->CanPrintCurrent();
}
void CommandTarget::PrintCurrent() {
  if (roles_.output) roles_.output->PrintCurrent();
}
void CommandTarget::PrintAll() {
  if (roles_.output) roles_.output->PrintAll();
}
void CommandTarget::ShowHelpContents() {
  if (roles_.output) roles_.output->ShowHelpContents();
}
void CommandTarget::ShowContextHelp(std::uint32_t cell) {
  if (roles_.output) roles_.output->ShowContextHelp(cell);
}

void CommandTarget::OpenSheet(const std::string& reference) {
  if (roles_.navigation) roles_.navigation->OpenSheet(reference);
}
void CommandTarget::OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey,
                                int current) {
  if (roles_.navigation) roles_.navigation->OpenChooser(capsule, listKey, current);
}
const void* CommandTarget::MainMenu() const {
  return roles_.navigation ? roles_.navigation->MainMenu() : nullptr;
}
int CommandTarget::EditMenuItemCount() const {
  return roles_.navigation ? roles_.navigation->EditMenuItemCount() : -1;
}
void CommandTarget::OpenPortSelection(int mode) {
  if (roles_.navigation) roles_.navigation->OpenPortSelection(mode);
}
void CommandTarget::FindRadio() {
  if (roles_.navigation) roles_.navigation->FindRadio();
}
void CommandTarget::CloseMainWindow() {
  if (roles_.navigation) roles_.navigation->CloseMainWindow();
}

void SetCommandTarget(CommandTarget* target) { gTarget = target; }
CommandTarget* GetCommandTarget() { return gTarget; }
