#pragma once
#include <QWidget>
#include <string>

class QTextBrowser;

// Stands in for the platform's help viewer: a window of its own showing an HTML help file at
// its index or at a named anchor. It opens beside the window it was asked from, and no dialog
// blocks it, so that help can be read while a dialog waits. Escape closes it. A file that
// cannot be found is reported on a page of the viewer itself.
class THelpViewer : public QWidget {
  Q_OBJECT

 public:
  explicit THelpViewer(QWidget* parent = nullptr);

  // Shows fileName (looked up by bare name in the working directory) at the anchor named
  // topic, or at its index when the file has no such anchor. owner is the window help was
  // asked from; a viewer not shown yet is placed beside its main window.
  void Open(const std::string& fileName, const std::string& topic = "index",
            QWidget* owner = nullptr);
  // Closes the viewer if it shows fileName.
  void Close(const std::string& fileName);

  const std::string& FileName() const { return fileName_; }
  bool FileFound() const { return found_; }
  // The anchor shown last: the topic asked for, or "index" when the file has none such.
  const std::string& Topic() const { return topic_; }
  QTextBrowser* Browser() const { return browser_; }

  // Where a viewer of size size goes beside main on a screen with that available area: right
  // of it, else left of it, else against the screen's roomier edge; its top level with main's.
  static QPoint PlaceBeside(const QRect& main, const QSize& size, const QRect& screen);

  // The one viewer of the program, made on first use.
  static THelpViewer& Instance();

 private:
  // Beside main, fully on its screen, never over its title or menu bar; shorter if need be.
  void PlaceBesideMain(const QWidget& main);
  void ShowTopic(const std::string& topic);

  QTextBrowser* browser_;
  std::string fileName_;
  std::string topic_;
  bool found_ = false;
};

// The help viewer's commands as the program gives them.
inline constexpr int HELP_CONTEXT = 1;
inline constexpr int HELP_QUIT = 2;
inline constexpr int HELP_INDEX = 3;
// Sends command for fileName to the program's help viewer: HELP_INDEX shows the index,
// HELP_CONTEXT the anchor named topic, HELP_QUIT closes the file. owner is the window asking.
// The result says whether the command was carried out.
bool WinHelp(const std::string& fileName, int command, const std::string& topic = {},
             QWidget* owner = nullptr);

// F1: the program's help file at topic (its index when topic is empty or unknown).
void ShowHelpTopic(const std::string& topic, QWidget* owner);
