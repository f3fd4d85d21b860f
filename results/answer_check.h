#pragma once
#include <string>

#include "model/answer_record.h"

// Whether a record could have come from this program: an id and a student, scores from 0 to
// full marks, a known ending, type and coaching step, no negative time, no NUL in a text. Empty
// when it could; else which field could not, for the line that says why an answer was set aside. An
// outbox is a file anyone with the account can change, and the store must not take what it holds on
// trust.
std::string ImpossibleField(const TAnswerRecord& record);
