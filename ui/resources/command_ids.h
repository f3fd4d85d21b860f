#pragma once

// The program's menu and accelerator commands: the menus and accelerator tables beside this
// file send them, and the views that handle them bind them by these names.
namespace CommandId {
inline constexpr int kPrintQuiz = 155;
inline constexpr int kAdd = 201;
inline constexpr int kChange = 202;
inline constexpr int kDelete = 203;
inline constexpr int kStart = 301;
inline constexpr int kResults = 302;
// The student's practice in quiz mode; in editor mode, assigning practice to the class.
inline constexpr int kPractice = 305;
// The student's list in quiz mode, the teacher's in editor mode.
inline constexpr int kAssignments = 303;
inline constexpr int kAssign = 304;
inline constexpr int kEditReactions = 401;
inline constexpr int kStartReactions = 501;
inline constexpr int kDisplay = 502;
inline constexpr int kHelpIndex = 901;
inline constexpr int kHelpOnHelp = 902;
inline constexpr int kExit = 24340;
}  // namespace CommandId
