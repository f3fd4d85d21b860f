#include <vector>

#include "ui/accelerator_table.h"
#include "ui/menu_resource.h"
#include "ui/resource_name.h"

namespace {

TMenuItem Item(const char* text, int id) {
  return {text, id, false, {}};
}
TMenuItem Separator() {
  return {"", 0, true, {}};
}
TMenuItem Popup(const char* text, std::vector<TMenuItem> items) {
  return {text, 0, false, std::move(items)};
}

const std::vector<TMenuResource>& Menus() {
  static const std::vector<TMenuResource> menus = {
      // Quiz mode.
      {"2",
       {
           Popup("&Tarvolin", {Item("&Start...\tF3", 301), Item("&Results...\tF5", 302),
                               Separator(), Item("E&xit", 24340)}),
           Item("&Edit Reactions", 401),
           Popup("&Help", {Item("&Help Index", 901), Item("&Using Help", 902)}),
       }},
      // Editor mode.
      {"MENU_1",
       {
           Popup("&Tarvolin",
                 {Item("&Print Quiz", 155), Separator(), Item("E&xit...\tAlt-X", 24340)}),
           Popup("&Edit", {Item("&Add...\tInsert", 201), Item("&Change...\tF4", 202),
                           Item("&Delete...\tDelete", 203)}),
           Item("&Start Reactions", 501),
           Item("&Display", 502),
           Popup("&Help", {Item("Help &Index", 901), Item("&Using Help", 902)}),
       }},
  };
  return menus;
}

const std::vector<TAcceleratorTable>& AcceleratorTables() {
  static const std::vector<TAcceleratorTable> tables = {
      {"ACCELERATORS_1",
       {
           {QKeySequence(Qt::ALT | Qt::Key_X), 24340},
           {QKeySequence(Qt::Key_F3), 301},
           {QKeySequence(Qt::Key_F5), 302},
           {QKeySequence(Qt::Key_Insert), 201},
           {QKeySequence(Qt::Key_F4), 202},
           {QKeySequence(Qt::Key_Delete), 203},
       }},
  };
  return tables;
}

}  // namespace

const TMenuResource* FindMenuResource(std::string_view name) {
  for (const TMenuResource& menu : Menus())
    if (SameResourceName(menu.name, name)) return &menu;
  return nullptr;
}

const TAcceleratorTable* FindAcceleratorTable(std::string_view name) {
  for (const TAcceleratorTable& table : AcceleratorTables())
    if (SameResourceName(table.name, name)) return &table;
  return nullptr;
}
