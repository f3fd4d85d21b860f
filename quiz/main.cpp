#include <QApplication>

#include "quiz/my_app.h"

int main(int argc, char* argv[]) {
  QApplication qtApplication(argc, argv);
  TMyApp app;
  return app.Run();
}
