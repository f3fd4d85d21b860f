#pragma once
#include <cstdio>
#include <memory>
#include <string>

#include "model/answer_record.h"
#include "model/reaction_file.h"

// Four questions with one answer, Ag+ + Cl- -> AgCl, as the working folder's reaction file.
inline bool WriteSilverReactions() {
  TReactionList reactions;
  for (const char* question : {"Silver one.", "Silver two.", "Silver three.", "Silver four."}) {
    auto reaction = std::make_unique<TReaction>(question, Precipitation);
    reaction->reactants[0] = {"Ag", 1};
    reaction->reactants[1] = {"Cl", -1};
    reaction->products[0] = {"AgCl", 0};
    reactions.push_back(std::move(reaction));
  }
  return WriteReactionFile(reactions);
}

// Answers made up for tests and measurements: every field filled, varied by n, each with the
// scores this program's grader gives its equations.
inline TAnswerRecord SampleAnswer(int n, const std::string& student = "Ada Lovelace",
                                  const std::string& prefix = "a") {
  char time[32];
  std::snprintf(time, sizeof time, "2026-11-%02dT%02d:%02d:%02dZ", 1 + n / 86400 % 28,
                n / 3600 % 24, n / 60 % 60, n % 60);
  TAnswerRecord r;
  r.answerId = prefix + "-" + student + "-" + std::to_string(n);
  r.runId = prefix + "-run-" + student + "-" + std::to_string(n / 10);
  r.runStarted = time;
  r.answeredAt = time;
  r.student = student;
  r.login = "ada";
  r.types = "Precipitation, Redox";
  r.questionNumber = 1 + n % 40;
  r.question = "Question " + std::to_string(n % 40) + ": silver nitrate, sodium chloride";
  r.questionType = n % 5;
  r.storedAnswer = "Ag+ + Cl- -> AgCl";
  static const TEnding endings[] = {TEnding::RightAtOnce, TEnding::RightAfterCoaching,
                                    TEnding::Answer, TEnding::RightAtOnce, TEnding::Quit};
  r.ending = endings[n % 5];
  r.firstAnswer = r.ending == TEnding::RightAtOnce ? r.storedAnswer : "AgNO3 + NaCl -> AgCl";
  r.firstScore = r.ending == TEnding::RightAtOnce ? 3 : 2;
  r.finalAnswer = r.ending == TEnding::Answer ? "Ag+ + NaCl -> AgCl + NaNO3" : r.storedAnswer;
  r.finalScore = r.ending == TEnding::Answer ? 1 : 3;
  if (r.ending == TEnding::Quit) r.firstScore = r.finalScore = 0;
  if (r.ending == TEnding::RightAfterCoaching || r.ending == TEnding::Answer)
    r.coaching = {{TCoachingStep::Dissociation, "AgNO3"}, {TCoachingStep::WrongSubstance, "NaCl"}};
  r.seconds = 5 + n % 50;
  if (n % 4 == 3) r.assignmentId = prefix + "-homework-" + std::to_string(n % 7);
  r.practice = n % 4 == 2;
  return r;
}
