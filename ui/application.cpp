#include "ui/application.h"

#include <QApplication>
#include <utility>

#include "ui/frame_window.h"

TApplication::TApplication(std::string name) : name_(std::move(name)) {
  QApplication::setApplicationName(QString::fromStdString(name_));
}

TApplication::~TApplication() = default;

void TApplication::SetMainWindow(TFrameWindow* window) {
  mainWindow_.reset(window);
}

int TApplication::Run() {
  if (!mainWindow_) InitMainWindow();
  if (mainWindow_) mainWindow_->show();
  return QApplication::exec();
}

void TApplication::QuitWithCode(int code) {
  QCoreApplication::exit(code);
}
