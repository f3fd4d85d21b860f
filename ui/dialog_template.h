#pragma once
#include <string>
#include <string_view>
#include <vector>

// One control of a dialog template; geometry in dialog units.
struct TControlTemplate {
  enum TKind {
    PushButton,
    DefPushButton,
    CheckBox,   // auto check box
    AutoRadio,  // auto radio button
    GroupBox,
    Static,
    ComboDropList,  // drop-down list: pick only, no typing
    Edit,
  };
  // Style flags.
  enum : unsigned {
    TabStop = 1u << 0,
    VScroll = 1u << 1,
    AutoHScroll = 1u << 2,
    Multiline = 1u << 3,
    Border = 1u << 4,
    WordWrap = 1u << 5,
  };

  int id = -1;  // -1: a control nobody looks up (labels, frames)
  TKind kind = Static;
  std::string text;
  int x = 0, y = 0, w = 0, h = 0;
  int glyph = 0;  // bitmap shown on a push button: 20 (check mark), 24 (cross) or 0
  unsigned style = 0;
  int textLimit = 0;  // edit boxes: maximum characters, 0 for none
};

struct TDialogTemplate {
  std::string name;
  std::string caption;
  std::string font;  // empty: the system font
  int pointSize = 8;
  int x = 0, y = 0, w = 0, h = 0;
  std::vector<TControlTemplate> controls;

  const TControlTemplate* FindControl(int id) const;
};

// The dialog template of that name (a TemplateId); case is ignored. Null when unknown.
const TDialogTemplate* FindDialogTemplate(std::string_view name);
// Every template the program carries.
const std::vector<TDialogTemplate>& DialogTemplates();
