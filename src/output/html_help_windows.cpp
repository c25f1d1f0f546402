// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/html_help_windows.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include "output/html_help_engine.h"

#ifdef SEACLONE_HAVE_QT_HELP
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#endif

namespace helpview {

Browser::Browser(const Engine& engine, QWidget* parent) : QTextBrowser(parent), engine_(engine) {
  // Qt's own link handling hands every absolute address that is not a
  // local file to the desktop, the manual's qthelp pages included.
  setOpenExternalLinks(false);
  setOpenLinks(false);
  connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { Follow(url); });
}

void Browser::Follow(const QUrl& url) {
  const QString scheme = url.scheme();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
      scheme == QLatin1String("mailto")) {
    QDesktopServices::openUrl(url);
    return;
  }
  // Anything else is taken as a page of the manual; a link within the page
  // (its fragment only) stays here.
  const bool samePage =
      url.adjusted(QUrl::RemoveFragment) == source().adjusted(QUrl::RemoveFragment);
  if (manualLink_ && !samePage) {
    manualLink_(url);
    return;
  }
  setSource(url);
}

QVariant Browser::loadResource(int type, const QUrl& name) {
  if (name.scheme() != QLatin1String("qthelp")) return QTextBrowser::loadResource(type, name);
  const QByteArray data = engine_.FileData(name);
  if (type == QTextDocument::ImageResource) return data;
  return QString::fromUtf8(data);
}

PopupWindow::PopupWindow(const Engine& engine, QWidget* owner)
    : QWidget(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      view_(new Browser(engine, this)) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(QStringLiteral("Help"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  connect(view_, &QTextBrowser::sourceChanged, this, [this] {
    setWindowTitle(view_->documentTitle().isEmpty() ? QStringLiteral("Help")
                                                    : view_->documentTitle());
  });
}

#ifdef SEACLONE_HAVE_QT_HELP

ContentsWindow::ContentsWindow(Engine& engine, QWidget* owner)
    : QWidget(owner, Qt::Window), view_(new Browser(engine, this)) {
  QHelpEngine* help = engine.Help();
  setWindowTitle(QStringLiteral("Seaclone Help"));
  resize(900, 640);

  auto* tabs = new QTabWidget;
  QHelpContentWidget* contents = help->contentWidget();
  tabs->addTab(contents, QStringLiteral("Contents"));
  connect(contents, &QHelpContentWidget::linkActivated, view_,
          [this](const QUrl& url) { view_->setSource(url); });
  connect(help->contentModel(), &QHelpContentModel::contentsCreated, contents,
          [contents] { contents->expandToDepth(0); });

  auto* indexPage = new QWidget;
  auto* indexLayout = new QVBoxLayout(indexPage);
  auto* look = new QLineEdit;
  look->setPlaceholderText(QStringLiteral("Type a word to find in the index"));
  QHelpIndexWidget* index = help->indexWidget();
  indexLayout->addWidget(look);
  indexLayout->addWidget(index);
  connect(look, &QLineEdit::textChanged, index,
          [index](const QString& text) { index->filterIndices(text); });
  connect(look, &QLineEdit::returnPressed, index, &QHelpIndexWidget::activateCurrentItem);
  connect(index, &QHelpIndexWidget::documentActivated, view_,
          [this](const QHelpLink& link, const QString&) { view_->setSource(link.url); });
  connect(index, &QHelpIndexWidget::documentsActivated, view_,
          [this](const QList<QHelpLink>& links, const QString&) {
            if (!links.isEmpty()) view_->setSource(links.first().url);
          });
  tabs->addTab(indexPage, QStringLiteral("Index"));

  QHelpSearchEngine* search = help->searchEngine();
  auto* searchPage = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchPage);
  searchLayout->addWidget(search->queryWidget());
  searchLayout->addWidget(search->resultWidget());
  connect(search->queryWidget(), &QHelpSearchQueryWidget::search, search,
          [search] { search->search(search->queryWidget()->searchInput()); });
  connect(search->resultWidget(), &QHelpSearchResultWidget::requestShowLink, view_,
          [this](const QUrl& url) { view_->setSource(url); });
  tabs->addTab(searchPage, QStringLiteral("Search"));
  // The full-text index is built in the background the first time.
  search->reindexDocumentation();

  auto* split = new QSplitter(Qt::Horizontal);
  split->addWidget(tabs);
  split->addWidget(view_);
  split->setStretchFactor(1, 3);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(split);
}

#else

ContentsWindow::ContentsWindow(Engine& engine, QWidget* owner)
    : QWidget(owner, Qt::Window), view_(new Browser(engine, this)) {}

#endif

}  // namespace helpview
