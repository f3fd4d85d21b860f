#include "ui/help_viewer.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString MissingPage(const QString& fileName) {
  return QStringLiteral(
             "<h2>Help is not available</h2>"
             "<p>The help file <b>%1</b> cannot be found in the program's folder.</p>")
      .arg(fileName.toHtmlEscaped());
}

}  // namespace

THelpViewer::THelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(false);
  resize(640, 480);
}

void THelpViewer::Open(const std::string& fileName) {
  fileName_ = fileName;
  const QString name = QString::fromStdString(fileName);
  QFileInfo info(name);
  found_ = info.isFile() && info.isReadable();
  setWindowTitle(name);
  if (found_) {
    browser_->setSearchPaths({info.absolutePath()});
    // Help files are HTML whatever their extension.
    QFile file(info.absoluteFilePath());
    file.open(QIODevice::ReadOnly);
    browser_->setHtml(QString::fromUtf8(file.readAll()));
    browser_->scrollToAnchor(QStringLiteral("index"));
  } else {
    browser_->setHtml(MissingPage(name));
  }
  show();
  raise();
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

bool WinHelp(const std::string& fileName, int command) {
  switch (command) {
    case HELP_INDEX:
      THelpViewer::Instance().Open(fileName);
      return THelpViewer::Instance().FileFound();
    case HELP_QUIT:
      THelpViewer::Instance().Close(fileName);
      return true;
    default:
      return false;
  }
}
