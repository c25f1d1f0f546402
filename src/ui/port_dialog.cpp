// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/port_dialog.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <algorithm>

#include "model/command_roles.h"
#include "platform/message_box.h"
#include "platform/qt/screens_qt.h"
#include "radio/port_choice.h"
#include "text/gtex.h"

namespace {

constexpr int kMaxTypedLength = 4;
constexpr int kMinOuterSize = 100;
// The device node and its by-id link appear in steps as the adapter is set
// up; the list is read once they have settled.
constexpr int kDeviceSettleMs = 300;

// A combo box that lets its owner refill the list just before it drops down.
class DropDownCombo : public QComboBox {
 public:
  DropDownCombo(QWidget* parent, std::function<void()> beforePopup)
      : QComboBox(parent), beforePopup_(std::move(beforePopup)) {}

  void showPopup() override {
    beforePopup_();
    QComboBox::showPopup();
  }

 private:
  std::function<void()> beforePopup_;
};

QString Items(const QComboBox& combo) {
  QStringList items;
  for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
  return items.join('\n');
}

QStringList ToQt(const std::vector<std::string>& list) {
  QStringList items;
  for (const std::string& s : list) items << QString::fromStdString(s);
  return items;
}

}  // namespace

cuiPortDialog::cuiPortDialog(QWidget* mainWindow, cmcGTex& table, int mode, int currentPort,
                             ListSource numberList, ListSource nameList)
    : QDialog(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      table_(table),
      mode_(mode == 1 || mode == 2 ? mode : 0),
      currentPort_(currentPort),
      numberList_(numberList ? std::move(numberList) : ListSource(&portchoice::SystemNumberList)),
      nameList_(nameList ? std::move(nameList) : ListSource(&portchoice::SystemNameList)) {
  setModal(true);
  setWindowTitle(QString::fromStdString(table_.Text("GI_AppInd_Opt_ComSel_Caption")));
  const int m = fontMetrics().height();

  notice_ = new QLabel(this);
  notice_->setTextFormat(Qt::PlainText);  // "&" as it stands
  notice_->setText(QString::fromStdString(table_.Block("GI_AppInd_Opt_ComSel_Notice")));
  notice_->move(m, m);
  notice_->adjustSize();

  BuildEntry(m);

  ok_ =
      new QPushButton(QString::fromStdString(table_.Line("GI_AppInd_Opt_ComSel_Buttons", 0)), this);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] { TakeChosenPort(); });
  cancel_ =
      new QPushButton(QString::fromStdString(table_.Line("GI_AppInd_Opt_ComSel_Buttons", 1)), this);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  LayOut(m);
  Entry()->setFocus();

  settle_.setSingleShot(true);
  settle_.setInterval(kDeviceSettleMs);
  connect(&settle_, &QTimer::timeout, this, [this] { RefreshAfterDeviceChange(); });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
  WatchFolders(SystemDeviceFolders());
}

QStringList cuiPortDialog::SystemDeviceFolders() {
  return {QStringLiteral("/dev"), QStringLiteral("/dev/serial"),
          QStringLiteral("/dev/serial/by-id")};
}

void cuiPortDialog::WatchFolders(const QStringList& folders) {
  if (!combo_) return;  // mode 0 shows no list
  watched_ = folders;
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  for (const QString& folder : folders)
    if (QFileInfo(folder).isDir()) watcher_.addPath(folder);
}

void cuiPortDialog::RefreshAfterDeviceChange() {
  if (!combo_) return;
  // by-id appears with the first adapter and goes with the last one.
  WatchFolders(watched_);
  // What the user picked stays picked when it is still there; the current
  // port is only the first choice.
  const int current = currentPort_;
  if (mode_ == 2) {
    const int picked = portchoice::ChosenPort(mode_, combo_->currentText().toStdString());
    if (portchoice::IsValidPort(picked)) currentPort_ = picked;
  }
  RefillList();
  currentPort_ = current;
  if (combo_->currentIndex() < 0) RefillList();  // the pick went with its device
}

QWidget* cuiPortDialog::Entry() const {
  if (edit_) return edit_;
  return combo_;
}

