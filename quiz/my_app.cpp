#include "quiz/my_app.h"

#include <memory>

#include "quiz/frame.h"
#include "quiz/splash_window.h"
#include "ui/resources/resource_ids.h"

TMyApp::TMyApp() : TApplication("Tarvolin") {}

void TMyApp::InitMainWindow() {
  // The splash goes before the main window is built, so that a message about the reaction
  // file is never hidden behind it.
  {
    TSplashWindow splash;
    splash.ShowForStartup();
  }
  auto* frame = new TFrame;
  frame->setWindowIcon(TFrame::Icon());
  SetMainWindow(frame);
  frame->LoadAccelerators(AcceleratorsId::kMain);
}
