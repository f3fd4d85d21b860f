#include <array>
#include <utility>

#include "ui/help_topic.h"
#include "ui/resource_name.h"
#include "ui/resources/resource_ids.h"

namespace {

// Dialog template, help anchor.
constexpr std::array<std::pair<std::string_view, std::string_view>, 15> kTopics = {{
    {TemplateId::kType, "types"},
    {TemplateId::kSelect, "types"},
    {TemplateId::kChange, "change"},
    {TemplateId::kResult, "result"},
    {TemplateId::kAnswer, "answer"},
    {TemplateId::kEditSubstance, "edit-substance"},
    {TemplateId::kAddSubstance, "add-substance"},
    {TemplateId::kNewQuestion, "new-question"},
    {TemplateId::kSplitIt, "dissociate"},
    {TemplateId::kChangeCharge, "charge"},
    {TemplateId::kHeading, "heading"},
    {TemplateId::kAssign, "assign"},
    {TemplateId::kTeacherAssignments, "assign"},
    {TemplateId::kStudentAssignments, "assignments"},
    {TemplateId::kPractice, "practice"},
}};

}  // namespace

std::string HelpTopicOf(std::string_view templateName) {
  for (const auto& [name, anchor] : kTopics)
    if (SameResourceName(name, templateName)) return std::string(anchor);
  return {};
}
