#pragma once
#include <QWidget>
#include <string>

class QTextBrowser;

// Stands in for the platform's help viewer: a window showing an HTML help file from its top.
// A file that cannot be found is reported on a page of the viewer itself.
class THelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit THelpViewer(QWidget* parent = nullptr);

  // Shows fileName (looked up by bare name in the working directory) at its index.
  void Open(const std::string& fileName);
  // Closes the viewer if it shows fileName.
  void Close(const std::string& fileName);

  const std::string& FileName() const { return fileName_; }
  bool FileFound() const { return found_; }
  QTextBrowser* Browser() const { return browser_; }

  // The one viewer of the program, made on first use.
  static THelpViewer& Instance();

 private:
  QTextBrowser* browser_;
  std::string fileName_;
  bool found_ = false;
};

// The help viewer's commands as the program gives them.
inline constexpr int HELP_QUIT = 2;
inline constexpr int HELP_INDEX = 3;
// Sends command (HELP_INDEX or HELP_QUIT) for fileName to the program's help viewer. The
// result says whether the command was carried out.
bool WinHelp(const std::string& fileName, int command);
