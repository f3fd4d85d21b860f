#include <QApplication>
#include <cstring>
#include <iostream>

#include "quiz/my_app.h"
#include "tarvolin_version.h"

int main(int argc, char* argv[]) {
  // Answered before Qt starts, so that it works without a display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << "tarvolin " << kTarvolinVersion << "\n";
    return 0;
  }
  QApplication qtApplication(argc, argv);
  TMyApp app;
  return app.Run();
}
