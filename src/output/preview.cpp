// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/preview.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "output/dialog_font.h"
#include "output/preview_setting.h"
#include "platform/canvas.h"
#include "platform/qt/screens_qt.h"
#include "ui/image_list.h"

namespace {

constexpr int kToolBarHeight = 25;
constexpr int kButtonWidth = 70;
constexpr int kPageEditWidth = 30;
constexpr int kStatusPanelWidth = 80;
constexpr int kSlack = 50;
constexpr QRgb kBackdrop = 0x555555;
enum Picture {
  kTopImage = 13,
  kPreviousImage = 14,
  kNextImage = 15,
  kLastImage = 16,
  kZoomImage = 17
};

int ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? static_cast<int>(screen->logicalDotsPerInchY()) : platform::kDefaultPixelsPerInch;
}

// Characters that reach the page edit: its digits and what edits them.
bool PassesOn(QChar c) { return c.isDigit() || c == '\b' || c == '.' || (c >= '!' && c <= '('); }

}  // namespace

cuiPreview::cuiPreview(QWidget* owner, cmcGTex& table, const cuiImageList* images,
                       const QString& caption)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowMaximizeButtonHint |
                         Qt::WindowCloseButtonHint),
      table_(table) {
  setWindowTitle(caption);
  setFont(output::DialogFont(table));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  auto* bar = new QToolBar(this);
  bar->setFixedHeight(kToolBarHeight);
  bar->setContentsMargins(4, 0, 0, 0);
  const auto icon = [images](int n) { return images ? images->Icon(n) : QIcon(); };
  print_ = new QPushButton(QStringLiteral("&Print"), bar);
  print_->setFixedWidth(kButtonWidth);
  print_->setFlat(true);
  bar->addWidget(print_);
  bar->addSeparator();
  setting_ = new QPushButton(QStringLiteral("&Setting"), bar);
  setting_->setFixedWidth(kButtonWidth);
  setting_->setFlat(true);
  bar->addWidget(setting_);
  bar->addSeparator();
  top_ = bar->addAction(icon(kTopImage), QStringLiteral("Top Page"));
  previous_ = bar->addAction(icon(kPreviousImage), QStringLiteral("Previous Page"));
  pageEdit_ = new QLineEdit(bar);
  pageEdit_->setMaxLength(3);
  pageEdit_->setFixedWidth(kPageEditWidth);
  pageEdit_->setAttribute(Qt::WA_InputMethodEnabled, false);
  bar->addWidget(pageEdit_);
  countLabel_ = new QLabel(bar);
  bar->addWidget(countLabel_);
  next_ = bar->addAction(icon(kNextImage), QStringLiteral("Next Page"));
  last_ = bar->addAction(icon(kLastImage), QStringLiteral("Last Page"));
  bar->addSeparator();
  zoom_ = bar->addAction(icon(kZoomImage), QStringLiteral("Zoom"));
  zoom_->setCheckable(true);
  for (QAction* action : {top_, previous_, next_, last_, zoom_}) action->setToolTip(action->text());
  column->addWidget(bar);

  scroll_ = new QScrollArea(this);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setAlignment(Qt::AlignCenter);
  QPalette backdrop = scroll_->palette();
  backdrop.setColor(QPalette::Window, QColor(kBackdrop));
  scroll_->setPalette(backdrop);
  scroll_->setBackgroundRole(QPalette::Window);
  picture_ = new QLabel;
  picture_->setAlignment(Qt::AlignCenter);
  scroll_->setWidget(picture_);
  // The fitted page follows the room it is shown in: the viewport gets its
  // size only when the window is laid out, after SetJob has rendered.
  scroll_->viewport()->installEventFilter(this);
  column->addWidget(scroll_, 1);

  status_ = new QStatusBar(this);
  status_->setSizeGripEnabled(false);
  statusPage_ = new QLabel(status_);
  statusPage_->setFixedWidth(kStatusPanelWidth);
  statusPage_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  auto* second = new QLabel(status_);
  second->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  status_->addWidget(statusPage_);
  status_->addWidget(second, 1);
  column->addWidget(status_);

  connect(print_, &QPushButton::clicked, this, &QDialog::accept);
  connect(setting_, &QPushButton::clicked, this, [this] { RunSetting(); });
  connect(top_, &QAction::triggered, this, [this] { ShowPage(0); });
  connect(previous_, &QAction::triggered, this, [this] { ShowPage(current_ - 1); });
  connect(next_, &QAction::triggered, this, [this] { ShowPage(current_ + 1); });
  connect(last_, &QAction::triggered, this, [this] { ShowPage(PageCount() - 1); });
  connect(zoom_, &QAction::toggled, this, [this] { ShowImage(); });
  pageEdit_->installEventFilter(this);
}

cuiPreview::~cuiPreview() = default;

void cuiPreview::SetJob(const output::PrintSource& source, const output::PrintSetup& setup,
                        std::vector<layout::TreePage> sheets, int& fontPoints) {
  source_ = source;
  setup_ = setup;
  sheets_ = std::move(sheets);
  fontPoints_ = &fontPoints;
  setup_.fontPoints = fontPoints;
  Paginate();
  ShowPage(0);
  FitWindow();
}

