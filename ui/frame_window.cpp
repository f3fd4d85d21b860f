#include "ui/frame_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStackedWidget>

#include "ui/accelerator_table.h"
#include "ui/help_viewer.h"
#include "ui/menu_resource.h"
#include "ui/window.h"

namespace {

constexpr const char* kCommandProperty = "tarvolinCommand";

}  // namespace

TFrameWindow::TFrameWindow(QWidget* parent, const std::string& caption, TWindow* client)
    : QMainWindow(parent), stack_(new QStackedWidget(this)) {
  setWindowTitle(QString::fromStdString(caption));
  setCentralWidget(stack_);
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help->setContext(Qt::WindowShortcut);
  connect(help, &QShortcut::activated, this, &TFrameWindow::ShowHelp);
  if (client) SetClientWindow(client);
}

void TFrameWindow::ShowHelp() {
  ShowHelpTopic(client_ ? client_->HelpTopic() : std::string(), this);
}

TFrameWindow::~TFrameWindow() = default;

void TFrameWindow::SetClientWindow(TWindow* client) {
  if (client_ && client_ != client) client_->hide();
  client_ = client;
  if (client) {
    if (stack_->indexOf(client) < 0) stack_->addWidget(client);
    stack_->setCurrentWidget(client);
    client->show();
    client->Create();
  }
  UpdateCommandEnabling();
}

bool TFrameWindow::AssignMenu(const std::string& name) {
  const TMenuResource* menu = FindMenuResource(name);
  if (!menu) return false;
  menuName_ = name;
  QMenuBar* bar = menuBar();
  bar->clear();
  commandActions_.clear();
  auto addCommand = [this](auto* owner, const TMenuItem& item) {
    QAction* action = owner->addAction(QString::fromStdString(item.text));
    action->setProperty(kCommandProperty, item.id);
    const int id = item.id;
    connect(action, &QAction::triggered, this, [this, id] {
      if (IsRouteEnabled(id)) RouteCommand(id);
    });
    commandActions_.push_back(action);
  };
  for (const TMenuItem& item : menu->items) {
    if (!item.IsPopup()) {
      addCommand(bar, item);
      continue;
    }
    QMenu* popup = bar->addMenu(QString::fromStdString(item.text));
    for (const TMenuItem& entry : item.popup) {
      if (entry.separator)
        popup->addSeparator();
      else
        addCommand(popup, entry);
    }
    connect(popup, &QMenu::aboutToShow, this, &TFrameWindow::UpdateCommandEnabling);
  }
  UpdateCommandEnabling();
  return true;
}

bool TFrameWindow::LoadAccelerators(const std::string& name) {
  const TAcceleratorTable* table = FindAcceleratorTable(name);
  if (!table) return false;
  for (QShortcut* shortcut : shortcuts_) delete shortcut;
  shortcuts_.clear();
  for (const TAccelerator& accelerator : table->entries) {
    auto* shortcut = new QShortcut(accelerator.keys, this);
    // Only while this window is the active one: not from the help viewer, and not from under
    // a dialog, which blocks its owner's keys.
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setProperty(kCommandProperty, accelerator.id);
    const int id = accelerator.id;
    connect(shortcut, &QShortcut::activated, this, [this, id] {
      if (IsRouteEnabled(id)) RouteCommand(id);
    });
    shortcuts_.push_back(shortcut);
  }
  return true;
}

bool TFrameWindow::RouteCommand(int id) {
  if (Dispatch(id)) return true;
  return client_ && client_->Dispatch(id);
}

bool TFrameWindow::IsRouteEnabled(int id) const {
  if (Handles(id)) return IsCommandEnabled(id);
  return client_ && client_->Handles(id) && client_->IsCommandEnabled(id);
}

void TFrameWindow::UpdateCommandEnabling() {
  for (QAction* action : commandActions_)
    action->setEnabled(IsRouteEnabled(action->property(kCommandProperty).toInt()));
}

QAction* TFrameWindow::MenuAction(int id) const {
  for (QAction* action : commandActions_)
    if (action->property(kCommandProperty).toInt() == id) return action;
  return nullptr;
}

void TFrameWindow::Create() {
  if (setUp_) return;
  setUp_ = true;
  SetupWindow();
}

void TFrameWindow::showEvent(QShowEvent* event) {
  Create();
  QMainWindow::showEvent(event);
}

void TFrameWindow::closeEvent(QCloseEvent* event) {
  if (CanClose())
    event->accept();
  else
    event->ignore();
}
