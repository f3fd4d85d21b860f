#pragma once
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <chrono>

#include "ui/window.h"

// The start-up picture (bitmap 710: the program's name and a sample equation), shown centred in
// a frameless window of its own while the program starts.
class TSplashWindow : public TWindow {
  Q_OBJECT

 public:
  static constexpr int kPictureSize = 200;
  static constexpr int kWaitSeconds = 3;

  TSplashWindow();

  static QPixmap Picture();
  // Top-left corner of a picture centred on a screen, in integer halves.
  static QPoint CentredOrigin(const QSize& screen, const QSize& picture);
  // How long to wait from now until the clock, read in whole seconds, shows kWaitSeconds more
  // than it does now: between two and three seconds.
  static std::chrono::milliseconds WaitFrom(std::chrono::system_clock::time_point now);

  // Shows the picture and waits, handling events meanwhile so the desktop keeps painting, then
  // hides it again.
  void ShowForStartup();

 protected:
  void Paint(TDC& dc) override;

 private:
  QPixmap picture_;
};