void cuiPreview::Paginate() {
  pages_.clear();
  printouts_.clear();
  for (const layout::TreePage& sheet : sheets_) {
    auto printout = std::make_unique<output::SheetPrintout>(source_, sheet, setup_);
    for (const output::PrintedPage& page : printout->Pages())
      pages_.push_back({printout.get(), page});
    printouts_.push_back(std::move(printout));
  }
}

void cuiPreview::ShowPage(int page) {
  current_ = std::clamp(page, 0, std::max(PageCount() - 1, 0));
  Render();
  const int count = PageCount();
  pageEdit_->setText(QString::number(count ? current_ + 1 : 0));
  countLabel_->setText(QStringLiteral(" / %1").arg(count));
  statusPage_->setText(QStringLiteral(" %1 / %2").arg(count ? current_ + 1 : 0).arg(count));
  top_->setEnabled(current_ > 0);
  previous_->setEnabled(current_ > 0);
  next_->setEnabled(current_ + 1 < count);
  last_->setEnabled(current_ + 1 < count);
}

void cuiPreview::Render() {
  const double scale = static_cast<double>(ScreenDpi()) / setup_.dpi;
  image_ = QImage(std::max(1, static_cast<int>(setup_.pageWidth * scale)),
                  std::max(1, static_cast<int>(setup_.pageHeight * scale)), QImage::Format_RGB32);
  image_.fill(Qt::white);
  QPainter painter(&image_);
  painter.setPen(Qt::black);
  painter.drawRect(image_.rect().adjusted(0, 0, -1, -1));
  if (!pages_.empty()) {
    const Page& page = pages_[static_cast<std::size_t>(current_)];
    // The printer's own pixels, scaled: the preview shows what the paper gets.
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::TextAntialiasing);
    page.printout->Paint(painter, page.page);
  }
  painter.end();
  ShowImage();
}

void cuiPreview::ShowImage() {
  if (zoom_->isChecked()) {
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setWidgetResizable(false);
    picture_->setPixmap(QPixmap::fromImage(image_));
    picture_->resize(image_.size());
  } else {
    // A fitted page never needs scrolling; scroll bars coming and going
    // would change the room and fit the page again and again.
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setWidgetResizable(true);
    const QSize room = scroll_->viewport()->size();
    picture_->setPixmap(
        QPixmap::fromImage(image_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  }
}

bool cuiPreview::FitsRoom() const {
  const QPixmap shown = picture_->pixmap();
  const QSize room = scroll_->viewport()->size();
  return !shown.isNull() && shown.size() == image_.size().scaled(room, Qt::KeepAspectRatio);
}

void cuiPreview::FitWindow() {
  QSize size = image_.size() + QSize(kSlack, kSlack);
  size.rheight() += kToolBarHeight + status_->sizeHint().height();
  const QWidget* anchor = parentWidget() ? parentWidget()->window() : nullptr;
  const QScreen* screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
  const QRect work = screen ? screen->availableGeometry() : QRect(QPoint(0, 0), size);
  const QSize wanted = size;
  size = size.boundedTo(work.size());
  resize(size);
  move(work.center() - QPoint(size.width() / 2, size.height() / 2));
  // Wayland tells no work area and places the window itself: a window as
  // large as the whole screen would run under the desktop's panels, its
  // status bar out of reach. Maximised, the compositor fits it to the room
  // it really has.
  if (wanted != size && !platform::WindowPositionsKnown())
    setWindowState(windowState() | Qt::WindowMaximized);
}

void cuiPreview::ApplyFontSize(int points) {
  *fontPoints_ = points;
  setup_.fontPoints = points;
  Paginate();
  ShowPage(0);
}

void cuiPreview::RunSetting() {
  cuiPreviewSetting dialog(this, table_, setup_.fontPoints);
  if (dialog.exec() == QDialog::Accepted) ApplyFontSize(dialog.Points());
  pageEdit_->setFocus();
}

void cuiPreview::keyPressEvent(QKeyEvent* event) {
  const bool zoomed = zoom_->isChecked();
  QScrollBar* vertical = scroll_->verticalScrollBar();
  QScrollBar* horizontal = scroll_->horizontalScrollBar();
  switch (event->key()) {
    case Qt::Key_PageUp: ShowPage(current_ - 1); return;
    case Qt::Key_PageDown: ShowPage(current_ + 1); return;
    case Qt::Key_Up:
      if (zoomed)
        vertical->triggerAction(QAbstractSlider::SliderSingleStepSub);
      else
        ShowPage(current_ - 1);
      return;
    case Qt::Key_Down:
      if (zoomed)
        vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      else
        ShowPage(current_ + 1);
      return;
    case Qt::Key_Left:
      if (zoomed) horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
      return;
    case Qt::Key_Right:
      if (zoomed) horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
      return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      // Enter turns to the typed page rather than pressing a default button.
      ShowPage(pageEdit_->text().toInt() - 1);
      return;
    default: break;
  }
  QDialog::keyPressEvent(event);
}

bool cuiPreview::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scroll_->viewport() && event->type() == QEvent::Resize && !zoom_->isChecked() &&
      !FitsRoom()) {
    ShowImage();
  }
  if (watched == pageEdit_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_Up:
      case Qt::Key_Down: keyPressEvent(key); return true;
      default: break;
    }
    const QString text = key->text();
    if (!text.isEmpty() && text[0].isPrint() && !PassesOn(text[0])) return true;
  }
  return QDialog::eventFilter(watched, event);
}
