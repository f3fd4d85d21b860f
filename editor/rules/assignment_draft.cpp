#include "editor/rules/assignment_draft.h"

#include <cctype>

#include "model/reaction_file.h"

namespace {

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

// Whether the text has the shape UtcIso writes: what the stores and the students' lists compare.
bool IsUtcIso(const std::string& text) {
  static constexpr const char* kShape = "dddd-dd-ddTdd:dd:ddZ";
  if (text.size() != 20) return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (kShape[i] == 'd' ? !std::isdigit(static_cast<unsigned char>(text[i]))
                         : text[i] != kShape[i])
      return false;
  return true;
}

}  // namespace

std::string AsSentence(std::string text) {
  if (!text.empty() && text.back() != '.' && text.back() != '?' && text.back() != '!') text += '.';
  return text;
}

std::string UtcIso(std::time_t time) {
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string DefaultDue(std::time_t now) {
  std::tm local{};
  localtime_r(&now, &local);
  local.tm_mday += 1;
  local.tm_hour = 8;
  local.tm_min = 0;
  local.tm_sec = 0;
  // Whether summer time holds tomorrow morning is for mktime to find out.
  local.tm_isdst = -1;
  return UtcIso(std::mktime(&local));
}

std::string DraftProblem(const TAssignmentDraft& draft) {
  if (Trimmed(draft.title).empty())
    return "The assignment has no title. Type one your students will know it by, such as "
           "\"Precipitation, homework 3\".";
  if (!IsUtcIso(draft.due)) return "The due date cannot be read. Choose a date and a time.";
  return {};
}

TAssignment MakeAssignment(const std::vector<const TReaction*>& ticked,
                           const TAssignmentDraft& draft, const std::string& teacher,
                           const std::string& id, std::time_t now) {
  TAssignment assignment;
  assignment.id = id;
  assignment.title = Trimmed(draft.title);
  assignment.due = draft.due;
  assignment.assignedAt = UtcIso(now);
  assignment.teacher = teacher;
  assignment.shuffled = draft.shuffled;
  assignment.practiceCount = draft.practiceCount;
  for (const TReaction* reaction : ticked) {
    TAssignedReaction given;
    given.question = reaction->QuestionText();
    given.type = reaction->type;
    given.record.resize(kReactionRecordSize);
    EncodeReaction(*reaction, given.record.data());
    assignment.reactions.push_back(std::move(given));
  }
  return assignment;
}
