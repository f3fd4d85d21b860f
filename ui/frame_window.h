#pragma once
#include <QMainWindow>
#include <string>
#include <vector>

#include "ui/command_target.h"

class QAction;
class QMenu;
class QShortcut;
class QStackedWidget;
class TWindow;

// The main window: caption, icon, menu bar from a menu resource, accelerators and one client
// view at a time. Commands from menus and accelerators go to the frame's own table first, then
// to the current client; a command neither handles does nothing, and its menu item is grey.
class TFrameWindow : public QMainWindow, public TCommandTarget {
  Q_OBJECT

 public:
  explicit TFrameWindow(QWidget* parent, const std::string& caption, TWindow* client = nullptr);
  ~TFrameWindow() override;

  // Makes client the view shown in the frame. The previous client is kept (owned by the
  // frame) and hidden; switching back shows it again.
  void SetClientWindow(TWindow* client);
  TWindow* ClientWindow() const { return client_; }

  // Replaces the menu bar with the menu resource of that name; false when unknown.
  bool AssignMenu(const std::string& name);
  const std::string& MenuName() const { return menuName_; }
  // Makes the accelerator table of that name active in this frame; false when unknown.
  bool LoadAccelerators(const std::string& name);

  // The frame, then the client.
  bool RouteCommand(int id);
  bool IsRouteEnabled(int id) const;
  // Greys the menu items whose command is not available now.
  void UpdateCommandEnabling();
  // The menu action of a command, null when the menu has none.
  QAction* MenuAction(int id) const;

  // Runs SetupWindow once; called when the frame is first shown.
  void Create();

  // F1: the help page the client names, or the help index.
  void ShowHelp();

 protected:
  virtual void SetupWindow() {}
  // Asked before the window closes through its close box; false keeps it open.
  virtual bool CanClose() { return true; }

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QStackedWidget* stack_;
  TWindow* client_ = nullptr;
  std::string menuName_;
  std::vector<QAction*> commandActions_;
  std::vector<QShortcut*> shortcuts_;
  bool setUp_ = false;
};
