#pragma once
#include <memory>
#include <string>

class TFrameWindow;

// The application object: its name, its main window and the message loop. The QApplication
// itself is made by main() before this object.
class TApplication {
 public:
  explicit TApplication(std::string name);
  virtual ~TApplication();

  const std::string& Name() const { return name_; }

  // Takes ownership of the main window.
  void SetMainWindow(TFrameWindow* window);
  TFrameWindow* MainWindow() const { return mainWindow_.get(); }

  // Builds the main window (InitMainWindow, unless one is set already), shows it and runs the
  // message loop until QuitWithCode or the last window closes; returns the exit code.
  int Run();
  // Ends the message loop with that exit code.
  static void QuitWithCode(int code);

 protected:
  virtual void InitMainWindow() {}

 private:
  std::string name_;
  std::unique_ptr<TFrameWindow> mainWindow_;
};
