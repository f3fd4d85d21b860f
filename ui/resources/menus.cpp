#include <vector>

#include "ui/accelerator_table.h"
#include "ui/menu_resource.h"
#include "ui/resource_name.h"
#include "ui/resources/command_ids.h"
#include "ui/resources/resource_ids.h"

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
      {MenuId::kQuiz,
       {
           Popup("&Tarvolin", {Item("&Start...\tF3", CommandId::kStart),
                               Item("&Practice...\tF8", CommandId::kPractice),
                               Item("&Assignments...\tF7", CommandId::kAssignments),
                               Item("&Results...\tF5", CommandId::kResults), Separator(),
                               Item("E&xit", CommandId::kExit)}),
           Item("&Edit Reactions", CommandId::kEditReactions),
           Popup("&Help", {Item("&Help Index", CommandId::kHelpIndex),
                           Item("&Using Help", CommandId::kHelpOnHelp)}),
       }},
      // Editor mode.
      {MenuId::kEditor,
       {
           Popup("&Tarvolin", {Item("&Print Quiz", CommandId::kPrintQuiz),
                               Item("&Assign...\tF6", CommandId::kAssign),
                               Item("Assign &Practice...\tF8", CommandId::kPractice),
                               Item("Assi&gnments...\tF7", CommandId::kAssignments), Separator(),
                               Item("E&xit...\tAlt-X", CommandId::kExit)}),
           Popup("&Edit", {Item("&Add...\tInsert", CommandId::kAdd),
                           Item("&Change...\tF4", CommandId::kChange),
                           Item("&Delete...\tDelete", CommandId::kDelete)}),
           Item("&Start Reactions", CommandId::kStartReactions),
           Item("&Display", CommandId::kDisplay),
           Popup("&Help", {Item("Help &Index", CommandId::kHelpIndex),
                           Item("&Using Help", CommandId::kHelpOnHelp)}),
       }},
  };
  return menus;
}

const std::vector<TAcceleratorTable>& AcceleratorTables() {
  static const std::vector<TAcceleratorTable> tables = {
      {AcceleratorsId::kMain,
       {
           {QKeySequence(Qt::ALT | Qt::Key_X), CommandId::kExit},
           {QKeySequence(Qt::Key_F3), CommandId::kStart},
           {QKeySequence(Qt::Key_F8), CommandId::kPractice},
           {QKeySequence(Qt::Key_F5), CommandId::kResults},
           {QKeySequence(Qt::Key_F6), CommandId::kAssign},
           {QKeySequence(Qt::Key_F7), CommandId::kAssignments},
           {QKeySequence(Qt::Key_Insert), CommandId::kAdd},
           {QKeySequence(Qt::Key_F4), CommandId::kChange},
           {QKeySequence(Qt::Key_Delete), CommandId::kDelete},
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
