#pragma once

// The names the dialog templates, menus and accelerator tables are declared under
// (dialog_templates.cpp, menus.cpp) and looked up by: every lookup names one of these, so a
// name is written once, here.
namespace TemplateId {
inline constexpr const char* kType = "601";           // a reaction's type (the editor)
inline constexpr const char* kChange = "603";         // the number of the reaction to change
inline constexpr const char* kSelect = "605";         // the types a quiz run asks
inline constexpr const char* kResult = "606";         // a wrong answer beside the stored one
inline constexpr const char* kAnswer = "607";         // the student's answer to one question
inline constexpr const char* kEditSubstance = "608";  // coaching: a substance that does not belong
inline constexpr const char* kAddSubstance = "609";   // coaching: a substance that is missing
inline constexpr const char* kNewQuestion = "610";    // the teacher's question and answer
inline constexpr const char* kSplitIt = "SPLITITDIALOG";      // coaching: dissociation
inline constexpr const char* kChangeCharge = "CHANGECHARGE";  // coaching: an oxidation number
inline constexpr const char* kHeading = "EDITHEADING";        // the printed quiz's heading
inline constexpr const char* kAssign = "ASSIGN";  // the teacher gives the ticked reactions
inline constexpr const char* kTeacherAssignments = "YOURASSIGNMENTS";  // hers, to change
inline constexpr const char* kStudentAssignments = "ASSIGNMENTS";      // hers, to answer
inline constexpr const char* kPractice = "PRACTICE";  // why these questions, and how many
}  // namespace TemplateId

namespace MenuId {
inline constexpr const char* kQuiz = "2";         // quiz mode
inline constexpr const char* kEditor = "MENU_1";  // editor mode
}  // namespace MenuId

namespace AcceleratorsId {
inline constexpr const char* kMain = "ACCELERATORS_1";  // the main window's keys, in both modes
}  // namespace AcceleratorsId
