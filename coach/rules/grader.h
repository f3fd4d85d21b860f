#pragma once
#include <string>
#include <string_view>

#include "model/comparison_table.h"
#include "model/equation.h"
#include "model/reaction.h"

// Grading compares texts, not chemistry: a student substance is right when its formula text and
// its charge equal those of a stored substance on the same side.
//
// The tables hold five substances a side and nine characters a text. A student side with more
// than five formulas only has its first five written (the rest cannot be graded and are ignored),
// and a longer text is cut to nine characters; nothing is ever written past a field.

// Every row of the correct table from the stored answer: formula texts as stored, charges in
// decimal form ("0" for an empty slot).
void FillCorrectTable(const TReaction& reaction, ComparisonTable& correct);

// Correct table from the stored answer (charges in decimal form); student table cleared, then
// one row per formula in list order (charges as keyed).
void FillTables(const TReaction& reaction, const TEquation& equation, ComparisonTable& correct,
                ComparisonTable& student);

// Writes the equation's formulas into the student table in list order, at most five a side;
// rows beyond the equation's formulas keep what they hold.
void RefillStudentTable(const TEquation& equation, ComparisonTable& student);

// "2-" and "-" become "-2" and "-1"; other texts stay.
std::string NormalizeChargeStepA(std::string_view charge);
// Any keyed or display form to decimal form: "" 0, "+" 1, "3-" -3.
std::string NormalizeChargeStepB(std::string_view charge);
// Step A on all twenty charge fields, then step B on the student's ten.
void NormalizeCharges(ComparisonTable& correct, ComparisonTable& student);

// Normalizes, then clears every matched pair of texts and scores 0..3: all reactants right, at
// least one product right, all products right. What stays non-empty afterwards is what is wrong.
int CompareTables(ComparisonTable& correct, ComparisonTable& student);

// FillTables then CompareTables.
int GradeAnswer(const TReaction& reaction, const TEquation& equation, ComparisonTable& correct,
                ComparisonTable& student);
// How many times GradeAnswer has run in this process: the seam a test counts the gradings of
// one Check by.
long GradingCount();
