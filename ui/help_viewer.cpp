#include "ui/help_viewer.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/help_topic.h"
#include "ui/place_beside.h"

namespace {

QString MissingPage(const QString& fileName) {
  return QStringLiteral(
             "<h2>Help is not available</h2>"
             "<p>The help file <b>%1</b> cannot be found in the program's folder.</p>")
      .arg(fileName.toHtmlEscaped());
}

bool HasAnchor(const QTextDocument& document, const QString& name) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().anchorNames().contains(name)) return true;
  }
  return false;
}

// The window at the root of owner's chain of parents: the program's main window.
QWidget* MainWindowOf(QWidget* owner) {
  QWidget* window = owner ? owner->window() : nullptr;
  while (window && window->parentWidget()) window = window->parentWidget()->window();
  return window;
}

// How far down from the top of main's frame its title and menu bar reach: help may cover the
// rest of main when the screen is too small, never these.
int TopBandOf(const QWidget& main) {
  const int frameTop = main.frameGeometry().top();
  if (const auto* window = qobject_cast<const QMainWindow*>(&main))
    if (const QWidget* menu = window->menuWidget(); menu && menu->isVisible())
      return menu->mapToGlobal(QPoint(0, menu->height())).y() - frameTop;
  return main.geometry().top() - frameTop;
}

// Help stays readable however small the screen: it is not made shorter than this.
constexpr int kLeastHelpHeight = 200;

}  // namespace

THelpViewer::THelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(false);
  // Help left open must not keep the program running once its main window has closed.
  setAttribute(Qt::WA_QuitOnClose, false);
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);
  resize(640, 480);
}

QPoint THelpViewer::PlaceBeside(const QRect& main, const QSize& size, const QRect& screen) {
  return ::PlaceBeside(main, size, screen).topLeft();
}

void THelpViewer::PlaceBesideMain(const QWidget& main) {
  const QScreen* screen = main.screen();
  if (!screen) return;
  // Not shown yet, the viewer has no frame of its own: take the main window's.
  const QSize frame = main.frameGeometry().size() - main.geometry().size();
  const QRect place =
      ::PlaceBeside(main.frameGeometry(), size() + frame, screen->availableGeometry(),
                    TopBandOf(main), kLeastHelpHeight + frame.height());
  move(place.topLeft());
  resize(place.size() - frame);
}

void THelpViewer::Open(const std::string& fileName, const std::string& topic, QWidget* owner) {
  const QString name = QString::fromStdString(fileName);
  QFileInfo info(name);
  fileName_ = fileName;
  setWindowTitle(QApplication::applicationName() + QStringLiteral(" Help"));
  found_ = info.isFile() && info.isReadable();
  if (found_) {
    browser_->setSearchPaths({info.absolutePath()});
    // Help files are HTML whatever their extension.
    QFile file(info.absoluteFilePath());
    file.open(QIODevice::ReadOnly);
    browser_->setHtml(QString::fromUtf8(file.readAll()));
  } else {
    browser_->setHtml(MissingPage(name));
  }
  if (QWidget* main = MainWindowOf(owner); main && !isVisible()) {
    if (!main->windowIcon().isNull()) setWindowIcon(main->windowIcon());
    PlaceBesideMain(*main);
  }
  show();
  raise();
  activateWindow();
  ShowTopic(topic);
}

void THelpViewer::ShowTopic(const std::string& topic) {
  const QString anchor = QString::fromStdString(topic);
  topic_ =
      found_ && !anchor.isEmpty() && HasAnchor(*browser_->document(), anchor) ? topic : "index";
  // The page must be laid out at the viewer's size before it can be scrolled to an anchor.
  browser_->document()->setTextWidth(browser_->viewport()->width());
  browser_->scrollToAnchor(QString::fromStdString(topic_));
}

void THelpViewer::Close(const std::string& fileName) {
  if (fileName == fileName_) close();
}

THelpViewer& THelpViewer::Instance() {
  static QPointer<THelpViewer> viewer;
  if (!viewer) {
    viewer = new THelpViewer;
    // A top-level window of its own: deleted as the application ends.
    qAddPostRoutine([] { delete viewer.data(); });
  }
  return *viewer;
}

bool WinHelp(const std::string& fileName, int command, const std::string& topic, QWidget* owner) {
  switch (command) {
    case HELP_INDEX:
      THelpViewer::Instance().Open(fileName, "index", owner);
      return THelpViewer::Instance().FileFound();
    case HELP_CONTEXT:
      THelpViewer::Instance().Open(fileName, topic, owner);
      return THelpViewer::Instance().FileFound();
    case HELP_QUIT:
      THelpViewer::Instance().Close(fileName);
      return true;
    default:
      return false;
  }
}

void ShowHelpTopic(const std::string& topic, QWidget* owner) {
  WinHelp(kProgramHelpFile, HELP_CONTEXT, topic, owner);
}
