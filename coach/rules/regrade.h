#pragma once
#include <cstdint>
#include <string_view>

#include "model/answer_record.h"

// Whether this program could have given a kept answer its scores, from the answer's texts
// alone (the text forms of model/answer_text.h): the stored answer is typed back into the
// answer dialog's keypad and becomes the reaction, and the first and final answers, typed back
// too, are graded against it as the answer dialog grades them. A class server takes rows from
// any client with a student's login; this is how the teacher's side tells the program's own.
//
// How each ending comes about: "right" is 3 at the first Check and at the end; "right after
// coaching" less than 3 first and 3 at the end; "answer shown" less than 3 both times; a Quit
// keeps 0 and 0 and is never graded. A text that cannot be typed back cannot be confirmed.
bool ScoresGivenByTarvolin(std::string_view storedAnswer, std::string_view firstAnswer,
                           std::string_view finalAnswer, TEnding ending, int32_t firstScore,
                           int32_t finalScore);
