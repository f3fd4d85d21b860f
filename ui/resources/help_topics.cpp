#include <array>
#include <utility>

#include "ui/help_topic.h"
#include "ui/resource_name.h"

namespace {

// Dialog template, help anchor.
constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kTopics = {{
    {"601", "types"},
    {"605", "types"},
    {"603", "change"},
    {"606", "result"},
    {"607", "answer"},
    {"608", "edit-substance"},
    {"609", "add-substance"},
    {"610", "new-question"},
    {"SPLITITDIALOG", "dissociate"},
    {"CHANGECHARGE", "charge"},
    {"EDITHEADING", "heading"},
}};

}  // namespace

std::string HelpTopicOf(std::string_view templateName) {
  for (const auto& [name, anchor] : kTopics)
    if (SameResourceName(name, templateName)) return std::string(anchor);
  return {};
}
