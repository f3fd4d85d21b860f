#include "quiz/splash_window.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <functional>
#include <utility>

#include "ui/dc.h"

namespace {

// Draws text from (x, y) on the baseline and returns the x after it.
int DrawRun(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(x, y, text);
  return x + painter.fontMetrics().horizontalAdvance(text);
}

// A formula with its digits lowered and an optional charge raised, as the keypad shows them.
int DrawFormula(QPainter& painter, const QFont& font, const QFont& small, int x, int y,
                const QString& formula, const QString& charge = {}) {
  for (QChar c : formula) {
    const bool digit = c.isDigit();
    painter.setFont(digit ? small : font);
    x = DrawRun(painter, x, digit ? y + 4 : y, QString(c));
  }
  if (!charge.isEmpty()) {
    painter.setFont(small);
    x = DrawRun(painter, x, y - 7, charge);
  }
  painter.setFont(font);
  return x;
}

}  // namespace

TSplashWindow::TSplashWindow() : picture_(Picture()) {
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  setWindowTitle(QStringLiteral("Tarvolin"));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QPoint origin = CentredOrigin(screen.size(), picture_.size());
  setGeometry(QRect(screen.topLeft() + origin, picture_.size()));
}

QPixmap TSplashWindow::Picture() {
  QPixmap pixmap(kPictureSize, kPictureSize);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient sky(0, 0, 0, kPictureSize);
  sky.setColorAt(0, QColor(24, 64, 128));
  sky.setColorAt(1, QColor(8, 24, 56));
  painter.fillRect(pixmap.rect(), sky);
  painter.setPen(QPen(QColor(230, 190, 60), 3));
  painter.drawRect(pixmap.rect().adjusted(2, 2, -3, -3));

  QFont title = painter.font();
  title.setPixelSize(34);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 28, kPictureSize, 44), Qt::AlignCenter, QStringLiteral("Tarvolin"));

  QFont caption = title;
  caption.setPixelSize(12);
  caption.setBold(false);
  painter.setFont(caption);
  painter.setPen(QColor(230, 190, 60));
  painter.drawText(QRect(0, 74, kPictureSize, 18), Qt::AlignCenter,
                   QStringLiteral("Writing net ionic equations"));

  // The sample equation, Ba2+ + SO4 2- -> BaSO4, over two centred lines.
  QFont font = caption;
  font.setPixelSize(17);
  QFont small = caption;
  small.setPixelSize(11);
  auto firstLine = [&](QPainter& p, int x, int y) {
    x = DrawFormula(p, font, small, x, y, QStringLiteral("Ba"), QStringLiteral("2+"));
    x = DrawRun(p, x, y, QStringLiteral(" + "));
    return DrawFormula(p, font, small, x, y, QStringLiteral("SO4"), QStringLiteral("2-"));
  };
  auto secondLine = [&](QPainter& p, int x, int y) {
    x = DrawRun(p, x, y, QStringLiteral("\u2192 "));
    return DrawFormula(p, font, small, x, y, QStringLiteral("BaSO4"));
  };
  painter.setPen(Qt::white);
  const std::pair<std::function<int(QPainter&, int, int)>, int> lines[] = {{firstLine, 128},
                                                                           {secondLine, 162}};
  for (const auto& [line, y] : lines) {
    // Drawn once on a scratch picture to learn its width, then centred.
    QPixmap scratch(kPictureSize, kPictureSize);
    QPainter measure(&scratch);
    measure.setFont(font);
    const int width = line(measure, 0, y);
    painter.setFont(font);
    line(painter, (kPictureSize - width) / 2, y);
  }
  return pixmap;
}

QPoint TSplashWindow::CentredOrigin(const QSize& screen, const QSize& picture) {
  return {screen.width() / 2 - picture.width() / 2, screen.height() / 2 - picture.height() / 2};
}

std::chrono::milliseconds TSplashWindow::WaitFrom(std::chrono::system_clock::time_point now) {
  using namespace std::chrono;
  const auto start = floor<seconds>(now);
  return ceil<milliseconds>(start + seconds(kWaitSeconds) - now);
}

void TSplashWindow::ShowForStartup() {
  show();
  raise();
  QEventLoop loop;
  QTimer::singleShot(WaitFrom(std::chrono::system_clock::now()), &loop, &QEventLoop::quit);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  hide();
}

void TSplashWindow::Paint(TDC& dc) {
  if (QPainter* painter = dc.Painter()) painter->drawPixmap(0, 0, picture_);
}
