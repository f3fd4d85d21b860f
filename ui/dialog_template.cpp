#include "ui/dialog_template.h"

#include "ui/resource_name.h"

const TControlTemplate* TDialogTemplate::FindControl(int id) const {
  for (const TControlTemplate& control : controls)
    if (control.id == id) return &control;
  return nullptr;
}

const TDialogTemplate* FindDialogTemplate(std::string_view name) {
  for (const TDialogTemplate& dialog : DialogTemplates())
    if (SameResourceName(dialog.name, name)) return &dialog;
  return nullptr;
}
