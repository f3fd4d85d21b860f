#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "model/answer_record.h"
#include "model/equation.h"
#include "model/reaction.h"

// What a reaction exercises: the coaching that the typical mistakes on it bring, found by
// making each mistake on the stored answer and asking the grader, then the coach's order of
// dialogs, which dialog would open first. Nothing is tagged by hand, so a reaction the teacher
// adds is measured like the starter ones.

// The typical mistakes, each made on one substance of the answer at a time.
enum class TMistake {
  ChargeChanged,   // an ion's charge one off ("Cu+" for "Cu2+")
  WrittenWhole,    // a dissolved ion written in its compound ("AgNO3" for "Ag+")
  SpectatorAdded,  // an ion that takes no part, on both sides
  LeftOut,         // a substance missing
};
inline constexpr int kMistakeCount = 4;

// One mistake made and the coaching it brought.
struct TMistakeMade {
  TMistake mistake = TMistake::ChargeChanged;
  std::string on;      // the substance of the answer it was made on ("Ag+"), or the one added
  std::string answer;  // the mistaken equation, as the results write answers
  TCoachingNote note;
};

struct TExercised {
  std::vector<TMistakeMade> mistakes;

  bool Exercises(TCoachingStep step) const;
  // Whether a mistake brings that coaching about a substance of this formula (charges aside:
  // the student's note names her own, wrong one).
  bool Concerns(TCoachingStep step, std::string_view substance) const;
};

// The first coaching dialog the coach would open for that equation, as TCoach tries them:
// on the reactants, then the products, a wrong charge, a compound to dissociate, a substance
// that does not belong, a missing one. False when the equation is right or no dialog would open.
bool FirstCoaching(const TReaction& reaction, const TEquation& equation, TCoachingNote& note);

TExercised ExercisedBy(const TReaction& reaction);
std::vector<TExercised> ExercisedByAll(const TReactionList& reactions);

// A substance's text without its charge: "Fe3+" and "Fe^3+" read "Fe", "SO4^2-" "SO4".
std::string FormulaOfSubstance(std::string_view substance);
