#pragma once
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "model/reaction.h"

// One finding about a line of the text form: an error stops an import, a warning does not.
struct TBankIssue {
  int line = 0;
  bool error = true;
  std::string text;
};

// What makes a reaction's answer wrong to ask, each as a sentence for the teacher: a formula
// that holds no element (Ca()2CO3, ()2) or is no formula at all, an answer that cannot be keyed
// on the answer dialog's keypad, an equation that cannot be balanced. Empty when the answer is
// sound. The editor warns with these, the tool refuses with them.
std::vector<std::string> AnswerProblems(const TReaction& reaction);

// The answer's problems and those of the rest of the reaction: a type code the quiz never
// asks, a question that is empty or only blanks.
std::vector<std::string> ReactionProblems(const TReaction& reaction);

// Two questions that differ only in letter case or in blanks are the same question.
std::string QuestionKey(std::string_view question);

struct TImportResult {
  TReactionList reactions;
  std::vector<int> lineOfReaction;  // the text line each reaction was read from
  std::vector<TBankIssue> issues;
  bool ok = true;  // no error
};

// Reads the text form. Lines not in the form are errors. The problems above and a repeated
// question are errors too, unless lenient, when they are warnings and the reaction is kept,
// so that any reaction file can make the round trip through text.
TImportResult ImportBank(std::istream& text, bool lenient);

struct TExportResult {
  std::string text;
  std::vector<TBankIssue> issues;  // line: the line of the reaction in text
  bool ok = true;                  // every reaction carried exactly; else no text is given
};

// Writes the text form of a list. A reaction the form cannot carry is an error; one that an
// import would refuse is a warning, so that the teacher learns of it before importing again.
TExportResult ExportBank(const TReactionList& reactions);