void cuiPortDialog::BuildEntry(int m) {
  const QFontMetrics fm = fontMetrics();
  const QString current = QString::number(currentPort_);
  QWidget* entry = nullptr;
  int width = 0;
  if (mode_ == 0) {
    edit_ = new QLineEdit(current, this);
    edit_->setMaxLength(kMaxTypedLength);
    entry = edit_;
    width = fm.horizontalAdvance("255WWWW");
  } else {
    combo_ = new DropDownCombo(this, [this] {
      RefillList();
      WidenDropDown();
    });
    combo_->setEditable(mode_ == 1);
    if (combo_->lineEdit()) combo_->lineEdit()->setMaxLength(kMaxTypedLength);
    RefillList();
    if (mode_ == 1) combo_->setEditText(current);
    entry = combo_;
    const char* widest = mode_ == 1 ? "9999WW" : "1: Zelm USB-to-Serial Comm. Port (COM1)WW";
    width = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + fm.horizontalAdvance(widest);
  }
  // Port numbers are plain digits: no input method composes them.
  entry->setAttribute(Qt::WA_InputMethodEnabled, false);
  if (combo_ && combo_->lineEdit())
    combo_->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);

  // The text height of the entry, or the least the control needs to show
  // its text inside its frame, which a text height alone does not leave.
  const int height = std::max(fm.boundingRect(QString::fromUtf8("255WW\u8a2d\u5b9a")).height(),
                              entry->sizeHint().height());
  const int top = notice_->y() + notice_->height() + m / 2;
  entry->setGeometry(notice_->x() + fm.horizontalAdvance("WW"), top, width, height);
}

void cuiPortDialog::LayOut(int m) {
  const QFontMetrics fm = fontMetrics();
  QWidget* entry = Entry();
  const int buttonWidth = fm.horizontalAdvance(
      QString::fromStdString(table_.Text("GI_AppInd_Opt_ComSel_SizeOfButtons")));
  const int buttonHeight = 2 * fm.height();
  const int buttonTop = entry->y() + 4 * entry->height();

  const auto right = [](const QWidget* w) { return w->x() + w->width(); };
  int width = std::max({fm.horizontalAdvance(windowTitle()) + 100, right(notice_), right(entry),
                        m + buttonWidth + m + buttonWidth});
  width += m;
  int height = buttonTop + buttonHeight + m;
  // The frame counts towards the least outer size where the platform has one.
  const QSize frame = frameGeometry().size() - geometry().size();
  width = std::max(width, kMinOuterSize - frame.width());
  height = std::max(height, kMinOuterSize - frame.height());
  setFixedSize(width, height);

  cancel_->setGeometry(width - m - buttonWidth, buttonTop, buttonWidth, buttonHeight);
  ok_->setGeometry(cancel_->x() - m - buttonWidth, buttonTop, buttonWidth, buttonHeight);
}

void cuiPortDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Placed when shown, when the frame the window system adds is known.
  platform::CentreOver(this, parentWidget());
}

void cuiPortDialog::RefillList() {
  if (!combo_) return;
  if (mode_ == 1) {
    const QString typed = combo_->currentText();
    combo_->clear();
    combo_->addItems(ToQt(numberList_()));
    combo_->setEditText(typed);
    return;
  }
  const QStringList items = ToQt(nameList_());
  // Replaced only when it changed, so that an open list does not flicker.
  if (items.join('\n') != Items(*combo_)) {
    combo_->clear();
    combo_->addItems(items);
  }
  std::vector<std::string> list;
  for (const QString& s : items) list.push_back(s.toStdString());
  combo_->setCurrentIndex(portchoice::IndexOfPort(list, currentPort_));
}

void cuiPortDialog::WidenDropDown() {
  const QFontMetrics fm = combo_->view()->fontMetrics();
  int widest = 0;
  for (int i = 0; i < combo_->count(); ++i)
    widest = std::max(widest, fm.horizontalAdvance(combo_->itemText(i)));
  int width = widest + fm.horizontalAdvance("WW");
  if (combo_->count() > combo_->maxVisibleItems())
    width += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  if (width >= combo_->width()) combo_->view()->setMinimumWidth(width);
}

void cuiPortDialog::TakeChosenPort() {
  const QString text = edit_ ? edit_->text() : combo_->currentText();
  const int port = portchoice::ChosenPort(mode_, text.toStdString());
  if (portchoice::IsValidPort(port)) {
    chosen_ = port;
    accept();
    return;
  }
  platform::ShowMessage(table_.Block("GI_AppInd_Opt_ComSel_OutofRange"),
                        table_.Text("GI_Sys_AppTitle"), platform::kMbOk | platform::kMbIconStop);
  Entry()->setFocus();
}

bool cuiPortDialog::Choose(QWidget* mainWindow, cmcGTex& table, int mode, PortRole& ports) {
  cuiPortDialog dialog(mainWindow, table, mode, ports.CurrentPort());
  if (dialog.exec() != QDialog::Accepted) return false;
  ports.SetPort(dialog.ChosenPort());
  return true;
}
