#pragma once
#include <string>
#include <vector>

#include "model/answer_record.h"
#include "model/assignment.h"

// The order a student gets an assignment's questions in, and where she goes on after she
// stopped. A shuffled order comes from the assignment's id and the student alone, so that she
// finds the same order whenever she continues and on any computer, while her classmates each
// get their own. Places are 0-based indexes into the assignment's reactions.
std::vector<int> AssignmentOrder(const TAssignment& assignment, const std::string& student);

// Her order without the questions she has answered (a Quit answers nothing): the first of them
// is where she continues. An answer names its question by its place in the assignment, from 1.
std::vector<int> QuestionsLeft(const TAssignment& assignment, const std::string& student,
                               const std::vector<TAnswerRecord>& herAnswers);
