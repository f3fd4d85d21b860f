#pragma once
#include <string>
#include <string_view>
#include <vector>

// A menu as data: popups hold items; a top-level item with an id is a command of its own.
struct TMenuItem {
  std::string text;  // "&" marks the mnemonic; text after a tab is the shortcut shown
  int id = 0;
  bool separator = false;
  std::vector<TMenuItem> popup;  // non-empty for a popup

  bool IsPopup() const { return !popup.empty(); }
};

struct TMenuResource {
  std::string name;
  std::vector<TMenuItem> items;
};

// The menu resource of that name (a MenuId); case is ignored. Null when unknown.
const TMenuResource* FindMenuResource(std::string_view name);
